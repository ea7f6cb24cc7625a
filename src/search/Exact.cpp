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
    const std::string text = surface.ReadText();
    const int length = ListForTextLength(text.size());
    if (length < 2) return;
    const WordList list = LoadWordList(length);
    const bool found =
        std::any_of(list.begin(), list.end(), [&](std::string_view word) { return EqualIgnoringCase(word, text); });
    surface.ResultsAppend(text + (found ? " - Found" : " - Not Found"));
}

}  // namespace lexigrove
