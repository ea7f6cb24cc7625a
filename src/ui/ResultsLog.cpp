#include "ResultsLog.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace lexigrove {

namespace {

// Lays out the results pane's long lines in time that grows with their
// length. Wrapping at word boundaries, else anywhere, Qt measures the whole
// rest of an unbroken run for each line it makes of it, which takes time
// that grows with the square of the run's length. Here each line is first
// broken anywhere, which costs only its own length, and made again at word
// boundaries only when one falls inside it: the same lines, in linear time.
// Short lines are left to Qt.
class ResultsLayout : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    QRectF blockBoundingRect(const QTextBlock& block) const override {
        if (block.isValid() && block.layout()->lineCount() == 0 && OwnsLayout(block))
            const_cast<ResultsLayout*>(this)->LayOut(block);
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    }

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override {
        QTextDocument* document = this->document();
        const QTextBlock first = document->findBlock(from);
        const QTextBlock last = document->findBlock(std::max(0, from + charsRemoved + charsAdded - 1));
        const bool withinOneBlock = first == last && document->blockCount() == blockCount_;
        blockCount_ = document->blockCount();
        if (!withinOneBlock || !first.isValid() || first.length() == 0 || !OwnsLayout(first)) {
            QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
            return;
        }
        // An edit inside one long line: lay it out again here, as Qt would.
        const qreal heightBefore = first.layout()->lineCount() > 0 ? blockBoundingRect(first).height() : -1;
        LayOut(first);
        if (blockBoundingRect(first).height() == heightBefore)
            emit updateBlock(first);
        else
            emit update(QRectF(0., -document->documentMargin(), 1000000000., 1000000000.));
    }

private:
    static constexpr int kLongLine = 1000;

    bool OwnsLayout(const QTextBlock& block) const {
        return block.length() > kLongLine &&
               document()->defaultTextOption().wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
    }

    // Where a line may break: the boundaries of Unicode line breaking, and
    // after every white space.
    static std::vector<int> BreakOpportunities(const QString& text) {
        std::vector<int> breaks;
        QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
        for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary())
            breaks.push_back(static_cast<int>(at));
        for (qsizetype at = 1; at < text.size(); ++at)
            if (text[at - 1].isSpace()) breaks.push_back(static_cast<int>(at));
        std::sort(breaks.begin(), breaks.end());
        return breaks;
    }

    void LayOut(const QTextBlock& block) {
        QTextDocument* document = this->document();
        const qreal margin = document->documentMargin();
        QTextOption option = document->defaultTextOption();
        qreal width = frameBoundingRect(nullptr).width();
        if (width <= 0) width = qreal(INT_MAX);
        width -= 2 * margin;

        const QString text = block.text();
        const std::vector<int> breaks = BreakOpportunities(text);
        std::size_t nextBreak = 0;
        QTextLayout* layout = block.layout();
        qreal height = 0;
        layout->beginLayout();
        for (;;) {
            QTextLine line = layout->createLine();
            if (!line.isValid()) break;
            line.setLeadingIncluded(true);
            option.setWrapMode(QTextOption::WrapAnywhere);
            layout->setTextOption(option);
            line.setLineWidth(width);
            const int start = line.textStart();
            const int end = start + line.textLength();
            while (nextBreak < breaks.size() && breaks[nextBreak] <= start) ++nextBreak;
            if (end < text.size() && nextBreak < breaks.size() && breaks[nextBreak] <= end) {
                option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
                layout->setTextOption(option);
                line.setLineWidth(width);
            }
            line.setPosition(QPointF(margin, height));
            height += line.height();
            if (line.leading() < 0) height += qCeil(line.leading());
        }
        layout->endLayout();
        layout->setTextOption(document->defaultTextOption());

        const int linesBefore = document->lineCount();
        const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
        if (document->lineCount() != linesBefore) emit documentSizeChanged(documentSize());
    }

    int blockCount_ = 1;
};

}  // namespace

void LayOutLongLinesInLinearTime(QPlainTextEdit& pane) {
    auto* document = new QTextDocument(&pane);
    document->setDocumentLayout(new ResultsLayout(document));
    pane.setDocument(document);
}

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
