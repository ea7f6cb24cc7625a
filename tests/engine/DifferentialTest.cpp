// The searches against the rules written out plainly, on random input.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "FakeSurface.h"
#include "PlainRules.h"
#include "SearchCommand.h"
#include "Unscramble.h"
#include "WordList.h"

namespace lexigrove {
namespace {

using testing::FakeSurface;
using Strings = std::vector<std::string>;

class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    bool Chance(int percent) { return Below(100) < percent; }

    // Mostly letters from a small alphabet, so that words match often, with
    // '?', capitals, digits, spaces and bytes of 128 and above mixed in.
    char TypedByte() {
        const int kind = Below(100);
        if (kind < 60) return static_cast<char>('a' + Below(6));
        if (kind < 70) return static_cast<char>('a' + Below(26));
        if (kind < 80) return '?';
        if (kind < 87) return static_cast<char>('A' + Below(26));
        if (kind < 91) return static_cast<char>('0' + Below(10));
        if (kind < 95) return ' ';
        return static_cast<char>(128 + Below(128));
    }

    std::string Text(int maxLength) {
        std::string s(static_cast<std::size_t>(Below(maxLength + 1)), ' ');
        for (char& c : s) c = TypedByte();
        return s;
    }

    std::string Word(int length) {
        std::string w(static_cast<std::size_t>(length), 'a');
        for (char& c : w) c = static_cast<char>('a' + (Chance(80) ? Below(6) : Below(26)));
        if (Chance(3)) w[static_cast<std::size_t>(Below(length))] = static_cast<char>('0' + Below(10));
        return w;
    }

private:
    std::mt19937 engine_;
};

// Word lists of random words of each length, so that many words match.
WordList RandomList(Random& random, int length) {
    std::string text;
    const int count = 60;
    for (int i = 0; i < count; ++i) {
        const int wordLength = length < 15 ? length : 15 + random.Below(26);
        text += random.Word(wordLength) + "\r\n";
        if (random.Chance(2)) text += "\r\n";  // an empty entry now and then
    }
    WordList list;
    list.Split(text);
    return list;
}

TEST(Differential, UnscrambleCommandMatchesThePlainRule) {
    Random random(20261207);
    for (int round = 0; round < 3000; ++round) {
        std::vector<WordList> lists(16);
        for (int length = 2; length <= 15; ++length)
            lists[static_cast<std::size_t>(length)] = RandomList(random, length);
        WordListCache cache([&](int length) { return lists[static_cast<std::size_t>(length)]; });

        FakeSurface surface(random.Text(40));
        for (bool& option : surface.options) option = random.Chance(50);
        const std::string typed = surface.text;
        bFindClick(surface, cache, kUnscramble);

        Strings expected;
        const std::string text = plain::Lower(typed);
        if (!text.empty()) {
            for (int i = 0; i < kLengthOptionCount; ++i) {
                const int length = i + 2;
                if (!surface.options[static_cast<std::size_t>(i)] || static_cast<std::size_t>(length) > text.size() ||
                    text.size() < 2)
                    continue;
                for (std::string_view word : lists[static_cast<std::size_t>(length)])
                    if (plain::Spells(text, word)) expected.emplace_back(word);
            }
        }
        ASSERT_EQ(surface.lines, expected) << "text \"" << typed << "\"";
    }
}

// Texts short and long, with many '?' or none, and words of up to 40 bytes,
// sorted now and then so that neighbours share long beginnings.
TEST(Differential, SpellerMatchesThePlainRule) {
    Random random(11);
    for (int round = 0; round < 2400; ++round) {
        std::string text = random.Text(round % 3 == 0 ? 12 : round % 3 == 1 ? 60 : 400);
        if (random.Chance(25)) text.insert(0, static_cast<std::size_t>(random.Below(40)), '?');
        const Speller speller(text);
        std::vector<std::string> words;
        words.reserve(60);
        for (int i = 0; i < 60; ++i) words.push_back(random.Word(1 + random.Below(random.Chance(20) ? 40 : 12)));
        if (random.Chance(50)) std::sort(words.begin(), words.end());
        for (const std::string& word : words)
            ASSERT_EQ(speller.Spells(word), plain::Spells(text, word)) << "text \"" << text << "\" word " << word;
    }
}

// A list text of the stored shape (words of one length, each followed by
// CR LF), sorted, with now and then one thing that breaks the shape: an
// odd line somewhere, lengths that change part way, a last word without a
// line break. Position 13 gets words of 15 to 40 letters.
std::string ListText(Random& random, int position) {
    const int length = OptionWordLength(position);
    const int count = 1 + random.Below(400);
    // The longest words grow from a few stems, so that neighbours share long
    // beginnings.
    std::vector<std::string> stems;
    stems.reserve(20);
    for (int i = 0; i < 20; ++i) stems.push_back(random.Word(1 + random.Below(14)));
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        std::string word = random.Word(position < 13 ? length : 15 + random.Below(26));
        if (position == 13 && random.Chance(80)) {
            const std::string& stem = stems[static_cast<std::size_t>(random.Below(20))];
            word.replace(0, stem.size(), stem);
        }
        for (char& c : word)
            if (c < 'a') c = static_cast<char>('a' + random.Below(26));  // letters only, as stored
        words.push_back(word);
    }
    std::sort(words.begin(), words.end());
    const int from = random.Below(count);
    switch (random.Below(8)) {
        case 0:  // lengths change from one word on
            for (std::size_t i = static_cast<std::size_t>(from); i < words.size(); ++i)
                words[i] += std::string(static_cast<std::size_t>(1 + random.Below(3)), 'e');
            break;
        case 1:  // one word one letter short, or holding a byte other than a-z
            if (random.Chance(50) && words[static_cast<std::size_t>(from)].size() > 1) {
                words[static_cast<std::size_t>(from)].pop_back();
            } else {
                const char odd[] = {'A', '7', ' ', '?', static_cast<char>(0xe9), '{', '`'};
                words[static_cast<std::size_t>(from)][0] = odd[random.Below(7)];
            }
            break;
        default:
            break;
    }
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        text += words[i];
        if (static_cast<int>(i) == from && random.Chance(30)) {
            const char* ends[] = {"\n", "\r", "\n\r", "\r\n\r\n"};  // other line ends, an empty line
            text += ends[random.Below(4)];
        } else {
            text += "\r\n";
        }
    }
    if (random.Chance(20)) text.erase(text.size() - 2);  // no line break after the last word
    return text;
}

