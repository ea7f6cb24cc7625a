// Unscramble: the words of one length that the typed letters can spell.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "SearchSurface.h"
#include "WordListCache.h"

namespace lexigrove {

// 1-based position of the first byte equal to `c` in `s` at or after
// `start`, or 0 (also for an empty `s`, a start of 0 or past the end).
std::size_t FindCharFrom(std::string_view s, char c, std::size_t start);

// Decides, word after word, which words a typed text spells under the
// left-to-right rule: a letter removes the leftmost remaining copy of itself
// from the word, a '?' removes the word's first remaining letter, and the
// word is spelled once nothing of it remains. The text is read once into a
// table, and each word is then decided in one lookup per letter, however
// long the text (see ALGORITHM.md).
class Speller {
public:
    // `longestWord`: the longest words that will be asked about; the text
    // is read only as far as such words can tell apart. 0: any word.
    explicit Speller(std::string_view text, std::size_t longestWord = 0);

    // The text, which must outlive the speller.
    std::string_view Text() const { return text_; }

    // Whether the text spells `word` (of at most `longestWord` bytes).
    bool Spells(std::string_view word) const { return Stop(word) == word.size(); }

    // Where the text stops spelling `word`: its size when the text spells
    // it; otherwise the position of the first byte that nothing in the text
    // can take, so that every word beginning with the same bytes up to and
    // including that one is not spelled either; or kNoStop when the word
    // is turned down as a whole.
    std::size_t Stop(std::string_view word) const;
    static constexpr std::size_t kNoStop = static_cast<std::size_t>(-1);
    bool HasWildcards() const { return wildcards_ > 0; }

private:
    std::string_view text_;
    std::size_t wildcards_ = 0;  // '?' read
    // wildcardsBefore_[c][k]: how many '?' come before the text's
    // (k + 1)-th copy of byte c.
    std::array<std::vector<std::uint32_t>, 256> wildcardsBefore_;
    // absent_[c]: 1 when the text has no copy of byte c.
    std::array<std::uint8_t, 256> absent_{};
    // While a word is decided: per byte, the copies that typed bytes have
    // removed from it, counted for the word numbered `word`; a count left
    // from an earlier word reads as none, so nothing is cleared in between.
    struct Removed {
        std::uint64_t word = 0;
        std::uint32_t copies = 0;
    };
    mutable std::array<Removed, 256> removed_{};
    mutable std::uint64_t word_ = 0;
};

// Appends every word of option `position` (0 to 13: word length position + 2,
// 13 for the 15-and-longer list) that the edit box text spells.
void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position);

// The same for the text `speller` was made from, which the caller has read:
// a search over several lengths reads its text once. The speller must take
// words as long as the list's longest.
void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position, const Speller& speller);

}  // namespace lexigrove
