// Exact: whether the typed word is in the list.
#pragma once

#include <string_view>

#include "SearchSurface.h"
#include "WordListCache.h"

namespace lexigrove {

// Appends one line, `text` (the edit box text already read) followed by
// " - Found" or " - Not Found", nothing for a text under 2 bytes. The list
// is a private one that `lists` loads without caching it; its entries are
// compared with case ignored.
void ExactSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists);

}  // namespace lexigrove
