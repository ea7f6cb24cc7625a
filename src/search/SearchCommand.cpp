#include "SearchCommand.h"

#include <algorithm>
#include <optional>

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

// The text is read once for every length.
void RunUnscramble(SearchSurface& surface, WordListCache& cache, int checkedCount, std::string_view text) {
    surface.ProgressSetMaximum(checkedCount);
    {
        UpdateGuard update(surface);
        const Speller speller(text);
        for (int i = 0; i < kLengthOptionCount; ++i) {
            if (surface.OptionsChecked(i) && static_cast<std::size_t>(OptionWordLength(i)) <= text.size())
                UnscrambleLength(surface, cache, i, speller);
            surface.ProgressSetPosition(surface.ProgressPosition() + 1);
        }
    }
    surface.ResultsScrollToCaret();
}

}  // namespace

std::string LowercaseAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    return text;
}

namespace {

bool HasCapitals(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
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

    // The searches read the text as it stands once written back; a text
    // without capitals is read once, and not copied where the surface lends
    // it.
    std::optional<SearchText> text;
    text.emplace(surface);
    if (HasCapitals(text->View())) {
        surface.WriteText(LowercaseAscii(std::string(text->View())));
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
