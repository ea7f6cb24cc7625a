#include "Unscramble.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

namespace lexigrove {

namespace {

constexpr std::uint8_t kNotTyped = 255;

// The longest words that SpellLines reads as fixed-length lines.
constexpr int kMaxLineLength = 14;

// Words found, handed to the results log in batches, so that whether a word
// matched is counted rather than one more branch to guess per word.
class MatchBatch {
public:
    explicit MatchBatch(SearchSurface& surface) : surface_(surface) {}
    MatchBatch(const MatchBatch&) = delete;
    MatchBatch& operator=(const MatchBatch&) = delete;

    void Add(const char* word, std::size_t size, bool matched) {
        words_[count_] = word;
        sizes_[count_] = size;
        count_ += matched;
        if (count_ == kSize) Flush();
    }
    // Appends the words gathered so far.
    void Flush() {
        for (std::size_t i = 0; i < count_; ++i) surface_.ResultsAppend(std::string_view(words_[i], sizes_[i]));
        count_ = 0;
    }

private:
    static constexpr std::size_t kSize = 128;
    SearchSurface& surface_;
    const char* words_[kSize];
    std::size_t sizes_[kSize];
    std::size_t count_ = 0;
};

}  // namespace

int FindCharFrom(std::string_view s, char c, int start) {
    if (s.empty() || start < 1 || static_cast<std::size_t>(start) > s.size()) return 0;
    const void* hit = std::memchr(s.data() + start - 1, static_cast<unsigned char>(c), s.size() - static_cast<std::size_t>(start - 1));
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

// The first `n` (2, 4 or 8) bytes at `p`, byte i at bits 8i.
std::uint64_t Load(const char* p, int n) {
    std::uint64_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&x, p, static_cast<std::size_t>(n));
    } else {
        for (int i = 0; i < n; ++i) x |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
    }
    return x;
}

// The `Size` (2 to 16) bytes at `p`: the first min(Size, 8) in the first
// number and, when Size > 8, the last 8 in the second, byte i at bits 8i.
// Nothing past them is read; bytes read twice agree.
template <int Size>
std::array<std::uint64_t, 2> LoadLine(const char* p) {
    if constexpr (Size > 8) {
        return {Load(p, 8), Load(p + Size - 8, 8)};
    } else if constexpr (Size == 8 || Size == 4 || Size == 2) {
        return {Load(p, Size), 0};
    } else {
        constexpr int kHalf = Size > 4 ? 4 : 2;
        return {Load(p, kHalf) | Load(p + Size - kHalf, kHalf) << (8 * (Size - kHalf)), 0};
    }
}

// For each byte of a chunk as LoadLine reads it, the range it must be in:
// letters a-z, then CR, then LF; the bytes past a short line can be anything.
struct ChunkRule {
    std::uint64_t low = 0;   // per byte: 0x80 - lowest
    std::uint64_t high = 0;  // per byte: 0x7f - highest
    std::uint64_t used = 0;  // per byte: 0x80 where the byte counts
};

template <int Length>
constexpr ChunkRule LineRule(int chunk) {
    constexpr int kSize = Length + 2;
    const int first = chunk == 0 ? 0 : kSize - 8;
    ChunkRule rule;
    for (int i = 0; i < 8 && first + i < kSize; ++i) {
        const int at = first + i;
        const unsigned lowest = static_cast<unsigned char>(at < Length ? 'a' : at == Length ? '\r' : '\n');
        const unsigned highest = at < Length ? 'z' : lowest;
        rule.low |= static_cast<std::uint64_t>(0x80 - lowest) << (8 * i);
        rule.high |= static_cast<std::uint64_t>(0x7f - highest) << (8 * i);
        rule.used |= std::uint64_t{0x80} << (8 * i);
    }
    return rule;
}

// Per byte of `chunk`, the top bit set when the byte is in its range under
// the rule, eight at a time: with the top bits cleared no sum carries into
// the next byte, and a byte is in range when adding (0x80 - lowest) sets its
// top bit and adding (0x7f - highest) does not.
constexpr std::uint64_t InRange(std::uint64_t chunk, const ChunkRule& rule) {
    constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
    const std::uint64_t bits = chunk & kLow7;
    return (bits + rule.low) & ~(bits + rule.high) & ~chunk & rule.used;
}

