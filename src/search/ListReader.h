// Reading a stored list's text: lines of letters a-z, each ended by CR LF.
// The readers find the words and hand each to a caller's test; whether a word
// is spelled is decided elsewhere (Unscramble). See ALGORITHM.md.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "SearchSurface.h"

namespace lexigrove::list_reader {

// The longest words that ReadLetterLines reads as fixed-length lines.
inline constexpr int kMaxLineLength = 14;

// The first `n` (1 to 8) bytes at `p`, byte i at bits 8i.
inline std::uint64_t Load(const char* p, int n) {
    std::uint64_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&x, p, static_cast<std::size_t>(n));
    } else {
        for (int i = 0; i < n; ++i) x |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
    }
    return x;
}

// For each of up to eight bytes, the range it must be in: [lowest, highest]
// with both below 0x80.
struct ByteRanges {
    std::uint64_t low = 0;   // per byte: 0x80 - lowest
    std::uint64_t high = 0;  // per byte: 0x7f - highest
    std::uint64_t used = 0;  // per byte: 0x80 where the byte counts
};

// The ranges of the bytes of a line of `Length` letters and CR LF, as
// LoadLine reads it: chunk 0 is its first min(Length + 2, 8) bytes, chunk 1
// its last 8.
template <int Length>
constexpr ByteRanges LineRanges(int chunk) {
    constexpr int kSize = Length + 2;
    const int first = chunk == 0 ? 0 : kSize - 8;
    ByteRanges ranges;
    for (int i = 0; i < 8 && first + i < kSize; ++i) {
        const int at = first + i;
        const unsigned lowest = static_cast<unsigned char>(at < Length ? 'a' : at == Length ? '\r' : '\n');
        const unsigned highest = at < Length ? 'z' : lowest;
        ranges.low |= static_cast<std::uint64_t>(0x80 - lowest) << (8 * i);
        ranges.high |= static_cast<std::uint64_t>(0x7f - highest) << (8 * i);
        ranges.used |= std::uint64_t{0x80} << (8 * i);
    }
    return ranges;
}

// Eight letters a-z.
inline constexpr ByteRanges kLetters = LineRanges<8>(0);

// Per byte of `chunk`, the top bit set when the byte is in its range, eight
// at a time: with the top bits cleared no sum carries into the next byte,
// and a byte is in range when adding (0x80 - lowest) sets its top bit and
// adding (0x7f - highest) does not (and its own top bit is clear).
constexpr std::uint64_t InRange(std::uint64_t chunk, const ByteRanges& ranges) {
    constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
    const std::uint64_t bits = chunk & kLow7;
    return (bits + ranges.low) & ~(bits + ranges.high) & ~chunk & ranges.used;
}

// Whether every byte of `chunk` that counts is in its range.
constexpr bool Follows(std::uint64_t chunk, const ByteRanges& ranges) { return InRange(chunk, ranges) == ranges.used; }

// Whether the line at `p` is `Length` (2 to 14) letters a-z and CR LF: the
// line read as one or two overlapping 8-byte numbers (or, below 8 bytes, as
// two overlapping halves), never a byte past it.
template <int Length>
bool IsLetterLine(const char* p) {
    constexpr int kSize = Length + 2;
    static constexpr ByteRanges kFirst = LineRanges<Length>(0);
    if constexpr (kSize > 8) {
        static constexpr ByteRanges kSecond = LineRanges<Length>(1);
        // Both halves are checked, without a branch between them.
        const unsigned first = Follows(Load(p, 8), kFirst) ? 1U : 0U;
        const unsigned second = Follows(Load(p + kSize - 8, 8), kSecond) ? 1U : 0U;
        return (first & second) != 0;
    } else if constexpr (kSize == 8 || kSize == 4) {
        return Follows(Load(p, kSize), kFirst);
    } else {
        constexpr int kHalf = kSize > 4 ? 4 : 2;
        return Follows(Load(p, kHalf) | Load(p + kSize - kHalf, kHalf) << (8 * (kSize - kHalf)), kFirst);
    }
}

// Whether `word` (1 to 32 bytes) is all letters a-z.
bool AllLetters(std::string_view word);

// The letters a-z at `p` (32 bytes or more are left) when they are 1 to 30
// and CR LF follows them, else 0. 32 bytes are read at once, so where the
// word ends costs no branch: the first byte that is not a letter ends it.
inline int LetterLineSize(const char* p) {
    constexpr std::uint64_t kGather = 0x0102040810204080ULL;  // gathers the top bits of the bytes
    std::uint32_t others = 0;                                 // bit i: byte i is not a letter
    for (int i = 0; i < 4; ++i) {
        const std::uint64_t letters = InRange(Load(p + 8 * static_cast<std::ptrdiff_t>(i), 8), kLetters) >> 7;
        others |= static_cast<std::uint32_t>(0xff ^ (letters * kGather) >> 56) << (8 * i);
    }
    const int size = std::countr_zero(others);
    if (size == 0 || size > 30 || p[size] != '\r' || p[size + 1] != '\n') return 0;
    return size;
}

// Words found, handed to the results in batches, so that whether a word
// matched is counted rather than one more branch to guess per word.
class MatchBatch {
public:
    explicit MatchBatch(SearchSurface& surface) : surface_(surface) {}
    MatchBatch(const MatchBatch&) = delete;
    MatchBatch& operator=(const MatchBatch&) = delete;
    ~MatchBatch() { Flush(); }

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

// Reads the lines from `p` on while each is `Length` letters a-z and CR LF,
// and appends to the results of `surface` each word for which
// `spells(const char* word)` holds. Returns where it stopped: `end`, or the
// first line of any other shape. Lines are read in rounds of at most
// kBatch, so that the loop over a round asks only whether the line is
// whole, the start of each match kept and the matches appended after it.
template <int Length, class Spells>
const char* ReadLetterLines(const char* p, const char* end, SearchSurface& surface, Spells spells) {
    constexpr std::ptrdiff_t kLine = Length + 2;
    constexpr std::ptrdiff_t kBatch = 128;
    const char* found[kBatch];
    for (;;) {
        const char* const stop = p + std::min((end - p) / kLine, kBatch) * kLine;
        std::size_t count = 0;
        for (; p != stop && IsLetterLine<Length>(p); p += kLine) {
            found[count] = p;
            count += spells(p);
        }
        for (std::size_t i = 0; i < count; ++i) surface.ResultsAppend(std::string_view(found[i], Length));
        if (p != stop || end - p < kLine) return p;
    }
}

// Reads the lines from `p` on while each is 1 to 30 letters a-z and CR LF
// and 32 bytes are left, and appends to the results of `surface` each word
// for which `spells(const char* word, int size)` holds. Returns where it
// stopped.
template <class Spells>
const char* ReadLinesOfAnyLength(const char* p, const char* end, SearchSurface& surface, Spells spells) {
    MatchBatch matches(surface);
    for (int size = 0; end - p >= 32 && (size = LetterLineSize(p)) != 0; p += size + 2)
        matches.Add(p, static_cast<std::size_t>(size), spells(p, size));
    return p;
}

}  // namespace lexigrove::list_reader
