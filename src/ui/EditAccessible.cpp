#include "EditAccessible.h"

#include <QSet>
#include <QTextBoundaryFinder>
#include <QVariant>

#include <algorithm>
#include <optional>

#include "SearchEdit.h"

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

// How far around an offset words and sentences are looked for: a reader
// may ask of a text of millions of letters, and no item longer than this
// is read out whole.
constexpr int kItemReach = 4096;

// The item of `type` that holds the character at `offset`
// (0 <= offset < text.size()).
Span ItemAt(const QString& text, QAccessible::TextBoundaryType type, int offset) {
    const int size = static_cast<int>(text.size());
    const auto finderType = FinderType(type);
    if (!finderType) return {0, size};
    int from = std::max(0, offset - kItemReach);
    if (from > 0 && text[from].isLowSurrogate()) --from;
    int to = std::min(size, offset + kItemReach);
    if (to < size && text[to].isLowSurrogate()) ++to;
    QTextBoundaryFinder finder(*finderType, text.constData() + from, to - from);
    finder.setPosition(offset - from);
    const qsizetype before = finder.isAtBoundary() ? offset - from : finder.toPreviousBoundary();
    finder.setPosition(offset - from);
    const qsizetype after = finder.toNextBoundary();
    return {before < 0 ? from : from + static_cast<int>(before), after < 0 ? to : from + static_cast<int>(after)};
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
    auto* edit = qobject_cast<SearchEdit*>(object);
    return edit != nullptr ? new EditAccessible(edit) : nullptr;
}

}  // namespace

EditAccessible::EditAccessible(SearchEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

SearchEdit* EditAccessible::edit() const { return static_cast<SearchEdit*>(widget()); }

std::optional<int> EditAccessible::Locate(int offset, int size) const {
    return Resolve(offset, size, cursorPosition());
}

void* EditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString EditAccessible::text(QAccessible::Text kind) const {
    const QString value = kind == QAccessible::Value ? edit()->text() : QString();
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
    state.editable = true;
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
    return edit()->text().mid(startOffset, endOffset - startOffset);
}

QString EditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                     int* endOffset) const {
    const QString text = edit()->text();
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
    const QString text = edit()->text();
    const int size = static_cast<int>(text.size());
    const auto at = Locate(offset, size);
    if (!at) return Nothing(startOffset, endOffset);
    const int start = *at < size ? ItemAt(text, boundaryType, *at).start : size;
    if (start == 0 || !FinderType(boundaryType)) return Nothing(startOffset, endOffset);
    return Cut(text, ItemAt(text, boundaryType, start - 1), startOffset, endOffset);
}

QString EditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                        int* endOffset) const {
    const QString text = edit()->text();
    const int size = static_cast<int>(text.size());
    const auto at = Locate(offset, size);
    if (!at || *at == size || !FinderType(boundaryType)) return Nothing(startOffset, endOffset);
    const int end = ItemAt(text, boundaryType, *at).end;
    if (end >= size) return Nothing(startOffset, endOffset);
    return Cut(text, ItemAt(text, boundaryType, end), startOffset, endOffset);
}

int EditAccessible::characterCount() const { return static_cast<int>(edit()->text().size()); }

QRect EditAccessible::characterRect(int offset) const {
    if (offset < 0 || offset >= edit()->text().size()) return {};
    const QRect box = edit()->characterRect(offset);
    return box.isNull() ? box : QRect(edit()->mapToGlobal(box.topLeft()), box.size());
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
    SearchEdit* box = edit();
    const int size = static_cast<int>(box->text().size());
    if (startOffset < 0 || startOffset > endOffset || endOffset > size) return;
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
