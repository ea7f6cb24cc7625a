#include "Exact.h"

#include <algorithm>

#include "Ascii.h"
#include "LengthOptions.h"
#include "WordList.h"

namespace lexigrove {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return ascii::ToLower(x) == ascii::ToLower(y); });
}

// How `word` (lowercase letters) sorts against `text` (letters) with its
// capitals folded: below 0 before it, 0 equal, above 0 after it.
int CompareFolded(std::string_view word, std::string_view text) {
    for (std::size_t i = 0; i < word.size() && i < text.size(); ++i) {
        const char t = ascii::ToLower(text[i]);
        if (word[i] != t) return word[i] < t ? -1 : 1;
    }
    return word.size() < text.size() ? -1 : word.size() > text.size() ? 1 : 0;
}

// For a list of SortedWords(): a binary search over the lines of its text.
// A text of other bytes than letters is no word.
bool FoundInSortedWords(const WordList& list, std::string_view text) {
    if (!std::all_of(text.begin(), text.end(), [](char c) { return ascii::IsLetter(ascii::ToLower(c)); })) return false;
    const std::string_view all = list.Text();
    std::size_t low = 0;  // lines starting in [low, high) are left to look at
    std::size_t high = all.size();
    while (low < high) {
        std::size_t start = low + (high - low) / 2;
        while (start > low && all[start - 1] != '\n') --start;
        std::size_t next = all.find('\n', start);
        next = next == std::string_view::npos ? all.size() : next + 1;
        std::string_view word = all.substr(start, next - start);
        while (!word.empty() && (word.back() == '\n' || word.back() == '\r')) word.remove_suffix(1);
        const int order = CompareFolded(word, text);
        if (order == 0) return true;
        if (order < 0)
            low = next;
        else
            high = start;
    }
    return false;
}

}  // namespace

void ExactSearch(SearchSurface& surface, std::string_view text, const WordListCache& lists) {
    const int length = ListForTextLength(text.size());
    if (length < 2) return;
    const WordList list = lists.LoadUncached(length);
    const bool found = list.SortedWords() ? FoundInSortedWords(list, text)
                                          : std::any_of(list.begin(), list.end(), [&](std::string_view word) {
                                                return EqualIgnoringCase(word, text);
                                            });
    // The text is not copied: it may be a very long pasted line.
    surface.ResultsAppendJoined(text, found ? " - Found" : " - Not Found");
}

}  // namespace lexigrove
