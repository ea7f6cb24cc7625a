// Unscramble: the words of one length that the typed letters can spell.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "SearchSurface.h"
#include "WordListCache.h"

namespace lexigrove {

// 1-based position of the first byte equal to `c` in `s` at or after
// `start`, or 0 (also for an empty `s`, a start below 1 or past the end).
int FindCharFrom(std::string_view s, char c, int start);

// Appends every word of option `position` (0 to 13: word length position + 2,
// 13 for the 15-and-longer list) that the edit box text spells. The text is
// consumed left to right: a letter removes the leftmost remaining copy of
// itself from the word, a '?' removes the word's first remaining letter, and
// the word matches once nothing of it remains.
void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position);

// The typed text, reduced to what decides a match, so that each word costs
// a few steps however long the text is. See ALGORITHM.md.
class LetterPool {
public:
    explicit LetterPool(std::string_view text);

    // Whether the text spells `word` under the left-to-right rule.
    bool CanSpell(std::string_view word) const;

private:
    // Words up to this many letters take the fast path.
    static constexpr int kMaxFastLength = 32;

    bool SpellsWithWildcards(std::string_view word) const;
    bool SpellsLiterally(std::string_view word) const;

    std::string_view text_;
    std::size_t textLength_ = 0;
    std::uint64_t wildcards_ = 0;  // '?' in the text
    int segments_ = 1;             // letter runs around the first '?'s that matter
    std::array<std::uint8_t, 32> total_{};  // letters in the whole text, capped
    std::array<std::array<std::uint8_t, 32>, kMaxFastLength + 1> segment_{};
};

}  // namespace lexigrove
