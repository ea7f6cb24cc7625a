// Wild: the words of the text's length that match it, '?' matching any one
// letter; texts of 15 or more match inside the words of 15 letters and more.
#pragma once

#include <string_view>

#include "SearchSurface.h"
#include "WordListCache.h"

namespace lexigrove {

// 1-based position of the first place at or after `start` where pattern `p`
// matches `s` ('?' in `p` matches any byte), or 0. Also 0 for an empty `s`
// or `p`, a start below 1 or past the end, or a pattern longer than what
// remains of `s`.
int FindPatternFrom(std::string_view s, std::string_view p, int start);

// Appends the matches of the edit box text, driving the progress bar. Loads
// its own copy of the list and leaves the cache alone.
void WildSearch(SearchSurface& surface);

// The same for `text`, the edit box text already read, in a private list
// that `lists` loads without caching it.
void WildSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists);

}  // namespace lexigrove
