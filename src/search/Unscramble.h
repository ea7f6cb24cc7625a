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

// Decides, word after word, which words a typed text spells, in a few steps
// a word however long the text is (see ALGORITHM.md). Words are read left to
// right and the state after each letter is kept, so a word that shares its
// first letters with the one before resumes from there: over an alphabetical
// list most words cost only their last few letters, and every word under a
// prefix that already failed costs nothing.
class Speller {
public:
    explicit Speller(std::string_view text);

    // Whether the text spells `word` under the left-to-right rule.
    bool Spells(std::string_view word);

    // The same answer without the kept state: every letter of the word is
    // read, with no early exit, so that every word of a list takes the same
    // branches. Cheaper than Spells when most words are read far anyway.
    bool SpellsWhole(std::string_view word) const;

    // How many '?' the text holds.
    std::uint64_t Wildcards() const { return wildcards_; }

private:
    // Each '?' takes one letter of a word that is not yet empty, so for a
    // word of up to this many letters only the first this many '?' matter.
    static constexpr int kMaxFastLength = 32;

    using Counts = std::array<std::uint8_t, 32>;  // per letter a-z

    bool SpellsLiterally(std::string_view word) const;
    int CommonBeginning(std::string_view word, int limit) const;

    // The text.
    std::string_view text_;
    std::uint64_t wildcards_ = 0;  // '?' in the text
    int tracked_ = 0;              // min(wildcards_, kMaxFastLength)
    // before_[j]: letters in the text before its (j + 1)-th '?';
    // before_[tracked_]: all of them (capped at 255).
    std::array<Counts, kMaxFastLength + 1> before_;

    // The word in hand, whose first depth_ letters are taken into account
    // (room for an 8-byte read past the last); when failedAt_ >= 0, its
    // letter failedAt_ (== depth_) was the one that nothing could remove.
    std::array<char, kMaxFastLength + 8> held_{};
    int depth_ = 0;
    int failedAt_ = -1;
    // The state after those letters: removed_[c], the copies of letter c
    // that typed letters removed; used_[d], the '?' spent on the first d
    // letters; typed_[d], whether a typed letter (not a '?') removed letter d.
    Counts removed_{};
    std::array<std::uint8_t, kMaxFastLength + 1> used_{};
    std::array<std::uint8_t, kMaxFastLength> typed_{};
};

}  // namespace lexigrove
