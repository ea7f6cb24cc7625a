#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Ascii.h"
#include "Exact.h"
#include "FakeSurface.h"
#include "SearchCommand.h"
#include "Unscramble.h"
#include "Wild.h"
#include "WordList.h"

namespace lexigrove {
namespace {

using testing::FakeSurface;
using Strings = std::vector<std::string>;

Strings Search(const std::string& text, int mode, std::initializer_list<int> lengths = {}) {
    FakeSurface surface(text);
    for (int length : lengths) surface.options[static_cast<std::size_t>(OptionForWordLength(length))] = true;
    WordListCache cache;
    bFindClick(surface, cache, mode);
    return surface.lines;
}

Strings AllLengths(const std::string& text) {
    return Search(text, kUnscramble, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
}

TEST(Primitives, FindCharFrom) {
    EXPECT_EQ(FindCharFrom("banana", 'a', 1), 2);
    EXPECT_EQ(FindCharFrom("banana", 'a', 3), 4);
    EXPECT_EQ(FindCharFrom("banana", 'b', 2), 0);
    EXPECT_EQ(FindCharFrom("banana", 'a', 6), 6);
    EXPECT_EQ(FindCharFrom("banana", 'a', 7), 0);
    EXPECT_EQ(FindCharFrom("banana", 'a', 0), 0);
    EXPECT_EQ(FindCharFrom("", 'a', 1), 0);
    EXPECT_EQ(FindCharFrom(std::string_view("a\0b", 3), '\0', 1), 2);
}

TEST(Primitives, FindPatternFrom) {
    EXPECT_EQ(FindPatternFrom("cat", "c?t", 1), 1);
    EXPECT_EQ(FindPatternFrom("scatter", "?at", 1), 2);
    EXPECT_EQ(FindPatternFrom("scatter", "t?r", 1), 5);
    EXPECT_EQ(FindPatternFrom("scatter", "at", 3), 3);
    EXPECT_EQ(FindPatternFrom("scatter", "at", 4), 0);
    EXPECT_EQ(FindPatternFrom("cat", "cats", 1), 0);
    EXPECT_EQ(FindPatternFrom("cat", "", 1), 0);
    EXPECT_EQ(FindPatternFrom("", "?", 1), 0);
    EXPECT_EQ(FindPatternFrom("cat", "?", 0), 0);
    EXPECT_EQ(FindPatternFrom("cat", "?", 4), 0);
    EXPECT_EQ(FindPatternFrom("cat", "t", 3), 3);
    EXPECT_EQ(FindPatternFrom("c?t", "???", 1), 1);
    EXPECT_EQ(FindPatternFrom("cat", "C?T", 1), 0);  // bytes compare exactly
}

// Long patterns in long words, as a word file's lines may be, where the
// search works through blocks of the word: every first match as trying each
// place in turn finds it.
TEST(Primitives, LongPatternsInLongWords) {
    const auto firstMatch = [](std::string_view s, std::string_view p, std::size_t start) -> std::size_t {
        for (std::size_t i = start - 1; i + p.size() <= s.size(); ++i)
            if (std::equal(p.begin(), p.end(), s.begin() + static_cast<std::ptrdiff_t>(i),
                           [](char wanted, char byte) { return wanted == '?' || wanted == byte; }))
                return i + 1;
        return 0;
    };
    std::mt19937 random(18);
    for (int round = 0; round < 12; ++round) {
        std::string word(30000, 'a');
        for (char& c : word) c = "ab"[random() % 2];
        if (round % 3 == 0) word[random() % word.size()] = '\xff';  // a byte the pattern lacks
        const std::size_t length = 2000 + random() % 2000;
        const std::size_t from = random() % (word.size() - length);
        std::string pattern = word.substr(from, length);
        for (char& c : pattern)
            if (random() % 3 == 0) c = '?';
        if (round % 4 == 1) pattern[random() % length] = 'z';                    // matches nowhere
        if (round % 4 == 2) pattern.back() = pattern.back() == 'a' ? 'b' : 'a';  // maybe elsewhere
        const std::size_t later = 1 + random() % (from + 1);
        for (const std::size_t start : {std::size_t{1}, later})
            EXPECT_EQ(FindPatternFrom(word, pattern, start), firstMatch(word, pattern, start))
                << "round " << round << ", start " << start;
        // A pattern longer than a million characters is taken in pieces.
        EXPECT_EQ(FindPatternInPieces(word, pattern, later, 1500), firstMatch(word, pattern, later))
            << "round " << round << ", in pieces";
    }
}

// One match, at the edges of the blocks: for a pattern of 2,000 bytes,
// blocks of 4,096 bytes of the word, each trying the 2,097 places that
// start in it.
TEST(Primitives, LongPatternsAtTheEdgesOfBlocks) {
    const std::string pattern = "b" + std::string(1998, '?') + "b";
    const std::size_t step = 4096 - pattern.size() + 1;
    for (const std::size_t start : {std::size_t{1}, std::size_t{700}}) {
        for (const std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{5}}) {
            for (const std::size_t place : {block * step - 1, block * step}) {
                std::string word(20000, 'a');
                const std::size_t at = start - 1 + place;
                word[at] = word[at + pattern.size() - 1] = 'b';
                EXPECT_EQ(FindPatternFrom(word, pattern, start), at + 1) << "start " << start << ", place " << place;
            }
        }
    }
    std::string word(20000, 'a');
    word[word.size() - pattern.size()] = word.back() = 'b';
    EXPECT_EQ(FindPatternFrom(word, pattern, 1), word.size() - pattern.size() + 1);
}

// Positions past 2 GiB: a long run of zero bytes that the system maps
// without using memory for it, with a 'b' at its end.
TEST(Primitives, PositionsPastTwoGibibytes) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "reading 2 GiB under AddressSanitizer takes minutes";
#else
    const std::size_t size = (std::size_t{1} << 31) + 4096;
    void* const mapped =
        mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    char* const bytes = static_cast<char*>(mapped);
    const std::size_t at = size - 10;
    bytes[at] = 'b';
    const std::string_view s(bytes, size);
    EXPECT_EQ(FindPatternFrom(s, "b", 1), at + 1);
    EXPECT_EQ(FindPatternFrom(s, "?b", at), at);
    EXPECT_EQ(FindCharFrom(s, 'b', 1), at + 1);
    munmap(mapped, size);
#endif
}

TEST(Command, EmptyTextShowsTheMessageAndChangesNothing) {
    FakeSurface surface("");
    surface.lines = {"kept"};
    surface.progress.SetPosition(40);
    surface.clearBeforeFind = true;
    WordListCache cache;
    for (int mode : {1, 2, 3, 0}) bFindClick(surface, cache, mode);
    EXPECT_EQ(surface.messages, Strings(4, "No letters entered!"));
    EXPECT_EQ(surface.lines, Strings{"kept"});
    EXPECT_EQ(surface.ProgressPosition(), 40);
    EXPECT_EQ(surface.positionSets, 0);
    EXPECT_TRUE(surface.buttonsEnabled);
    EXPECT_EQ(cache.Peek(2), nullptr);
}

TEST(Command, SeparatorGoesBetweenSearchesOnly) {
    FakeSurface surface("qzx");
    WordListCache cache;
    bFindClick(surface, cache, kExact);
    EXPECT_EQ(surface.lines, Strings{"qzx - Not Found"});
    bFindClick(surface, cache, kUnscramble);  // finds nothing, no length ticked
    EXPECT_EQ(surface.lines, (Strings{"qzx - Not Found", "-----------------------------"}));
    surface.clearBeforeFind = true;
    surface.text = "zyzzyva";
    bFindClick(surface, cache, kExact);
    EXPECT_EQ(surface.lines, Strings{"zyzzyva - Found"});
}

TEST(Command, StepsRunInOrderAndButtonsComeBack) {
    FakeSurface surface("TcA");
    surface.lines = {"typed by the user"};
    surface.options[1] = true;
    WordListCache cache;
    bFindClick(surface, cache, kUnscramble);
    EXPECT_EQ(surface.calls, (Strings{"buttons off", "write tca", "max 1", "begin", "end", "scroll", "buttons on"}));
    EXPECT_EQ(surface.lines, (Strings{"typed by the user", "-----------------------------", "act", "cat"}));
    EXPECT_EQ(surface.text, "tca");
    EXPECT_EQ(surface.updateDepth, 0);
}

TEST(Command, LowercasesOnlyAsciiCapitalsAndWritesOnlyOnChange) {
    FakeSurface surface(
        "\xc3\x89T\xe9"
        "A Z@[`{");
    WordListCache cache;
    bFindClick(surface, cache, 0);
    EXPECT_EQ(surface.text,
              "\xc3\x89t\xe9"
              "a z@[`{");
    FakeSurface lower("cat");
    bFindClick(lower, cache, 0);
    EXPECT_TRUE(std::none_of(lower.calls.begin(), lower.calls.end(),
                             [](const std::string& c) { return c.rfind("write", 0) == 0; }));
    std::string mixed = "ABCXYZ abcxyz 09?@[`{";
    ascii::Lowercase(mixed);
    EXPECT_EQ(mixed, "abcxyz abcxyz 09?@[`{");
}

TEST(Command, UnscrambleProgressCountsCheckedOptions) {
    FakeSurface none("abcdefg");
    WordListCache cache;
    bFindClick(none, cache, kUnscramble);
    EXPECT_EQ(none.progress.Maximum(), 0);
    EXPECT_EQ(none.ProgressPosition(), 0);
    EXPECT_TRUE(none.lines.empty());

    FakeSurface two("ab");
    two.CheckAll();
    bFindClick(two, cache, kUnscramble);
    EXPECT_EQ(two.progress.Maximum(), 14);
    EXPECT_EQ(two.ProgressPosition(), 14);
    EXPECT_EQ(two.positionSets, 15);  // reset, then once per option
    EXPECT_EQ(two.lines, (Strings{"ab", "ba"}));
    EXPECT_NE(cache.Peek(2), nullptr);
    EXPECT_EQ(cache.Peek(3), nullptr);  // longer than the text: never loaded

    FakeSurface one("ab");
    one.options[5] = true;  // 7 letters: ticked but longer than the text
    bFindClick(one, cache, kUnscramble);
    EXPECT_EQ(one.progress.Maximum(), 1);
    EXPECT_EQ(one.positionSets, 15);  // every option advances the bar, ticked or not

    FakeSurface disabled("ab");
    disabled.CheckAll();
    disabled.optionsEnabled = false;
    bFindClick(disabled, cache, kUnscramble);
    EXPECT_EQ(disabled.progress.Maximum(), 0);
    EXPECT_EQ(disabled.lines, (Strings{"ab", "ba"}));  // options are still read one by one
}

TEST(Command, FourteenLettersNeverReachTheLongList) {
    FakeSurface surface("??????????????");
    surface.options[13] = true;
    WordListCache cache;
    bFindClick(surface, cache, kUnscramble);
    EXPECT_TRUE(surface.lines.empty());
    EXPECT_EQ(cache.Peek(15), nullptr);
}

TEST(Unscramble, KnownResults) {
    EXPECT_EQ(AllLengths("tca"), (Strings{"at", "ta", "act", "cat"}));
    EXPECT_EQ(AllLengths("CAT"), AllLengths("cat"));
    const Strings aq = Search("a?", kUnscramble, {2});
    EXPECT_EQ(aq.size(), 26u);
    EXPECT_EQ(aq.front(), "aa");
    EXPECT_EQ(aq.back(), "ya");
    EXPECT_EQ(Search("?a", kUnscramble, {2}),
              (Strings{"aa", "ba", "fa", "ha", "ka", "la", "ma", "na", "pa", "ta", "ya"}));
    EXPECT_EQ(Search("??", kUnscramble, {2}).size(), 96u);
    const Strings ab = Search("ab?", kUnscramble, {2, 3});
    ASSERT_EQ(ab.size(), 60u);
    EXPECT_EQ(ab[29], "ya");
    EXPECT_EQ((Strings{ab.begin() + 30, ab.begin() + 37}), (Strings{"aba", "abo", "abs", "aby", "alb", "arb", "baa"}));
    EXPECT_EQ(ab.back(), "wab");
    const Strings qab = Search("?ab", kUnscramble, {2, 3});
    ASSERT_EQ(qab.size(), 23u);
    EXPECT_EQ((Strings{qab.begin() + 12, qab.end()}),
              (Strings{"aba", "cab", "dab", "gab", "jab", "kab", "lab", "nab", "sab", "tab", "wab"}));
    EXPECT_TRUE(AllLengths("a").empty());
    EXPECT_EQ(Search(std::string(15, '?'), kUnscramble, {15}).size(), 3192u);  // a 15-letter text reaches 15+
    EXPECT_TRUE(AllLengths("xq1").empty());
    EXPECT_EQ(AllLengths("t c\x80"
                         "a"),
              AllLengths("tca"));  // other bytes are spent without effect
}

TEST(Unscramble, LongTextsGiveTheRuleResults) {
    std::string alphabet;
    for (int i = 0; i < 40000; ++i) alphabet += "abcdefghijklmnopqrstuvwxyz";  // 1,040,000 letters
    EXPECT_EQ(AllLengths(alphabet).size(), 172823u);
    EXPECT_EQ(AllLengths(std::string(1000000, '?')).size(), 172823u);
    // Noise around the letters changes nothing.
    EXPECT_EQ(AllLengths(std::string(500000, '1') + "tca" + std::string(500000, ' ')), AllLengths("tca"));
    // Twenty-eight '?' empty even the longest word.
    EXPECT_EQ(AllLengths(std::string(28, '?') + std::string(1000000, 'q')).size(), 172823u);
    // One '?' takes each word's first letter; the o's then finish exactly
    // the words whose other letters are all o ("boo", "zoo", ...).
    Strings expected;
    for (int length = 2; length <= 15; ++length)
        for (std::string_view w : LoadWordList(length))
            if (w.find_first_not_of('o', 1) == std::string_view::npos) expected.emplace_back(w);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(AllLengths("?" + std::string(1000000, 'o')), expected);
}

TEST(Wild, KnownResults) {
    EXPECT_EQ(Search("c?t", kWild), (Strings{"cat", "cot", "cut"}));
    EXPECT_EQ(Search("CAT", kWild), Strings{"cat"});
    EXPECT_EQ(Search("absentmindednes", kWild), (Strings{"absentmindedness", "absentmindednesses"}));
    EXPECT_EQ(Search("?ndistinguishabl", kWild),
              (Strings{"indistinguishable", "indistinguishableness", "indistinguishablenesses", "indistinguishably"}));
    EXPECT_EQ(Search("ndistinguishabl", kWild),  // 15 characters match inside longer words too
              (Strings{"indistinguishable", "indistinguishableness", "indistinguishablenesses", "indistinguishably"}));
    EXPECT_EQ(Search("???????", kWild).size(), 23109u);
    EXPECT_TRUE(Search(std::string(1000000, '?'), kWild).empty());
}

TEST(Wild, ProgressStopsAtTheLastHundred) {
    FakeSurface surface("???");
    WordListCache cache;
    bFindClick(surface, cache, kWild);
    EXPECT_EQ(surface.lines.size(), 972u);
    EXPECT_EQ(surface.progress.Maximum(), 971);
    EXPECT_EQ(surface.lastPositionSet, 900);
    EXPECT_EQ(cache.Peek(3), nullptr);  // a private copy, not the cache

    FakeSurface single("x");
    bFindClick(single, cache, kWild);
    EXPECT_EQ(single.calls, (Strings{"buttons off", "buttons on"}));
    EXPECT_EQ(single.progress.Maximum(), 100);
}

TEST(Wild, LeavesTheCachedListAlone) {
    int loads = 0;
    WordListCache cache([&](int length) {
        ++loads;
        return LoadWordList(length);
    });
    FakeSurface surface("abcdefg");
    surface.options[5] = true;
    bFindClick(surface, cache, kUnscramble);
    const WordList* cached = cache.Peek(7);
    surface.text = "abc?efg";
    bFindClick(surface, cache, kWild);
    bFindClick(surface, cache, kExact);
    surface.text = "gfedcba";
    bFindClick(surface, cache, kUnscramble);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(cache.Peek(7), cached);
}

TEST(Exact, KnownResults) {
    EXPECT_EQ(Search("zyzzyva", kExact), Strings{"zyzzyva - Found"});
    EXPECT_EQ(Search("ZyZzYvA", kExact), Strings{"zyzzyva - Found"});
    EXPECT_EQ(Search("absentmindedness", kExact), Strings{"absentmindedness - Found"});
    EXPECT_EQ(Search("absentmindednesses", kExact), Strings{"absentmindednesses - Found"});
    EXPECT_EQ(Search("qzx", kExact), Strings{"qzx - Not Found"});
    EXPECT_EQ(Search("c?t", kExact), Strings{"c?t - Not Found"});
    EXPECT_EQ(Search("ca t", kExact), Strings{"ca t - Not Found"});
    EXPECT_EQ(Search("   ", kExact), Strings{"    - Not Found"});  // spaces only is a text, not an empty one
    EXPECT_TRUE(Search("a", kExact).empty());
}

// A list of other entries than the stored lowercase words (a test's, or
// one of any shape) is compared with case ignored, and with no wildcard.
TEST(Exact, OtherListsIgnoreCase) {
    WordList list;
    list.Split("Able\r\nCAT\nc?t\nz\n");
    const WordListCache cache([&](int) { return list; }, [&](int) { return list; });
    for (const auto& [text, line] : {std::pair<std::string, std::string>{"able", "able - Found"},
                                     {"cat", "cat - Found"},
                                     {"CaT", "CaT - Found"},
                                     {"cut", "cut - Not Found"},
                                     {"c?t", "c?t - Found"},
                                     {"cot", "cot - Not Found"}}) {
        FakeSurface surface;
        ExactSearch(surface, text, cache);
        EXPECT_EQ(surface.lines, Strings{line});
    }
}

// Exact looks words up in the sorted stored lists: every word is found, and
// a text one letter off is found exactly when it is a word too.
TEST(Exact, EveryStoredWordAndItsNeighbours) {
    std::array<std::set<std::string, std::less<>>, 16> stored;
    for (int length = 2; length <= 15; ++length)
        for (const std::string_view word : LoadWordList(length)) stored[static_cast<std::size_t>(length)].emplace(word);
    WordListCache cache;
    FakeSurface surface;
    surface.clearBeforeFind = true;
    for (int length = 2; length <= 15; ++length) {
        for (const std::string& word : stored[static_cast<std::size_t>(length)]) {
            for (const std::string& text : {word, word + "s", word.substr(1), word.substr(0, word.size() - 1) + "z"}) {
                const std::size_t m = static_cast<std::size_t>(ListForTextLength(text.size()));
                surface.text = text;
                bFindClick(surface, cache, kExact);
                if (m < 2) {
                    ASSERT_TRUE(surface.lines.empty()) << text;
                } else {
                    const bool found = stored[m].count(text) > 0;
                    ASSERT_EQ(surface.lines, Strings{text + (found ? " - Found" : " - Not Found")});
                }
            }
        }
    }
}

TEST(Progress, KeepsItsPositionInRange) {
    ProgressModel bar("QProgressBar");
    bar.SetPosition(150);
    EXPECT_EQ(bar.Position(), 100);
    bar.SetMaximum(10);
    EXPECT_EQ(bar.Position(), 10);
    bar.SetPosition(-3);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetMaximum(0);
    try {
        bar.SetMaximum(-1);
        FAIL() << "a maximum below 0 was taken";
    } catch (const PropertyOutOfRange& e) {
        EXPECT_STREQ(e.what(), "QProgressBar property out of range");
    }
    EXPECT_EQ(bar.Maximum(), 0);
}

}  // namespace
}  // namespace lexigrove
