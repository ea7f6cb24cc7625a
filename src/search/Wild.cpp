#include "Wild.h"

#include <string>

#include "UpdateGuard.h"
#include "WordList.h"

namespace lexigrove {

int FindPatternFrom(std::string_view s, std::string_view p, int start) {
    if (s.empty() || p.empty() || start < 1 || static_cast<std::size_t>(start) > s.size()) return 0;
    const std::size_t first = static_cast<std::size_t>(start - 1);
    if (p.size() > s.size() - first) return 0;
    for (std::size_t o = first; o + p.size() <= s.size(); ++o) {
        std::size_t j = 0;
        while (j < p.size() && (p[j] == '?' || p[j] == s[o + j])) ++j;
        if (j == p.size()) return static_cast<int>(o) + 1;
    }
    return 0;
}

void WildSearch(SearchSurface& surface) {
    const SearchText text(surface);
    WildSearch(surface, text.View(), WordListCache());
}

void WildSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists) {
    const int length = ListForTextLength(text.size());
    if (length < 2) return;
    const WordList list = lists.LoadUncached(length);
    surface.ProgressSetMaximum(static_cast<int>(list.size()) - 1);
    surface.ProgressSetPosition(0);
    {
        UpdateGuard update(surface);
        std::size_t i = 0;
        for (const std::string_view word : list) {
            if (i % 100 == 0) surface.ProgressSetPosition(static_cast<int>(i));
            if (!word.empty() && FindPatternFrom(word, text, 1) > 0) surface.ResultsAppend(word);
            ++i;
        }
    }
    surface.ResultsScrollToCaret();
}

}  // namespace lexigrove
