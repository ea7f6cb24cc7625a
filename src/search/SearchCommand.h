// The search command: every search the user starts runs through bFindClick.
#pragma once

#include <string>

#include "SearchSurface.h"
#include "WordListCache.h"

namespace lexigrove {

// Checks the text, prepares the results pane, lowercases the text and runs
// the search for `mode` (1 Unscramble, 2 Wild, 3 Exact; other values run no
// search but still do the surrounding steps).
void bFindClick(SearchSurface& surface, WordListCache& cache, int mode);

}  // namespace lexigrove
