// The edit box as a screen reader reads it.
#pragma once

#include <QAccessibleWidget>

#include <optional>

namespace lexigrove {

class SearchEdit;

// What a screen reader asks of a single-line edit box: its text, the
// character, word, sentence or line at, before or after an offset, the
// caret and the selection, where a character stands, and the text's
// attributes. Qt 6.4's own answer for a line edit never returns when asked
// for the word at the end of the text, and gives attribute runs of no
// length, so that a reader leaves the last character out.
class EditAccessible : public QAccessibleWidget,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface {
public:
    explicit EditAccessible(SearchEdit* edit);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text kind, const QString& text) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    SearchEdit* edit() const;
    // The offset a reader's question names, in a text of `size`
    // characters; empty when it lies outside the text.
    std::optional<int> Locate(int offset, int size) const;
    // Puts `text` in the box as a paste would: its first line, with undo.
    void ReplaceRange(int startOffset, int endOffset, const QString& text);
};

// Makes every SearchEdit of the class named `className` answer screen
// readers through EditAccessible. Repeated calls for the same class do
// nothing.
void UseEditAccessibleFor(const char* className);

}  // namespace lexigrove
