// Unscramble: the words of one length that the typed letters can spell.
#pragma once

#include <array>
#include <cstddef>
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

class Speller;

// The same for the text `speller` was made from, which the caller has read:
// a search over several lengths reads its text once.
void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position, const Speller& speller);

// Decides, word after word, which words a typed text spells, in one table
// lookup a letter however long the text is (see ALGORITHM.md).
class Speller {
public:
    // Words of up to this many letters are decided by the fast path.
    static constexpr int kMaxFastLength = 32;

    // `longestWord` (1 to kMaxFastLength) bounds the words the fast path
    // will be asked about; longer ones go through the rule as written.
    explicit Speller(std::string_view text, int longestWord = kMaxFastLength);

    // The text, which must outlive the speller.
    std::string_view Text() const { return text_; }
    // The longest words the fast path decides.
    int LongestWord() const { return rows_; }

    // Whether the text spells `word` under the left-to-right rule.
    bool Spells(std::string_view word) const;

    // Reads (with list_reader) the lines of a list's text from `p` while each
    // is `length` letters a-z followed by CR LF (`length` 2 to 14, at most
    // `longestWord`), and appends to the results of `surface` each word the
    // text spells. Returns where it stopped: `end`, or the first line of any
    // other shape.
    const char* SpellLines(int length, const char* p, const char* end, SearchSurface& surface) const;

    // Reads the lines from `p` on while each is letters a-z followed by
    // CR LF, and 32 bytes are left, and appends to the results of `surface`
    // each word the text spells. Returns where it stopped.
    const char* SpellLinesOfAnyLength(const char* p, const char* end, SearchSurface& surface) const;

private:
    using Row = std::array<std::uint8_t, 32>;  // per letter a-z, and room

    // Returned by FailureWithWildcards for a word the text spells.
    static constexpr int kSpelled = 255;

    // For words of letters a-z only; `Length` 0 where it is `size`.
    template <int Length>
    bool HasTypedCopies(const char* word, int size) const;
    template <int Length>
    int FailureWithWildcards(const char* word, int size) const;
    template <int Length>
    bool SpellsWithOneWildcardShort(const char* word) const;
    bool SpellsLetters(const char* word, int size) const;
    template <int Length>
    const char* SpellLines(const char* p, const char* end, SearchSurface& surface) const;
    bool SpellsLiterally(std::string_view word) const;

    std::string_view text_;
    std::uint32_t tracked_ = 0;  // '?' read from the text, at most kMaxFastLength
    int rows_ = 0;               // rows of wildcardsBefore_ in use
    Row typed_{};                // copies of each letter typed, at most rows_
    Row countFrom_{};            // 127 - typed_
    // wildcardsBefore_[k][c]: how many '?' the text holds before its
    // (k + 1)-th copy of letter c, or 255 when it holds fewer copies (and
    // a spare row).
    std::array<Row, kMaxFastLength + 1> wildcardsBefore_;
};

}  // namespace lexigrove
