#include "Exact.h"

#include <algorithm>
#include <string>

#include "Wild.h"
#include "WordList.h"

namespace lexigrove {

namespace {

unsigned char FoldCase(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

}  // namespace

void ExactSearch(SearchSurface& surface) {
    const SearchText text(surface);
    ExactSearch(surface, text.View(), WordListCache());
}

void ExactSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists) {
    const int length = ListForTextLength(text.size());
    if (length < 2) return;
    const WordList list = lists.LoadUncached(length);
    const bool found =
        std::any_of(list.begin(), list.end(), [&](std::string_view word) { return EqualIgnoringCase(word, text); });
    std::string line(text);
    line += found ? " - Found" : " - Not Found";
    surface.ResultsAppend(line);
}

}  // namespace lexigrove
