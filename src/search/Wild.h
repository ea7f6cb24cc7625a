// Wild: the words of the text's length that match it, '?' matching any one
// letter; texts of 15 or more match inside the words of 15 letters and more.
#pragma once

#include <cstddef>
#include <string_view>

#include "SearchSurface.h"
#include "WordListCache.h"

namespace lexigrove {

// 1-based position of the first place at or after `start` where pattern `p`
// matches `s` ('?' in `p` matches any byte), or 0. Also 0 for an empty `s`
// or `p`, a start of 0 or past the end, or a pattern longer than what
// remains of `s`.
std::size_t FindPatternFrom(std::string_view s, std::string_view p, std::size_t start);

// The same, always through the transforms that FindPatternFrom uses for a
// long pattern in a long word, the pattern taken in pieces of at most
// `piece` bytes, as it is when longer than a million; for the tests.
std::size_t FindPatternInPieces(std::string_view s, std::string_view p, std::size_t start, std::size_t piece);

// Appends the matches of `text`, the edit box text already read, driving
// the progress bar, from a private list that `lists` loads without caching
// it. A list without words finds nothing.
void WildSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists);

}  // namespace lexigrove
