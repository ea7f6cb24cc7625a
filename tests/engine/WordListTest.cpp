#include <gtest/gtest.h>

#include <array>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "Resources.h"
#include "WordList.h"
#include "WordListCache.h"

namespace lexigrove {
namespace {

std::vector<std::string> Entries(const WordList& list) { return {list.begin(), list.end()}; }

std::vector<std::string> SplitText(std::string text) {
    WordList list;
    list.Split(std::move(text));
    std::vector<std::string> entries = Entries(list);
    EXPECT_EQ(entries.size(), list.size()) << "size() disagrees with the walk";
    return entries;
}

using Strings = std::vector<std::string>;

TEST(Split, TerminatorsEndOneLineEach) {
    EXPECT_EQ(SplitText(std::string("ab\r\ncd\r\n\0\0", 10)), (Strings{"ab", "cd"}));
    EXPECT_EQ(SplitText("ab\r\rcd"), (Strings{"ab", "", "cd"}));
    EXPECT_EQ(SplitText("ab\n\rcd"), (Strings{"ab", "", "cd"}));
    EXPECT_EQ(SplitText("ab\rcd\nef"), (Strings{"ab", "cd", "ef"}));
    EXPECT_EQ(SplitText("ab"), (Strings{"ab"}));
    EXPECT_EQ(SplitText("ab\n"), (Strings{"ab"}));
    EXPECT_EQ(SplitText("\n"), (Strings{""}));
    EXPECT_EQ(SplitText("\r\n\r\n"), (Strings{"", ""}));
    EXPECT_EQ(SplitText(""), (Strings{}));
}

TEST(Split, StopsAtNulAndKeepsOtherControlBytes) {
    EXPECT_EQ(SplitText(std::string("ab\0cd\r\n", 7)), (Strings{"ab"}));
    EXPECT_EQ(SplitText(std::string("\0ab", 3)), (Strings{}));
    // Bytes below CR that are not terminators belong to the entry, also
    // where eight bytes are read at a time.
    EXPECT_EQ(SplitText("a\tb\x0b\x0c"
                        "cdefghijkl\r\nmnopqrstuvwxyz"),
              (Strings{"a\tb\x0b\x0c"
                       "cdefghijkl",
                       "mnopqrstuvwxyz"}));
    EXPECT_EQ(SplitText("abcdefgh\x01\x02\x03\x04\x05\x06\x07\x08\r\n\xff\xfe"),
              (Strings{"abcdefgh\x01\x02\x03\x04\x05\x06\x07\x08", "\xff\xfe"}));
}

TEST(Split, CopiesAndMovesKeepTheEntries) {
    WordList owned;
    owned.Split("one\r\ntwo\r\n");
    WordList copy = owned;
    WordList moved = std::move(owned);
    EXPECT_EQ(Entries(copy), (Strings{"one", "two"}));
    EXPECT_EQ(Entries(moved), (Strings{"one", "two"}));
    // Text after a NUL stays out of copies and moves too.
    WordList stopped;
    stopped.Split(std::string("ab\r\n\0cd\r\n", 9));
    WordList stoppedCopy = stopped;
    EXPECT_EQ(Entries(stoppedCopy), (Strings{"ab"}));
    EXPECT_EQ(stoppedCopy.Text(), "ab\r\n");
    WordList stoppedMoved = std::move(stopped);
    EXPECT_EQ(Entries(stoppedMoved), (Strings{"ab"}));
    EXPECT_EQ(stoppedMoved.Text(), "ab\r\n");
    WordList inPlace = LoadWordList(2);
    // The copy itself is under test.
    // NOLINTNEXTLINE(performance-unnecessary-copy-initialization)
    WordList inPlaceCopy = inPlace;
    EXPECT_EQ(Entries(inPlaceCopy).size(), 96u);
    WordList inPlaceMoved = std::move(inPlace);
    EXPECT_EQ(Entries(inPlaceMoved).size(), 96u);
}

// Words of one length are read line by line at their stride, after CR LF
// or LF alike, also from copies and moves.
TEST(Split, WordsOfOneLength) {
    for (const std::string text : {"ab\r\ncd\r\n", "ab\ncd\n"}) {
        WordList list;
        list.SplitSortedWordsInPlace(text, 2);
        EXPECT_EQ(Entries(list), (Strings{"ab", "cd"})) << text;
        WordList copy;
        copy = list;
        WordList moved;
        moved = std::move(list);
        EXPECT_EQ(Entries(copy), (Strings{"ab", "cd"})) << text;
        EXPECT_EQ(Entries(moved), (Strings{"ab", "cd"})) << text;
        EXPECT_EQ(moved.LongestEntry(), 2u);
    }
    // A text of another shape than promised is split line by line.
    WordList odd;
    odd.SplitSortedWordsInPlace("abc\nd\n", 2);
    EXPECT_EQ(Entries(odd), (Strings{"abc", "d"}));
}

struct ListFacts {
    int id;
    std::size_t words;
    const char* first;
    const char* last;
};

// The embedded data as the word list holds it.
constexpr std::array<ListFacts, 14> kLists{{
    {2, 96, "aa", "yo"},
    {3, 972, "aah", "zoo"},
    {4, 3903, "aahs", "zyme"},
    {5, 8636, "aahed", "zymes"},
    {6, 15232, "aahing", "zymase"},
    {7, 23109, "aarrghh", "zyzzyva"},
    {8, 28420, "aardvark", "zyzzyvas"},
    {9, 24873, "aardvarks", "zymurgies"},
    {10, 20302, "aardwolves", "zymologies"},
    {11, 15504, "abandonment", "zygomorphic"},
    {12, 11358, "abandonments", "zygomorphies"},
    {13, 7827, "abbreviations", "zygodactylous"},
    {14, 5127, "abortifacients", "zoogeographies"},
    {15, 7464, "absentmindedness", "zoogeographically"},
}};

TEST(EmbeddedLists, HoldEveryWordOnceInOrder) {
    std::size_t total = 0;
    for (const ListFacts& facts : kLists) {
        SCOPED_TRACE(facts.id);
        const WordList list = LoadWordList(facts.id);
        const Strings words = Entries(list);
        ASSERT_EQ(words.size(), facts.words);
        EXPECT_EQ(list.size(), facts.words);
        EXPECT_EQ(words.front(), facts.first);
        EXPECT_EQ(words.back(), facts.last);
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (facts.id < 15) {
                ASSERT_EQ(words[i].size(), static_cast<std::size_t>(facts.id)) << words[i];
            }
            if (i > 0) {
                ASSERT_LT(words[i - 1], words[i]);
            }
        }
        total += words.size();
    }
    EXPECT_EQ(total, 172823u);
}

TEST(EmbeddedLists, LongWordsShareOneAlphabeticalList) {
    const Strings words = Entries(LoadWordList(15));
    EXPECT_EQ(words[0], "absentmindedness");
    EXPECT_EQ(words[1], "absentmindednesses");
    std::map<std::size_t, int> byLength;
    for (const std::string& w : words) ++byLength[w.size()];
    const std::map<std::size_t, int> expected{{15, 3192}, {16, 1943}, {17, 1127}, {18, 594}, {19, 329},
                                              {20, 160},  {21, 62},   {22, 30},   {23, 13},  {24, 9},
                                              {25, 2},    {27, 2},    {28, 1}};
    EXPECT_EQ(byLength, expected);
}

TEST(EmbeddedLists, StoredFormatIsCrLfThenTwoNuls) {
    const char* data = FindResource("DICT", 2);
    ASSERT_NE(data, nullptr);
    const std::string text = LoadWordListText(2);
    EXPECT_EQ(text.substr(0, 8), "aa\r\nab\r\n");
    EXPECT_EQ(text.substr(text.size() - 4), "yo\r\n");
    EXPECT_EQ(data[text.size()], '\0');
    EXPECT_EQ(data[text.size() + 1], '\0');
    EXPECT_EQ(text, StoredWordListText(2));
}

TEST(EmbeddedLists, OtherIdsAndTypesAreNotFound) {
    for (int id : {-1, 0, 1, 16, 17, 20, 1033}) {
        EXPECT_EQ(FindResource("DICT", id), nullptr) << id;
        EXPECT_EQ(LoadWordListText(id), "") << id;
        EXPECT_TRUE(LoadWordList(id).empty()) << id;
        EXPECT_EQ(LoadWordList(id).size(), 0u) << id;
    }
    EXPECT_EQ(FindResource("dict", 2), nullptr);
    EXPECT_EQ(FindResource("DICTX", 2), nullptr);
    EXPECT_EQ(FindResource("", 2), nullptr);
}

TEST(Cache, LoadsEachListOnceAndKeepsIt) {
    std::map<int, int> loads;
    WordListCache cache([&](int length) {
        ++loads[length];
        return LoadWordList(length);
    });
    EXPECT_EQ(cache.Peek(7), nullptr);
    const WordList& first = cache.Fetch(7);
    const WordList& second = cache.Fetch(7);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(first.size(), 23109u);
    EXPECT_EQ(cache.Peek(7), &first);
    cache.Fetch(2);
    EXPECT_EQ(loads, (std::map<int, int>{{2, 1}, {7, 1}}));
}

TEST(Cache, MissingListStaysCachedEmpty) {
    int loads = 0;
    WordListCache cache([&](int length) {
        ++loads;
        return LoadWordList(length + 100);
    });
    EXPECT_TRUE(cache.Fetch(5).empty());
    EXPECT_TRUE(cache.Fetch(5).empty());
    EXPECT_EQ(loads, 1);
}

TEST(Cache, FailedLoadLeavesTheSlotEmptyForARetry) {
    bool fail = true;
    WordListCache cache([&](int length) {
        if (fail) throw std::bad_alloc();
        return LoadWordList(length);
    });
    EXPECT_THROW(cache.Fetch(3), std::bad_alloc);
    EXPECT_EQ(cache.Peek(3), nullptr);
    fail = false;
    EXPECT_EQ(cache.Fetch(3).size(), 972u);
}

TEST(Cache, ReleaseFreesEachListOnce) {
    WordListCache cache;
    EXPECT_EQ(cache.Release(), 0);
    cache.Fetch(2);
    cache.Fetch(15);
    cache.Fetch(9);
    EXPECT_EQ(cache.Release(), 3);
    EXPECT_EQ(cache.Release(), 0);
    EXPECT_EQ(cache.Peek(2), nullptr);
    EXPECT_THROW(cache.Fetch(21), std::out_of_range);
}

}  // namespace
}  // namespace lexigrove
