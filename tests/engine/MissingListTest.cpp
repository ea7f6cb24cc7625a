// A build whose data lacks the 7-letter list.
#include <gtest/gtest.h>

#include "FakeSurface.h"
#include "SearchCommand.h"
#include "WordList.h"

namespace lexigrove {
namespace {

using testing::FakeSurface;

TEST(MissingList, EverySearchFindsNothingInIt) {
    EXPECT_TRUE(LoadWordList(7).empty());
    EXPECT_EQ(LoadWordList(6).size(), 15232u);

    // Wild runs its progress bar over no entries: 0 of 0, not below the
    // bar's minimum, and no error.
    WordListCache cache;
    FakeSurface surface(
        "??????"
        "?");
    surface.lines = {"before"};
    bFindClick(surface, cache, kWild);
    EXPECT_TRUE(surface.messages.empty());
    EXPECT_EQ(surface.progress.Maximum(), 0);
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
