#include "ResultsLog.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace lexigrove {

void ResultsLog::Append(std::string_view line) {
    // A new line goes at the start of the empty last line.
    const bool startsOnOpenLine =
        pending_.empty() ? !pane_->document()->lastBlock().text().isEmpty() : pending_.back() != '\n';
    if (startsOnOpenLine) {
        pending_ += '\n';
        pending_ += line;
    } else {
        pending_ += line;
        pending_ += '\n';
    }
    if (!updating_) Flush();
}

void ResultsLog::Flush() {
    if (pending_.empty()) return;
    const QString text = QString::fromUtf8(pending_.data(), static_cast<qsizetype>(pending_.size()));
    std::string().swap(pending_);

    QTextDocument* document = pane_->document();
    // The program's own appends are not for the user's undo.
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    document->setUndoRedoEnabled(true);
    pane_->setTextCursor(cursor);
}

void ResultsLog::Clear() {
    pending_.clear();
    pane_->clear();
}

int ResultsLog::LineCount() {
    Flush();
    const QTextDocument* document = pane_->document();
    int count = document->blockCount();
    if (document->lastBlock().text().isEmpty()) --count;
    return count;
}

void ResultsLog::EndUpdate() noexcept {
    updating_ = false;
    try {
        Flush();
    } catch (...) {
        pending_.clear();
        if (!deferredError_) deferredError_ = std::current_exception();
    }
}

void ResultsLog::RaiseDeferredError() {
    if (deferredError_) std::rethrow_exception(std::exchange(deferredError_, nullptr));
}

}  // namespace lexigrove
