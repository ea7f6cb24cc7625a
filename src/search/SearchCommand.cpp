#include "SearchCommand.h"

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

// Word length of length option `position`; the last option stands for 15
// letters and more.
int OptionWordLength(int position) { return position + 2; }

void RunUnscramble(SearchSurface& surface, WordListCache& cache, int checkedCount, std::size_t textLength) {
    surface.ProgressSetMaximum(checkedCount);
    {
        UpdateGuard update(surface);
        for (int i = 0; i < kLengthOptionCount; ++i) {
            if (surface.OptionsChecked(i) && static_cast<std::size_t>(OptionWordLength(i)) <= textLength)
                UnscrambleLength(surface, cache, i);
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

void bFindClick(SearchSurface& surface, WordListCache& cache, int mode) {
    if (surface.ReadText().empty()) {
        surface.ShowMessage(std::string(kNoLettersMessage));
        return;
    }
    surface.ProgressSetPosition(0);
    if (surface.ClearBeforeFind()) surface.ResultsClear();
    ButtonsDisabled busy(surface);
    if (surface.ResultsLineCount() >= 1) surface.ResultsAppend(kSeparator);

    const std::string typed = surface.ReadText();
    const std::string text = LowercaseAscii(typed);
    if (text != typed) surface.WriteText(text);

    int checkedCount = 0;
    if (surface.OptionsEnabled()) {
        const int count = surface.OptionsCount();
        for (int i = 0; i < count; ++i)
            if (surface.OptionsChecked(i)) ++checkedCount;
    }

    switch (mode) {
        case kUnscramble: RunUnscramble(surface, cache, checkedCount, text.size()); break;
        case kWild: WildSearch(surface); break;
        case kExact: ExactSearch(surface); break;
        default: break;
    }
}

}  // namespace lexigrove
