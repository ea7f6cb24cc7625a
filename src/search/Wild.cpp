#include "Wild.h"

#include <algorithm>
#include <limits>

#include "UpdateGuard.h"
#include "WordList.h"

namespace lexigrove {

std::size_t FindPatternFrom(std::string_view s, std::string_view p, std::size_t start) {
    if (p.empty() || start < 1 || start > s.size() || p.size() > s.size() - (start - 1)) return 0;
    const auto matches = [](char byte, char wanted) { return wanted == '?' || wanted == byte; };
    const auto at =
        std::search(s.begin() + static_cast<std::ptrdiff_t>(start - 1), s.end(), p.begin(), p.end(), matches);
    return at == s.end() ? 0 : static_cast<std::size_t>(at - s.begin()) + 1;
}

void WildSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists) {
    const int length = ListForTextLength(text.size());
    if (length < 2) return;
    const WordList list = lists.LoadUncached(length);
    // The bar runs over the entries; an empty list (a word file without
    // words of this length) leaves it at 0 of 0 rather than below its
    // minimum.
    constexpr std::size_t kMost = std::numeric_limits<int>::max();
    surface.ProgressSetMaximum(static_cast<int>(std::min(std::max<std::size_t>(list.size(), 1) - 1, kMost)));
    surface.ProgressSetPosition(0);
    {
        UpdateGuard update(surface);
        std::size_t i = 0;
        for (const std::string_view word : list) {
            if (i % 100 == 0) surface.ProgressSetPosition(static_cast<int>(std::min(i, kMost)));
            if (!word.empty() && FindPatternFrom(word, text, 1) > 0) surface.ResultsAppend(word);
            ++i;
        }
    }
    surface.ResultsScrollToCaret();
}

}  // namespace lexigrove
