// A build whose data lacks the 7-letter list.
#include <gtest/gtest.h>

#include "FakeSurface.h"
#include "SearchCommand.h"
#include "WordList.h"

namespace lexigrove {
namespace {

using testing::FakeSurface;

TEST(MissingList, WildFailsAtTheProgressBarAndTheOthersFindNothing) {
    EXPECT_TRUE(LoadWordList(7).empty());
    EXPECT_EQ(LoadWordList(6).size(), 15232u);

    WordListCache cache;
    FakeSurface surface(
        "??????"
        "?");
    surface.lines = {"before"};
    try {
        bFindClick(surface, cache, kWild);
        FAIL() << "Wild over an empty list went through";
    } catch (const PropertyOutOfRange& e) {
        EXPECT_STREQ(e.what(), "TProgressBar property out of range");
    }
    EXPECT_TRUE(surface.buttonsEnabled);
    EXPECT_EQ(surface.updateDepth, 0);
    EXPECT_EQ(surface.lines, (std::vector<std::string>{"before", "-----------------------------"}));

    surface.lines.clear();
    bFindClick(surface, cache, kExact);
    EXPECT_EQ(surface.lines, std::vector<std::string>{"??????? - Not Found"});

    surface.text = "abcdefg";
    surface.CheckAll();
    surface.lines.clear();
    bFindClick(surface, cache, kUnscramble);
    EXPECT_FALSE(surface.lines.empty());
    for (const std::string& w : surface.lines) EXPECT_NE(w.size(), 7u) << w;
    ASSERT_NE(cache.Peek(7), nullptr);
    EXPECT_TRUE(cache.Peek(7)->empty());  // cached empty, not loaded again
}

}  // namespace
}  // namespace lexigrove
