#include "EditAccessible.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QSet>
#include <QTextBoundaryFinder>
#include <QVariant>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace lexigrove {
namespace {

struct Span {
    int start;
    int end;
};

// Characters, words and sentences are found by Unicode's rules; the box
// holds one line, so a line or a paragraph is the whole text.
std::optional<QTextBoundaryFinder::BoundaryType> FinderType(QAccessible::TextBoundaryType type) {
    switch (type) {
        case QAccessible::CharBoundary:
            return QTextBoundaryFinder::Grapheme;
        case QAccessible::WordBoundary:
            return QTextBoundaryFinder::Word;
        case QAccessible::SentenceBoundary:
            return QTextBoundaryFinder::Sentence;
        case QAccessible::LineBoundary:
        case QAccessible::ParagraphBoundary:
        case QAccessible::NoBoundary:
            break;
    }
    return std::nullopt;
}

// The item of `type` that holds the character at `offset`
// (0 <= offset < text.size()).
Span ItemAt(const QString& text, QAccessible::TextBoundaryType type, int offset) {
    const int size = static_cast<int>(text.size());
    const auto finderType = FinderType(type);
    if (!finderType) return {0, size};
    QTextBoundaryFinder finder(*finderType, text);
    finder.setPosition(offset);
    const qsizetype before = finder.isAtBoundary() ? offset : finder.toPreviousBoundary();
    finder.setPosition(offset);
    const qsizetype after = finder.toNextBoundary();
    return {before < 0 ? 0 : static_cast<int>(before), after < 0 ? size : static_cast<int>(after)};
}

QString Cut(const QString& text, Span span, int* startOffset, int* endOffset) {
    *startOffset = span.start;
    *endOffset = span.end;
    return text.mid(span.start, span.end - span.start);
}

QString Nothing(int* startOffset, int* endOffset) {
    *startOffset = *endOffset = -1;
    return {};
}

// An offset as a reader may give it: -1 for the end of the text, -2 for the
// caret. Empty when it lies outside the text.
std::optional<int> Resolve(int offset, int size, int caret) {
    if (offset == -1) return size;
    if (offset == -2) return caret;
    if (offset < 0 || offset > size) return std::nullopt;
    return offset;
}

QSet<QString>& Classes() {
    static QSet<QString> classes;
    return classes;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (!Classes().contains(className)) return nullptr;
    auto* edit = qobject_cast<QLineEdit*>(object);
    return edit != nullptr ? new EditAccessible(edit) : nullptr;
}

}  // namespace

EditAccessible::EditAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

QLineEdit* EditAccessible::edit() const { return static_cast<QLineEdit*>(widget()); }

std::optional<int> EditAccessible::Locate(int offset, int size) const {
    if (edit()->echoMode() != QLineEdit::Normal) return std::nullopt;
    return Resolve(offset, size, cursorPosition());
}

QString EditAccessible::ReadableText() const {
    return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : QString();
}

void* EditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString EditAccessible::text(QAccessible::Text kind) const {
    QString value;
    if (kind == QAccessible::Value) {
        if (edit()->echoMode() == QLineEdit::Normal)
            value = edit()->text();
        else if (edit()->echoMode() != QLineEdit::NoEcho)
            value = QString(edit()->text().size(), QLatin1Char('*'));
    }
    return value.isEmpty() ? QAccessibleWidget::text(kind) : value;
}

void EditAccessible::setText(QAccessible::Text kind, const QString& text) {
    if (kind != QAccessible::Value) {
        QAccessibleWidget::setText(kind, text);
        return;
    }
    ReplaceRange(0, static_cast<int>(edit()->text().size()), text);
}

QAccessible::State EditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (edit()->isReadOnly())
        state.readOnly = true;
    else
        state.editable = true;
    if (edit()->echoMode() != QLineEdit::Normal) state.passwordEdit = true;
    state.selectableText = true;
    return state;
}

void EditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !edit()->hasSelectedText()) return;
    *startOffset = edit()->selectionStart();
    *endOffset = edit()->selectionEnd();
}

int EditAccessible::selectionCount() const { return edit()->hasSelectedText() ? 1 : 0; }

void EditAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void EditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) edit()->deselect();
}

void EditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) edit()->setSelection(startOffset, endOffset - startOffset);
}

int EditAccessible::cursorPosition() const { return edit()->cursorPosition(); }

