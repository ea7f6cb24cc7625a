#include "Unscramble.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

#include "ListReader.h"

namespace lexigrove {

namespace {

constexpr std::uint8_t kNotTyped = 255;

}  // namespace

int FindCharFrom(std::string_view s, char c, int start) {
    if (s.empty() || start < 1 || static_cast<std::size_t>(start) > s.size()) return 0;
    const void* hit = std::memchr(s.data() + start - 1, static_cast<unsigned char>(c),
                                  s.size() - static_cast<std::size_t>(start - 1));
    if (hit == nullptr) return 0;
    return static_cast<int>(static_cast<const char*>(hit) - s.data()) + 1;
}

// A word of n letters reads at most n rows (a letter's earlier copies are
// fewer than n), so only those are filled. The text is read without a branch
// per byte: a byte other than a-z lands in a spare column, and a copy past
// the rows in use in the spare row. Once every row is full, each letter was
// typed as often as a word can hold it, so every word is spelled by typed
// letters alone and the rest of the text cannot change an answer. Likewise
// once kMaxFastLength '?' were read: they alone take every letter of any
// word the fast path decides, and longer words are read by the rule itself.
Speller::Speller(std::string_view text, int longestWord) : text_(text) {
    rows_ = std::clamp(longestWord, 1, kMaxFastLength);
    std::memset(wildcardsBefore_.data(), kNotTyped, static_cast<std::size_t>(rows_) * sizeof(Row));
    constexpr std::uint32_t kSpare = 31;
    const std::uint32_t rows = static_cast<std::uint32_t>(rows_);
    std::size_t empty = static_cast<std::size_t>(rows_) * ('z' - 'a' + 1);  // places in the rows
    std::size_t wildcards = 0;
    const auto take = [&](char byte) {
        const std::uint32_t c = static_cast<std::uint32_t>(static_cast<unsigned char>(byte)) - 'a';
        const bool letter = c <= 'z' - 'a';
        const std::uint32_t column = letter ? c : kSpare;
        const std::uint32_t copies = typed_[column];
        const bool fresh = copies < rows;
        wildcardsBefore_[copies][column] = static_cast<std::uint8_t>(std::min<std::size_t>(wildcards, kNotTyped - 1));
        typed_[column] = static_cast<std::uint8_t>(copies + fresh);
        empty -= letter & fresh;
        wildcards += byte == '?';
    };
    // Short texts are read whole without asking.
    std::size_t i = 0;
    for (const std::size_t head = std::min<std::size_t>(text.size(), 64); i < head; ++i) take(text[i]);
    // Nor is the rest once every row is full, or once as many '?' were read
    // as the longest word the fast path decides has letters.
    // Bytes other than letters and '?' change nothing that is looked up.
    for (; i < text.size() && empty != 0 && wildcards < std::size_t{kMaxFastLength}; ++i) {
        const char byte = text[i];
        if (static_cast<unsigned char>(byte - 'a') <= 'z' - 'a' || byte == '?') take(byte);
    }
    tracked_ = static_cast<std::uint32_t>(std::min<std::size_t>(wildcards, kMaxFastLength));
    for (std::size_t c = 0; c < countFrom_.size(); ++c) countFrom_[c] = static_cast<std::uint8_t>(127 - typed_[c]);
}

namespace {

using list_reader::kMaxLineLength;

// 1 or 0, for combining conditions without a branch.
constexpr unsigned Bit(bool condition) { return condition ? 1U : 0U; }

// The column of the i-th letter (a-z) of `word`.
std::size_t Column(const char* word, int i) {
    return static_cast<std::size_t>(static_cast<unsigned char>(word[i])) - 'a';
}

}  // namespace

// For texts without '?': whether every letter of the word has a typed copy
// of its own. Counting a letter's copies up from 127 minus the copies typed
// sets the top bit once the word holds more. Over an alphabetical list,
// whether a word fails at its i-th letter mostly goes as for the word
// before, so leaving at the first letter that fails is well guessed.
// `Length` 0: the word is `size` letters long.
template <int Length>
bool Speller::HasTypedCopies(const char* word, int size) const {
    if constexpr (Length > 0) size = Length;
    Row count = countFrom_;
    for (int i = 0; i < size; ++i) {
        const std::uint32_t n = count[Column(word, i)] + 1U;
        if (n & 0x80) return false;
        count[Column(word, i)] = static_cast<std::uint8_t>(n);
    }
    return true;
}

// With '?' in the text: the letter of the word (all letters a-z) at which
// it needs more '?' than there are, where it is left (see HasTypedCopies),
// or kSpelled when the text spells it.
template <int Length>
int Speller::FailureWithWildcards(const char* word, int size) const {
    if constexpr (Length > 0) size = Length;
    const std::uint8_t* const table = wildcardsBefore_[0].data();
    // Per letter, where its next copy is looked up in the table: its
    // column, 32 bytes further for each copy typed letters removed.
    using Offset = std::conditional_t<Length != 0 && Length <= 8, std::uint8_t, std::uint16_t>;
    static constexpr std::array<Offset, 32> kColumns = [] {
        std::array<Offset, 32> columns{};
        for (std::size_t c = 0; c < columns.size(); ++c) columns[c] = static_cast<Offset>(c);
        return columns;
    }();
    std::array<Offset, 32> at = kColumns;
    // The first letter has no copy before it, and a '?' is left to take it.
    const std::size_t first = Column(word, 0);
    std::uint32_t used = table[first] != 0;
    at[first] = static_cast<Offset>(first + 32 - (used << 5));
    for (int i = 1; i < size; ++i) {
        const std::size_t c = Column(word, i);
        const std::size_t r = at[c];
        const std::uint32_t stays = used < table[r];
        used += stays;
        if (used > tracked_) return i;
        at[c] = static_cast<Offset>(r + 32 - (stays << 5));
    }
    return kSpelled;
}

// With one '?' fewer than the word has letters: the word fails only when
// a '?' takes each of its letters but the last, and the last too. While
// every letter so far went to a '?', no typed letter removed anything, so
// letter i stays for the (i + 1)-th '?' when its first typed copy comes
// after that '?'.
template <int Length>
bool Speller::SpellsWithOneWildcardShort(const char* word) const {
    const std::uint8_t* const firstCopy = wildcardsBefore_[0].data();
    unsigned typed = 0;
    for (int i = 0; i < Length; ++i) typed |= Bit(firstCopy[Column(word, i)] <= i);
    return typed != 0;
}

// The test for each word is chosen once for the whole list: the text does
// not change while it is read.
template <int Length>
const char* Speller::SpellLines(const char* p, const char* end, SearchSurface& surface) const {
    using list_reader::ReadLetterLines;
    if (static_cast<std::size_t>(Length) > text_.size()) {
        // Each typed character removes at most one letter.
        return ReadLetterLines<Length>(p, end, surface, [](const char*) { return false; });
    }
    if (tracked_ >= static_cast<std::uint32_t>(Length)) {
        // The '?' alone take every letter.
        return ReadLetterLines<Length>(p, end, surface, [](const char*) { return true; });
    }
    if (tracked_ + 1 == static_cast<std::uint32_t>(Length))
        return ReadLetterLines<Length>(p, end, surface,
                                       [this](const char* word) { return SpellsWithOneWildcardShort<Length>(word); });
    if (tracked_ == 0)
        return ReadLetterLines<Length>(p, end, surface,
                                       [this](const char* word) { return HasTypedCopies<Length>(word, Length); });
    // One '?' or more, and two or more fewer than the word has letters.
    return ReadLetterLines<Length>(
        p, end, surface, [this](const char* word) { return FailureWithWildcards<Length>(word, Length) == kSpelled; });
}

const char* Speller::SpellLines(int length, const char* p, const char* end, SearchSurface& surface) const {
    if (length < 2 || length > kMaxLineLength || length > rows_) return p;
    switch (length) {
        case 2:
            return SpellLines<2>(p, end, surface);
        case 3:
            return SpellLines<3>(p, end, surface);
        case 4:
            return SpellLines<4>(p, end, surface);
        case 5:
            return SpellLines<5>(p, end, surface);
        case 6:
            return SpellLines<6>(p, end, surface);
        case 7:
            return SpellLines<7>(p, end, surface);
        case 8:
            return SpellLines<8>(p, end, surface);
        case 9:
            return SpellLines<9>(p, end, surface);
        case 10:
            return SpellLines<10>(p, end, surface);
        case 11:
            return SpellLines<11>(p, end, surface);
        case 12:
            return SpellLines<12>(p, end, surface);
        case 13:
            return SpellLines<13>(p, end, surface);
        default:
            return SpellLines<14>(p, end, surface);
    }
}

bool Speller::Spells(std::string_view word) const {
    const std::size_t size = word.size();
    if (size == 0 || size > text_.size()) return false;
    if (size > static_cast<std::size_t>(rows_) || !list_reader::AllLetters(word)) return SpellsLiterally(word);
    return SpellsLetters(word.data(), static_cast<int>(size));
}

// For a word of 1 to rows_ letters a-z.
bool Speller::SpellsLetters(const char* word, int size) const {
    if (static_cast<std::size_t>(size) > text_.size()) return false;
    if (static_cast<std::uint32_t>(size) <= tracked_) return true;
    return tracked_ == 0 ? HasTypedCopies<0>(word, size) : FailureWithWildcards<0>(word, size) == kSpelled;
}

const char* Speller::SpellLinesOfAnyLength(const char* p, const char* end, SearchSurface& surface) const {
    using list_reader::Load;
    using list_reader::ReadLinesOfAnyLength;
    if (tracked_ == 0) {
        return ReadLinesOfAnyLength(
            p, end, surface, [this](const char* word, int size) { return size <= rows_ && SpellsLetters(word, size); });
    }
    // A word that shares with an earlier one more letters than that one
    // read before it failed fails the same way. Neighbours in the longest
    // list share nine letters on average.
    const char* failed = p;   // the last word read to its end or failure
    int failedAt = kSpelled;  // where it failed
    return ReadLinesOfAnyLength(p, end, surface, [&](const char* word, int size) {
        if (size > rows_) return false;
        if (static_cast<std::size_t>(size) > text_.size() || static_cast<std::uint32_t>(size) <= tracked_)
            return SpellsLetters(word, size);
        // The first 16 bytes, read whole: the line and the ones after it.
        const std::uint64_t head = Load(word, 8) ^ Load(failed, 8);
        const std::uint64_t tail = Load(word + 8, 8) ^ Load(failed + 8, 8);
        const int shared = head != 0 ? std::countr_zero(head) / 8 : 8 + std::countr_zero(tail) / 8;
        if (shared > failedAt) return false;
        failed = word;
        failedAt = FailureWithWildcards<0>(word, size);
        return failedAt == kSpelled;
    });
}

// The rule as stated, for words the fast path does not cover (bytes other
// than a-z, or very long words).
bool Speller::SpellsLiterally(std::string_view word) const {
    std::string rest(word);
    for (char c : text_) {
        const int p = c == '?' ? 1 : FindCharFrom(rest, c, 1);
        if (p > 0) rest.erase(static_cast<std::size_t>(p - 1), 1);
        if (rest.empty()) return true;
    }
    return false;
}

void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position) {
    const SearchText text(surface);
    if (text.View().size() < 2) return;
    // A speller for the words of this length only is the quickest to make.
    UnscrambleLength(surface, cache, position, Speller(text.View(), OptionWordLength(position)));
}

void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position, const Speller& speller) {
    if (speller.Text().size() < 2) return;
    const WordList& list = cache.Fetch(OptionWordLength(position));
    const std::string_view all = list.Text();
    const char* p = all.data();
    const char* const end = p + all.size();
    // The stored lists are lines of letters and CR LF, all of one length but
    // for the longest list: read them as such while they are, and any other
    // line (and all after it) one by one, by a speller for words of any
    // length.
    const int length = OptionWordLength(position);
    if (length <= kMaxLineLength) p = speller.SpellLines(length, p, end, surface);
    if (p != end) {
        std::optional<Speller> full;
        const Speller& any = speller.LongestWord() == Speller::kMaxFastLength ? speller : full.emplace(speller.Text());
        p = any.SpellLinesOfAnyLength(p, end, surface);
        list_reader::MatchBatch matches(surface);
        for (auto it = list.From(static_cast<std::size_t>(p - all.data())); it != list.end(); ++it)
            matches.Add(it->data(), it->size(), any.Spells(*it));
    }
}

}  // namespace lexigrove