// Whether every byte of `chunk` that the rule counts is in its range.
constexpr bool Follows(std::uint64_t chunk, const ChunkRule& rule) { return InRange(chunk, rule) == rule.used; }

// 1 or 0, for combining conditions without a branch.
constexpr unsigned Bit(bool condition) { return condition ? 1U : 0U; }

// The column of the i-th letter (a-z) of `word`.
std::size_t Column(const char* word, int i) {
    return static_cast<std::size_t>(static_cast<unsigned char>(word[i])) - 'a';
}

// Whether the line at `p` is `Length` letters a-z followed by CR LF.
template <int Length>
bool IsLetterLine(const char* p) {
    static constexpr ChunkRule kFirst = LineRule<Length>(0);
    static constexpr ChunkRule kSecond = LineRule<Length>(1);
    const std::array<std::uint64_t, 2> chunks = LoadLine<Length + 2>(p);
    if constexpr (Length + 2 > 8) return Bit(Follows(chunks[0], kFirst)) & Bit(Follows(chunks[1], kSecond));
    return Follows(chunks[0], kFirst);
}

// Whether `word` (1 to 32 bytes) is all letters a-z, read as at most four
// overlapping chunks.
bool AllLetters(std::string_view word) {
    constexpr ChunkRule kLetters = LineRule<8>(0);
    const char* const p = word.data();
    const std::size_t n = word.size();
    if (n >= 8) {
        bool all = true;
        for (std::size_t i = 0; i < 32; i += 8) all &= Follows(Load(p + std::min(i, n - 8), 8), kLetters);
        return all;
    }
    const int half = n >= 4 ? 4 : 2;
    const std::uint64_t chunk = n == 1 ? static_cast<unsigned char>(p[0])
                                       : Load(p, half) | Load(p + n - half, half) << (8 * (n - static_cast<std::size_t>(half)));
    const ChunkRule rule{kLetters.low, kLetters.high, kLetters.used >> (8 * (8 - n))};
    return Follows(chunk, rule);
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
    if constexpr (Length == 2) {
        const std::size_t a = Column(word, 0), b = Column(word, 1);
        return Bit(typed_[a] != 0) & Bit(typed_[b] > (a == b));
    }
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

// Lines are read in rounds of at most kBatch, the start of each match kept
// and the matches appended after the round.
template <int Length>
const char* Speller::SpellLines(const char* p, const char* end, SearchSurface& surface) const {
    constexpr std::ptrdiff_t kLine = Length + 2;
    constexpr std::ptrdiff_t kBatch = 128;
    const char* found[kBatch];
    const auto read = [&](const char* const stop, std::size_t& count, auto spells) {
        for (; p != stop; p += kLine) {
            if (!IsLetterLine<Length>(p)) break;
            found[count] = p;
            count += spells(p);
        }
    };
    for (;;) {
        const char* const stop = p + std::min((end - p) / kLine, kBatch) * kLine;
        std::size_t count = 0;
        if (static_cast<std::size_t>(Length) > text_.size()) {
            // Each typed character removes at most one letter.
            while (p != stop && IsLetterLine<Length>(p)) p += kLine;
        } else if (tracked_ >= static_cast<std::uint32_t>(Length)) {
            // The '?' alone take every letter.
            read(stop, count, [](const char*) { return true; });
        } else if (tracked_ + 1 == static_cast<std::uint32_t>(Length)) {
            read(stop, count, [this](const char* word) { return SpellsWithOneWildcardShort<Length>(word); });
        } else if (tracked_ == 0) {
            read(stop, count, [this](const char* word) { return HasTypedCopies<Length>(word, Length); });
        } else {
            // One '?' or more, and two or more fewer than the word has letters.
            read(stop, count,
                 [this](const char* word) { return FailureWithWildcards<Length>(word, Length) == kSpelled; });
        }
        for (std::size_t i = 0; i < count; ++i) surface.ResultsAppend(std::string_view(found[i], Length));
        if (p != stop || end - p < kLine) return p;
    }
}

const char* Speller::SpellLines(int length, const char* p, const char* end, SearchSurface& surface) const {
    using Reader = const char* (Speller::*)(const char*, const char*, SearchSurface&) const;
    static constexpr auto kReaders = []<int... Lengths>(std::integer_sequence<int, Lengths...>) {
        return std::array<Reader, sizeof...(Lengths)>{&Speller::SpellLines<Lengths + 2>...};
    }(std::make_integer_sequence<int, kMaxLineLength - 1>());
    if (length < 2 || length > kMaxLineLength || length > rows_) return p;
    return (this->*kReaders[static_cast<std::size_t>(length - 2)])(p, end, surface);
}

bool Speller::Spells(std::string_view word) const {
    const std::size_t size = word.size();
    if (size == 0 || size > text_.size()) return false;
    if (size > static_cast<std::size_t>(rows_) || !AllLetters(word)) return SpellsLiterally(word);
    return SpellsLetters(word.data(), static_cast<int>(size));
}

// For a word of 1 to rows_ letters a-z.
bool Speller::SpellsLetters(const char* word, int size) const {
    if (static_cast<std::size_t>(size) > text_.size()) return false;
    if (static_cast<std::uint32_t>(size) <= tracked_) return true;
    return tracked_ == 0 ? HasTypedCopies<0>(word, size) : FailureWithWildcards<0>(word, size) == kSpelled;
}

// The first byte at `p` that is not a letter a-z ends the word, and the
// line is read as that word and CR LF when the word has 1 to 30 letters.
// 32 bytes are read at once, so where the word ends costs no branch.
const char* Speller::SpellLinesOfAnyLength(const char* p, const char* end, SearchSurface& surface) const {
    constexpr ChunkRule kLetters = LineRule<8>(0);
    constexpr std::uint64_t kGather = 0x0102040810204080ULL;  // gathers the top bits of the bytes
    MatchBatch matches(surface);
    const auto read = [&](auto spells) {
        while (end - p >= 32) {
            std::uint32_t others = 0;  // bit i: byte i is not a letter
            for (int i = 0; i < 4; ++i) {
                const std::uint64_t letters = InRange(Load(p + 8 * static_cast<std::ptrdiff_t>(i), 8), kLetters) >> 7;
                others |= static_cast<std::uint32_t>(0xff ^ (letters * kGather) >> 56) << (8 * i);
            }
            const int size = std::countr_zero(others);
            if (size == 0 || size > 30 || p[size] != '\r' || p[size + 1] != '\n') break;
            matches.Add(p, static_cast<std::size_t>(size), size <= rows_ && spells(p, size));
            p += size + 2;
        }
    };
    if (tracked_ == 0) {
        read([this](const char* word, int size) { return SpellsLetters(word, size); });
    } else {
        // A word that shares with an earlier one more letters than that one
        // read before it failed fails the same way. Neighbours in the
        // longest list share nine letters on average.
        const char* failed = p;     // the last word read to its end or failure
        int failedAt = kSpelled;  // where it failed
        read([&](const char* word, int size) {
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
    matches.Flush();
    return p;
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
    UnscrambleLength(surface, cache, position, Speller(text.View(), position + 2));
}

void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position, const Speller& speller) {
    if (speller.Text().size() < 2) return;
    const WordList& list = cache.Fetch(position + 2);
    const std::string_view all = list.Text();
    const char* p = all.data();
    const char* const end = p + all.size();
    // The stored lists are lines of letters and CR LF, all of one length but
    // for the longest list: read them as such while they are, and any other
    // line (and all after it) one by one, by a speller for words of any
    // length.
    const int length = position + 2;
    if (length <= kMaxLineLength) p = speller.SpellLines(length, p, end, surface);
    if (p != end) {
        std::optional<Speller> full;
        const Speller& any = speller.LongestWord() == Speller::kMaxFastLength ? speller : full.emplace(speller.Text());
        p = any.SpellLinesOfAnyLength(p, end, surface);
        MatchBatch matches(surface);
        for (auto it = list.From(static_cast<std::size_t>(p - all.data())); it != list.end(); ++it)
            matches.Add(it->data(), it->size(), any.Spells(*it));
        matches.Flush();
    }
}

}  // namespace lexigrove
