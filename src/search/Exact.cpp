#include "Exact.h"

#include <algorithm>
#include <string>

#include "LengthOptions.h"
#include "WordList.h"

namespace lexigrove {

namespace {

unsigned char FoldCase(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// For a list of SortedWords(): a binary search over the lines of its text.
// A text of other bytes than letters is no word.
// How `word` (lowercase) sorts against `text` with its capitals folded:
// below 0 before it, 0 equal, above 0 after it.
int CompareFolded(std::string_view word, std::string_view text) {
    int order = 0;
    for (std::size_t i = 0; i < std::min(word.size(), text.size()) && order == 0; ++i)
        order = static_cast<int>(static_cast<unsigned char>(word[i])) -
                static_cast<int>(FoldCase(static_cast<unsigned char>(text[i])));
    if (order == 0) order = word.size() < text.size() ? -1 : word.size() > text.size() ? 1 : 0;
    return order;
}

bool FoundInSortedWords(const WordList& list, std::string_view text) {
    for (const char c : text) {
        const unsigned char folded = FoldCase(static_cast<unsigned char>(c));
        if (folded < 'a' || folded > 'z') return false;
    }
    const std::string_view all = list.Text();
    const char* const b = all.data();
    std::size_t low = 0;  // lines starting in [low, high) are left to look at
    std::size_t high = all.size();
    while (low < high) {
        std::size_t start = low + (high - low) / 2;
        while (start > low && b[start - 1] != '\n') --start;
        const std::size_t end = all.find('\r', start);
        if (end == std::string_view::npos) return false;  // not of the shape promised
        const std::string_view word = all.substr(start, end - start);
        const int order = CompareFolded(word, text);
        if (order == 0) return true;
        if (order < 0)
            low = end + 2;
        else
            high = start;
    }
    return false;
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
    const bool found = list.SortedWords() ? FoundInSortedWords(list, text)
                                          : std::any_of(list.begin(), list.end(), [&](std::string_view word) {
                                                return EqualIgnoringCase(word, text);
                                            });
    std::string line(text);
    line += found ? " - Found" : " - Not Found";
    surface.ResultsAppend(line);
}

}  // namespace lexigrove
