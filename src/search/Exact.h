// Exact: whether the typed word is in the list.
#pragma once

#include "SearchSurface.h"

namespace lexigrove {

// Appends one line, the text followed by " - Found" or " - Not Found"
// (nothing for a text under 2 bytes). Loads its own copy of the list.
void ExactSearch(SearchSurface& surface);

}  // namespace lexigrove
