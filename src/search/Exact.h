// Exact: whether the typed word is in the list.
#pragma once

#include <string_view>

#include "SearchSurface.h"
#include "WordListCache.h"

namespace lexigrove {

// Appends one line, the text followed by " - Found" or " - Not Found"
// (nothing for a text under 2 bytes). Loads its own copy of the list.
void ExactSearch(SearchSurface& surface);

// The same for `text`, the edit box text already read, in a private list
// that `lists` loads without caching it.
void ExactSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists);

}  // namespace lexigrove
