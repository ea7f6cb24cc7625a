// The main window's controls as the search command sees them: the edit box,
// the message box, the results pane, the progress bar, the length options
// and the three search buttons.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "ResultsLog.h"
#include "SearchSurface.h"
#include "TypedText.h"

class QAction;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;
class TKsCheckListBox;

namespace lexigrove {

class SearchEdit;

// The controls the searches use; the window owns them.
struct MainWindowControls {
    QWidget* window;
    SearchEdit* text;
    QAction* clearBeforeFind;
    QPlainTextEdit* results;
    QProgressBar* progress;
    TKsCheckListBox* options;
    std::array<QPushButton*, 3> searchButtons;
};

class MainWindowSurface : public SearchSurface {
public:
    explicit MainWindowSurface(const MainWindowControls& controls);

    std::string ReadText() const override;
    void WriteText(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    bool ClearBeforeFind() const override;
    int ResultsLineCount() const override;
    void ResultsAppend(std::string_view line) override;
    void ResultsClear() override;
    void ResultsBeginUpdate() override;
    void ResultsEndUpdate() override;
    void ResultsScrollToCaret() override;
    void ProgressSetMaximum(int maximum) override;
    void ProgressSetPosition(int position) override;
    int ProgressPosition() const override;
    bool OptionsEnabled() const override;
    int OptionsCount() const override;
    bool OptionsChecked(int index) const override;
    void SetSearchButtonsEnabled(bool enabled) override;

    // What the searches did since StartTally: the lines they wrote other
    // than the separator, the last of them (UTF-8), and whether they showed
    // a message instead.
    struct Tally {
        int lines = 0;
        std::string last;
        bool message = false;
    };
    void StartTally() { tally_ = {}; }
    const Tally& SearchTally() const { return tally_; }

    int ProgressMaximum() const { return progress_.Maximum(); }
    ResultsLog& Results() { return *results_; }

private:
    // Shows the progress model on the bar.
    void ShowProgress();

    MainWindowControls controls_;
    // The edit box's text as ReadText read it last.
    mutable TypedText typed_;
    ProgressModel progress_{"QProgressBar"};
    // The results pane's text as the searches write it.
    std::unique_ptr<ResultsLog> results_;
    Tally tally_;
};

}  // namespace lexigrove
