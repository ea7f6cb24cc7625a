#include "Wild.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "UpdateGuard.h"
#include "WordList.h"

namespace lexigrove {

namespace {

// Arithmetic modulo the prime 2^64 - 2^32 + 1, on which number-theoretic
// transforms of any size up to 2^32 are exact.
__extension__ using Wide = unsigned __int128;
constexpr std::uint64_t kPrime = 0xFFFFFFFF00000001ULL;
constexpr std::uint64_t kLow = 0xFFFFFFFFULL;  // 2^64, modulo the prime
constexpr std::uint64_t kGenerator = 7;        // of the prime's multiplicative group

std::uint64_t Add(std::uint64_t a, std::uint64_t b) {
    std::uint64_t sum = a + b;
    if (sum < a) sum += kLow;  // the 2^64 carried out
    return sum >= kPrime ? sum - kPrime : sum;
}

std::uint64_t Sub(std::uint64_t a, std::uint64_t b) { return a >= b ? a - b : a + (kPrime - b); }

std::uint64_t Mul(std::uint64_t a, std::uint64_t b) {
    const Wide x = static_cast<Wide>(a) * b;
    const auto low = static_cast<std::uint64_t>(x);
    const auto high = static_cast<std::uint64_t>(x >> 64);
    // x = low + 2^64 (high mod 2^32) + 2^96 (high / 2^32), where 2^64 is
    // 2^32 - 1 and 2^96 is -1.
    std::uint64_t rest = low - (high >> 32);
    if (low < (high >> 32)) rest -= kLow;  // the 2^64 borrowed
    return Add(rest, (high & kLow) * kLow);
}

std::uint64_t Power(std::uint64_t base, std::uint64_t exponent) {
    std::uint64_t result = 1;
    for (; exponent != 0; exponent >>= 1, base = Mul(base, base))
        if ((exponent & 1) != 0) result = Mul(result, base);
    return result;
}

// The transform of `a` (a power of two long) in place, or its inverse.
void Transform(std::vector<std::uint64_t>& a, bool inverse) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t half = 1; half < n; half <<= 1) {
        std::uint64_t root = Power(kGenerator, (kPrime - 1) / (2 * half));
        if (inverse) root = Power(root, kPrime - 2);
        for (std::size_t i = 0; i < n; i += 2 * half) {
            std::uint64_t w = 1;
            for (std::size_t k = i; k < i + half; ++k) {
                const std::uint64_t u = a[k];
                const std::uint64_t v = Mul(a[k + half], w);
                a[k] = Add(u, v);
                a[k + half] = Sub(u, v);
                w = Mul(w, root);
            }
        }
    }
    if (inverse) {
        const std::uint64_t scale = Power(n, kPrime - 2);
        for (std::uint64_t& x : a) x = Mul(x, scale);
    }
}

// Fast path for a long pattern in a long word (only lines of a word file
// are that long): the first 0-based place at or after `from` where `p`
// matches `s`, or npos, in time that grows as the word's length times the
// logarithm of the pattern's, where trying each place in turn grows as the
// two lengths multiplied. A word of 300,000 letters and a pattern of
// 150,001 characters (bench/huge_text.sh, whole process): 0.27 s against
// 12.3 s trying each place; 1,000,000 and 500,001: 0.58 s against 148 s.
//
// Each byte is numbered (the pattern's own from 1, all others one above
// them) and each '?' of the pattern counts 0. Then at place i the sum over
// the pattern's positions j of p[j] s[i+j] (p[j] - s[i+j])^2 is 0 exactly
// where the pattern matches; the sums of all places come from three
// correlations, computed with transforms over blocks of the word.
std::size_t FindByTransform(std::string_view s, std::string_view p, std::size_t from);

using Numbers = std::array<std::uint64_t, 256>;

// The pattern's bytes numbered from 1, every other byte one above them.
Numbers NumberBytes(std::string_view p) {
    Numbers number{};
    std::uint64_t numbered = 0;
    for (const char c : p)
        if (c != '?' && number[static_cast<unsigned char>(c)] == 0) number[static_cast<unsigned char>(c)] = ++numbered;
    for (std::uint64_t& n : number)
        if (n == 0) n = numbered + 1;
    return number;
}

std::uint64_t ToThe(std::uint64_t v, std::size_t power) { return power == 1 ? v : power == 2 ? v * v : v * v * v; }

// The transforms of the pattern's numbers reversed, '?' counting 0, to the
// powers 3, 2 and 1.
std::array<std::vector<std::uint64_t>, 3> PatternTransforms(std::string_view p, const Numbers& number,
                                                            std::size_t size) {
    std::array<std::vector<std::uint64_t>, 3> pattern;
    for (std::size_t i = 0; i < 3; ++i) {
        pattern[i].assign(size, 0);
        for (std::size_t j = 0; j < p.size(); ++j)
            pattern[i][p.size() - 1 - j] = p[j] == '?' ? 0 : ToThe(number[static_cast<unsigned char>(p[j])], 3 - i);
        Transform(pattern[i], false);
    }
    return pattern;
}

// Into sums[i + m - 1], for each place i of the block of s that starts at
// `first` and is sums.size() long (0 past the end of s), the sum at that
// place, for the first sums.size() - m + 1 places.
void BlockSums(std::string_view s, std::size_t first, const Numbers& number,
               const std::array<std::vector<std::uint64_t>, 3>& pattern, std::vector<std::uint64_t>& block,
               std::vector<std::uint64_t>& sums) {
    for (std::size_t power = 1; power <= 3; ++power) {
        for (std::size_t k = 0; k < block.size(); ++k)
            block[k] = first + k < s.size() ? ToThe(number[static_cast<unsigned char>(s[first + k])], power) : 0;
        Transform(block, false);
        for (std::size_t k = 0; k < block.size(); ++k) {
            const std::uint64_t term = Mul(pattern[power - 1][k], block[k]);
            sums[k] = power == 1 ? term : power == 2 ? Sub(sums[k], Add(term, term)) : Add(sums[k], term);
        }
    }
    Transform(sums, true);
}