void EditAccessible::setCursorPosition(int position) { edit()->setCursorPosition(position); }

QString EditAccessible::text(int startOffset, int endOffset) const {
    if (startOffset > endOffset) return {};
    return ReadableText().mid(startOffset, endOffset - startOffset);
}

QString EditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                     int* endOffset) const {
    const QString text = ReadableText();
    const int size = static_cast<int>(text.size());
    const auto at = Locate(offset, size);
    if (!at) return Nothing(startOffset, endOffset);
    if (*at < size) return Cut(text, ItemAt(text, boundaryType, *at), startOffset, endOffset);
    // At the end: no character, but the word, sentence or line that ends
    // there.
    if (size == 0 || boundaryType == QAccessible::CharBoundary) return Cut(text, {size, size}, startOffset, endOffset);
    return Cut(text, ItemAt(text, boundaryType, size - 1), startOffset, endOffset);
}

QString EditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                         int* endOffset) const {
    const QString text = ReadableText();
    const int size = static_cast<int>(text.size());
    const auto at = Locate(offset, size);
    if (!at) return Nothing(startOffset, endOffset);
    const int start = *at < size ? ItemAt(text, boundaryType, *at).start : size;
    if (start == 0 || !FinderType(boundaryType)) return Nothing(startOffset, endOffset);
    return Cut(text, ItemAt(text, boundaryType, start - 1), startOffset, endOffset);
}

QString EditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                        int* endOffset) const {
    const QString text = ReadableText();
    const int size = static_cast<int>(text.size());
    const auto at = Locate(offset, size);
    if (!at || *at == size || !FinderType(boundaryType)) return Nothing(startOffset, endOffset);
    const int end = ItemAt(text, boundaryType, *at).end;
    if (end >= size) return Nothing(startOffset, endOffset);
    return Cut(text, ItemAt(text, boundaryType, end), startOffset, endOffset);
}

int EditAccessible::characterCount() const { return static_cast<int>(ReadableText().size()); }

QRect EditAccessible::characterRect(int offset) const {
    const QString text = ReadableText();
    if (offset < 0 || offset >= text.size()) return {};
    // The box scrolls its text; the caret's rectangle, centred on the
    // caret, tells by how much.
    const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QFontMetrics metrics(edit()->font());
    const int caretX = caret.left() + caret.width() / 2;
    // Only the text between the caret and the character is measured: a
    // reader may ask of a text of millions of characters.
    const int cursor = edit()->cursorPosition();
    const int between = metrics.horizontalAdvance(text.mid(std::min(offset, cursor), std::abs(offset - cursor)));
    const int x = offset < cursor ? caretX - between : caretX + between;
    const QRect box(x, caret.top(), metrics.horizontalAdvance(text.mid(offset, 1)), caret.height());
    return {edit()->mapToGlobal(box.topLeft()), box.size()};
}

int EditAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = edit()->mapFromGlobal(point);
    if (!edit()->rect().contains(local)) return -1;
    return edit()->cursorPositionAt(local);
}

void EditAccessible::scrollToSubstring(int startIndex, int endIndex) {
    edit()->setCursorPosition(endIndex);
    edit()->setCursorPosition(startIndex);
}

QString EditAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // One plain run over the whole text.
    const int size = characterCount();
    if (!Locate(offset, size)) {
        *startOffset = *endOffset = -1;
        return {};
    }
    *startOffset = 0;
    *endOffset = size;
    return {};
}

void EditAccessible::deleteText(int startOffset, int endOffset) { ReplaceRange(startOffset, endOffset, QString()); }

void EditAccessible::insertText(int offset, const QString& text) { ReplaceRange(offset, offset, text); }

void EditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    ReplaceRange(startOffset, endOffset, text);
}

void EditAccessible::ReplaceRange(int startOffset, int endOffset, const QString& text) {
    QLineEdit* box = edit();
    const int size = static_cast<int>(box->text().size());
    if (box->isReadOnly() || startOffset < 0 || startOffset > endOffset || endOffset > size) return;
    box->setSelection(startOffset, endOffset - startOffset);
    if (startOffset == endOffset) box->setCursorPosition(startOffset);
    box->insert(text);
}

void UseEditAccessibleFor(const char* className) {
    const bool first = Classes().isEmpty();
    Classes().insert(QString::fromLatin1(className));
    if (first) QAccessible::installFactory(Factory);
}

}  // namespace lexigrove
