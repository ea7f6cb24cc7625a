// The results pane: its layout of long lines, and its log, the lines the
// searches write, held back while an update is open so that they reach the
// pane in one insertion.
#pragma once

#include <exception>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace lexigrove {

// Gives `pane` an empty document whose long lines are laid out in time that
// grows with their length, in the lines Qt itself would make of them.
void LayOutLongLinesInLinearTime(QPlainTextEdit& pane);

class ResultsLog {
public:
    explicit ResultsLog(QPlainTextEdit* pane) : pane_(pane) {}

    // Adds a line (UTF-8). The text ends with a line break after each line
    // written here; after text the user typed without one, the line break
    // comes first.
    void Append(std::string_view line);
    // Writes the lines held back since the last flush into the pane; the
    // caret follows them.
    void Flush();
    // Empties the pane, and drops the lines held back.
    void Clear();
    // The pane's lines, the empty line after the last line break not counted.
    int LineCount();

    // Between these, appends wait. EndUpdate runs while a failed search
    // unwinds, so nothing leaves it: a failure to write is kept until
    // RaiseDeferredError.
    void BeginUpdate() { updating_ = true; }
    void EndUpdate() noexcept;
    void ForgetDeferredError() { deferredError_ = nullptr; }
    void RaiseDeferredError();

private:
    QPlainTextEdit* pane_;
    std::string pending_;
    bool updating_ = false;
    std::exception_ptr deferredError_;
};

}  // namespace lexigrove