// Calls found(i) for each 0-based place i at or after `from` where `p`
// matches `s`, in order, until it returns false.
template <typename Found>
void MatchesByTransform(std::string_view s, std::string_view p, std::size_t from, Found found) {
    const Numbers number = NumberBytes(p);
    const std::size_t m = p.size();
    std::size_t size = 2;
    while (size < 2 * m) size <<= 1;
    const auto pattern = PatternTransforms(p, number, size);
    std::vector<std::uint64_t> block(size);
    std::vector<std::uint64_t> sums(size);
    for (std::size_t first = from; first + m <= s.size(); first += size - m + 1) {
        BlockSums(s, first, number, pattern, block, sums);
        for (std::size_t i = 0; i < size - m + 1 && first + i + m <= s.size(); ++i)
            if (sums[i + m - 1] == 0 && !found(first + i)) return;
    }
}

std::size_t FindByTransform(std::string_view s, std::string_view p, std::size_t from) {
    std::size_t first = std::string_view::npos;
    MatchesByTransform(s, p, from, [&first](std::size_t at) {
        first = at;
        return false;
    });
    return first;
}

// The same for a pattern taken in pieces of at most `piece` bytes, which
// bounds the transforms' memory: the pattern matches where each piece
// matches at its own offset. Each piece is one more pass over the word.
std::size_t FindByTransformInPieces(std::string_view s, std::string_view p, std::size_t from, std::size_t piece) {
    const std::size_t places = s.size() - from - p.size() + 1;
    std::vector<bool> possible(places, true);
    std::vector<bool> here(places);
    for (std::size_t offset = 0; offset < p.size(); offset += piece) {
        const std::string_view part = p.substr(offset, piece);
        if (std::all_of(part.begin(), part.end(), [](char c) { return c == '?'; })) continue;
        // The part may match only where the whole pattern could start.
        const std::string_view reach = s.substr(0, from + offset + places - 1 + part.size());
        std::fill(here.begin(), here.end(), false);
        MatchesByTransform(reach, part, from + offset, [&](std::size_t at) {
            here[at - offset - from] = true;
            return true;
        });
        for (std::size_t i = 0; i < places; ++i) possible[i] = possible[i] && here[i];
    }
    const auto first = std::find(possible.begin(), possible.end(), true);
    return first == possible.end() ? std::string_view::npos : from + static_cast<std::size_t>(first - possible.begin());
}

}  // namespace

std::size_t FindPatternFrom(std::string_view s, std::string_view p, std::size_t start) {
    if (p.empty() || start < 1 || start > s.size() || p.size() > s.size() - (start - 1)) return 0;
    // Trying each place in turn costs up to places x pattern byte
    // comparisons; the transforms about a hundred of them a byte of the word
    // and the pattern, for each time the block size doubles. The cheaper
    // way is taken. A pattern of more than a million characters goes to the
    // transforms in pieces of a million, which take 160 MB, each piece one
    // more pass over the word. (The transforms never pay for a hundred
    // places or fewer, nor for a pattern of a hundred bytes or fewer: the
    // words of the program's own lists are asked about at once.)
    const std::size_t rest = s.size() - (start - 1);
    const std::size_t places = rest - p.size() + 1;
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    if (places > 100 && p.size() > 100) {
        std::size_t doublings = 1;
        while ((std::size_t{1} << doublings) < 2 * std::min(p.size(), kPiece)) ++doublings;
        const std::size_t passes = (p.size() + kPiece - 1) / kPiece;
        if (static_cast<Wide>(places) * p.size() > static_cast<Wide>(100) * (rest + p.size()) * doublings * passes)
            return FindPatternInPieces(s, p, start, kPiece);
    }
    const auto matches = [](char byte, char wanted) { return wanted == '?' || wanted == byte; };
    const auto at =
        std::search(s.begin() + static_cast<std::ptrdiff_t>(start - 1), s.end(), p.begin(), p.end(), matches);
    return at == s.end() ? 0 : static_cast<std::size_t>(at - s.begin()) + 1;
}

std::size_t FindPatternInPieces(std::string_view s, std::string_view p, std::size_t start, std::size_t piece) {
    if (p.empty() || piece == 0 || start < 1 || start > s.size() || p.size() > s.size() - (start - 1)) return 0;
    const std::size_t at =
        p.size() <= piece ? FindByTransform(s, p, start - 1) : FindByTransformInPieces(s, p, start - 1, piece);
    return at == std::string_view::npos ? 0 : at + 1;
}

void WildSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists) {
    const int length = ListForTextLength(text.size());
    if (length < 2) return;
    const WordList list = lists.LoadUncached(length);
    // The bar runs over the entries; an empty list (a word file without
    // words of this length) leaves it at 0 of 0 rather than below its
    // minimum.
    constexpr std::size_t kMost = std::numeric_limits<int>::max();
    surface.ProgressSetMaximum(static_cast<int>(std::min(std::max<std::size_t>(list.size(), 1) - 1, kMost)));
    surface.ProgressSetPosition(0);
    {
        UpdateGuard update(surface);
        std::size_t i = 0;
        for (const std::string_view word : list) {
            if (i % 100 == 0) surface.ProgressSetPosition(static_cast<int>(std::min(i, kMost)));
            if (!word.empty() && FindPatternFrom(word, text, 1) > 0) surface.ResultsAppend(word);
            ++i;
        }
    }
    surface.ResultsScrollToCaret();
}

}  // namespace lexigrove
