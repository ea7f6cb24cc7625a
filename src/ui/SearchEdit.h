// The edit box that takes the letters or the pattern.
#pragma once

#include <QBasicTimer>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QMenu;
class QStyleOptionFrame;
class QTextLayout;

namespace lexigrove {

// A single-line edit box that stays quick however long its text: it keeps
// the whole text but lays out only the stretch around what it shows, where
// Qt's own line edit shapes the whole line again for every paint and every
// key (a second at ten million letters). It looks, reads and answers keys,
// the mouse and input methods as a line edit does, keeps of what is put in
// only the first line, and screen readers read it through EditAccessible.
class SearchEdit : public QWidget {
    Q_OBJECT

public:
    explicit SearchEdit(QWidget* parent = nullptr);
    ~SearchEdit() override;

    QString text() const { return text_; }
    // Replaces the text; the caret goes to its end and undo starts afresh.
    void setText(const QString& text);
    void clear() { setText(QString()); }

    // Puts `text` in place of the selection, or at the caret, as typing
    // or a paste does: only its first line, with undo.
    void insert(const QString& text);

    int cursorPosition() const { return cursor_; }
    void setCursorPosition(int position);
    // Where the caret would go for a click at `point`.
    int cursorPositionAt(const QPoint& point) const;
    // The caret's rectangle, as input methods are told it.
    QRect cursorRect() const;
    // Where the character at `offset` stands in the box; empty when it
    // lies outside the stretch laid out around what the box shows.
    QRect characterRect(int offset) const;

    bool hasSelectedText() const { return anchor_ != cursor_; }
    QString selectedText() const;
    int selectionStart() const;
    int selectionEnd() const;
    void setSelection(int start, int length);
    void deselect();
    void selectAll();

    bool isUndoAvailable() const { return done_ > 0; }
    bool isRedoAvailable() const { return done_ < edits_.size(); }
    void undo();
    void redo();

    void cut();
    void copy() const;
    void paste();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void textChanged(const QString& text);
    // Only for changes the user makes, not for setText.
    void textEdited(const QString& text);
    void returnPressed();
    void cursorPositionChanged(int oldPosition, int newPosition);
    void selectionChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // One step of undo: `removed` at `position` gave way to `inserted`.
    struct Edit {
        int position = 0;
        QString removed;
        QString inserted;
        int caretBefore = 0;
        int anchorBefore = 0;
        bool typing = false;  // typed letters in a row undo together
    };
    // The stretch of text laid out, and where the box shows it.
    struct View;

    void InitStyleOption(QStyleOptionFrame* option) const;
    QRect LineRect() const;
    // The layout of the stretch the box shows, scrolled so that the caret
    // is in sight, as a line edit scrolls.
    const View& Laid() const;
    int ViewIndex(const View& view, int position) const;
    // The text position of `index` in the laid-out stretch (ViewIndex's
    // inverse; a place in the composed text is the caret).
    int TextPosition(const View& view, int index) const;
    int PositionAtX(int x) const;

    // Replaces [start, end) with `text` (already one line), as one step
    // of undo; typed letters in a row make one step.
    void Replace(int start, int end, const QString& text, bool typing = false);
    void Apply(int start, int end, const QString& text);
    void MoveCaret(int position, bool keepAnchor);
    void AfterCaretMoved(int oldCaret, int oldAnchor);
    void RestartBlinking();
    void ShowCaret(bool shown);
    bool HandleKey(QKeyEvent* event);
    void DeleteSelectionOr(int otherEnd);
    QMenu* MakeContextMenu();

    QString text_;
    int cursor_ = 0;
    int anchor_ = 0;
    QString preedit_;
    int preeditCursor_ = 0;

    std::vector<Edit> edits_;
    std::size_t done_ = 0;  // edits_[0, done_) are done, the rest undone

    // Where the box is scrolled to: the character at the line's left edge
    // and how many pixels of the line lie left of it.
    mutable int origin_ = 0;
    mutable int shift_ = 0;
    mutable std::unique_ptr<View> view_;

    QBasicTimer blink_;
    QBasicTimer tripleClick_;
    QPoint tripleClickAt_;
    bool caretShown_ = false;
    bool dragging_ = false;
    bool dropCaret_ = false;
};

}  // namespace lexigrove
