#include "SearchCommand.h"

#include <algorithm>
#include <optional>

#include "Ascii.h"
#include "Exact.h"
#include "Unscramble.h"
#include "UpdateGuard.h"
#include "Wild.h"

namespace lexigrove {

namespace {

// Keeps the search buttons disabled while a search runs and enables them
// again however it ends.
class ButtonsDisabled {
public:
    explicit ButtonsDisabled(SearchSurface& surface) : surface_(surface) { surface_.SetSearchButtonsEnabled(false); }
    ~ButtonsDisabled() { surface_.SetSearchButtonsEnabled(true); }
    ButtonsDisabled(const ButtonsDisabled&) = delete;
    ButtonsDisabled& operator=(const ButtonsDisabled&) = delete;

private:
    SearchSurface& surface_;
};

// Whether Unscramble searches the list of option `i`: the option is ticked
// and its words are no longer than the text.
bool Searched(const SearchSurface& surface, int i, std::string_view text) {
    return surface.OptionsChecked(i) && static_cast<std::size_t>(OptionWordLength(i)) <= text.size();
}

// The text is read once for every length.
void RunUnscramble(SearchSurface& surface, WordListCache& cache, int checkedCount, std::string_view text) {
    surface.ProgressSetMaximum(checkedCount);
    {
        UpdateGuard update(surface);
        // One speller for every length searched, reading the text as far as
        // the longest word among them needs.
        // A text no longer than a list's shortest words is read whole
        // anyway, and the list need not be measured.
        std::size_t longest = 1;
        for (int i = 0; i < kLengthOptionCount; ++i) {
            if (!Searched(surface, i, text)) continue;
            const auto shortest = static_cast<std::size_t>(OptionWordLength(i));
            longest = std::max(longest,
                               text.size() <= shortest ? text.size() : cache.Fetch(OptionWordLength(i)).LongestEntry());
        }
        const Speller speller(text, longest);
        for (int i = 0; i < kLengthOptionCount; ++i) {
            if (Searched(surface, i, text)) UnscrambleLength(surface, cache, i, speller);
            surface.ProgressSetPosition(surface.ProgressPosition() + 1);
        }
    }
    surface.ResultsScrollToCaret();
}

}  // namespace

void bFindClick(SearchSurface& surface, WordListCache& cache, int mode) {
    if (SearchText(surface).View().empty()) {
        surface.ShowMessage(std::string(kNoLettersMessage));
        return;
    }
    surface.ProgressSetPosition(0);
    if (surface.ClearBeforeFind()) surface.ResultsClear();
    ButtonsDisabled busy(surface);
    if (surface.ResultsLineCount() >= 1) surface.ResultsAppend(kSeparator);

    // The searches read the text as it stands once lowercased; a text
    // without capitals is read once, and not copied where the surface lends
    // it.
    std::optional<SearchText> text;
    text.emplace(surface);
    if (ascii::HasCapitals(text->View())) {
        text.reset();
        surface.LowercaseText();
        text.emplace(surface);
    }

    int checkedCount = 0;
    if (surface.OptionsEnabled()) {
        const int count = surface.OptionsCount();
        for (int i = 0; i < count; ++i)
            if (surface.OptionsChecked(i)) ++checkedCount;
    }

    switch (mode) {
        case kUnscramble:
            RunUnscramble(surface, cache, checkedCount, text->View());
            break;
        case kWild:
            WildSearch(surface, text->View(), cache);
            break;
        case kExact:
            ExactSearch(surface, text->View(), cache);
            break;
        default:
            break;
    }
}

}  // namespace lexigrove