// Texts of every kind, and as many '?' as letters in a word or more; now
// and then every letter many times over, with '?' only after.
std::string TypedForList(Random& random, int position) {
    std::string typed = random.Text(40);
    if (random.Chance(30)) typed.insert(0, static_cast<std::size_t>(random.Below(position + 4)), '?');
    if (random.Chance(20)) {  // long enough for the longest words, which mostly fail early
        typed.assign(15 + static_cast<std::size_t>(random.Below(26)), '?');
        for (char& c : typed)
            if (random.Chance(90)) c = static_cast<char>('a' + random.Below(4));
    }
    if (random.Chance(5)) {
        typed.clear();
        for (int i = 0; i < 26 * 15; ++i) typed += static_cast<char>('a' + (i * 7 + random.Below(3)) % 26);
        typed += std::string(static_cast<std::size_t>(random.Below(4)), '?') + random.Text(10);
    }
    if (random.Chance(10)) typed += random.Chance(50) ? "\r\n" : "\n";
    return typed;
}

TEST(Differential, UnscrambleOverListsOfEveryShape) {
    Random random(424242);
    for (int round = 0; round < 3000; ++round) {
        const int position = random.Below(kLengthOptionCount);
        // The list in a buffer of exactly its size, so that a read past its
        // end is caught by the address sanitizer.
        const std::string text = ListText(random, position);
        const auto bytes = std::make_unique<char[]>(text.size());
        std::copy(text.begin(), text.end(), bytes.get());
        WordList list;
        list.SplitInPlace(std::string_view(bytes.get(), text.size()));
        WordListCache cache([&](int) { return list; });

        const std::string typed = TypedForList(random, position);
        FakeSurface surface(typed);
        UnscrambleLength(surface, cache, position);

        Strings expected;
        if (typed.size() >= 2)
            for (std::string_view word : list)
                if (plain::Spells(typed, word)) expected.emplace_back(word);
        ASSERT_EQ(surface.lines, expected)
            << "position " << position << " text \"" << typed << "\" list \"" << text << "\"";
    }
}

TEST(Differential, WildMatchesThePlainRule) {
    Random random(99);
    for (int round = 0; round < 1500; ++round) {
        // Patterns made from real words, with letters turned into '?',
        // capitals or other bytes, and sometimes cut or lengthened.
        const int length = 2 + random.Below(17);
        const WordList source = LoadWordList(std::min(length, 15));
        std::string pattern;
        int skip = random.Below(static_cast<int>(source.size()));
        for (std::string_view w : source)
            if (skip-- == 0) pattern = std::string(w);
        if (pattern.size() > static_cast<std::size_t>(length)) pattern.resize(static_cast<std::size_t>(length));
        for (char& c : pattern)
            if (random.Chance(25)) c = random.TypedByte();
        if (random.Chance(10)) pattern.insert(pattern.begin(), random.TypedByte());

        FakeSurface surface(pattern);
        WordListCache cache;
        bFindClick(surface, cache, kWild);

        Strings expected;
        const std::string text = plain::Lower(pattern);
        if (text.size() >= 2)
            for (std::string_view w : LoadWordList(static_cast<int>(std::min<std::size_t>(text.size(), 15))))
                if (plain::PatternFound(w, text)) expected.emplace_back(w);
        ASSERT_EQ(surface.lines, expected) << "pattern \"" << pattern << "\"";
    }
}

}  // namespace
}  // namespace lexigrove
