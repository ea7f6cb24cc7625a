#include "SearchEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <functional>
#include <limits>

#include "EditAccessible.h"

namespace lexigrove {
namespace {

// The text stands this far in from the sides of the box's contents, as in
// a line edit.
constexpr int kHorizontalMargin = 2;
// How many characters the laid-out stretch reaches beyond the caret and
// the left edge: many times what the box can show, so that the text runs
// on past both edges, and little enough to lay out at every key.
constexpr int kReach = 1024;
// What input methods are shown of the text around the caret.
constexpr int kSurrounding = 1000;
// The longest text the box holds: its positions are ints.
constexpr qsizetype kMostCharacters = std::numeric_limits<int>::max() - 1;

bool IsLineBreak(QChar c) {
    const char16_t u = c.unicode();
    return u == u'\r' || u == u'\n' || u == u'\u2028' || u == u'\u2029';
}

// Of what is typed, pasted or dropped, the box keeps what comes before the
// first line break.
QString FirstLine(const QString& text) {
    const auto lineBreak = std::find_if(text.begin(), text.end(), IsLineBreak);
    return lineBreak == text.end() ? text : text.left(lineBreak - text.begin());
}

// Control characters and separators that a font would draw as boxes are
// shown as spaces.
QString Displayed(QStringView text) {
    QString shown = text.toString();
    for (QChar& c : shown) {
        if ((c.unicode() < 0x20 && c.unicode() != 0x09) || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter)
            c = QLatin1Char(' ');
    }
    return shown;
}

// The caret's steps by word stop at spaces and at these marks, as in every
// Qt edit box.
bool IsWordSeparator(QChar c) {
    static constexpr QStringView kSeparators = u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\";
    return kSeparators.contains(c);
}

int NextWord(const QString& text, int position) {
    const int size = static_cast<int>(text.size());
    if (position >= size) return position;
    if (IsWordSeparator(text[position])) {
        while (position < size && IsWordSeparator(text[position])) ++position;
    } else {
        while (position < size && !text[position].isSpace() && !IsWordSeparator(text[position])) ++position;
    }
    while (position < size && text[position].isSpace()) ++position;
    return position;
}

int PreviousWord(const QString& text, int position) {
    while (position > 0 && text[position - 1].isSpace()) --position;
    if (position > 0 && IsWordSeparator(text[position - 1])) {
        while (position > 0 && IsWordSeparator(text[position - 1])) --position;
    } else {
        while (position > 0 && !text[position - 1].isSpace() && !IsWordSeparator(text[position - 1])) --position;
    }
    return position;
}

// The caret steps over a character as the user sees it: a letter with its
// accents, a surrogate pair. Only the characters near the caret are looked
// at.
int NextCharacter(const QString& text, int position) {
    const int size = static_cast<int>(text.size());
    if (position >= size) return size;
    const int end = std::min(size, position + 64);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.constData() + position, end - position);
    const qsizetype next = finder.toNextBoundary();
    return next < 0 ? end : position + static_cast<int>(next);
}

int PreviousCharacter(const QString& text, int position) {
    if (position <= 0) return 0;
    const int start = std::max(0, position - 64);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.constData() + start, position - start);
    finder.toEnd();
    const qsizetype previous = finder.toPreviousBoundary();
    return previous < 0 ? start : start + static_cast<int>(previous);
}

// What a key typed into the box puts in, as Qt's edit boxes take it: a
// printable character, a formatting mark or a private-use one, but nothing
// typed with Ctrl alone.
bool IsTyping(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) return false;
    const QChar c = text.front();
    if (c.category() == QChar::Other_Format) return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier)) return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate());
}

void Tell(QAccessibleEvent&& event) { QAccessible::updateAccessibility(&event); }

}  // namespace

struct SearchEdit::View {
    int start = 0;  // the stretch laid out: text_[start, end)
    int end = 0;
    QTextLayout layout;
    QRect line;      // where the line stands in the box
    int scroll = 0;  // the layout's x at the line's left edge
    int ascent = 0;
};

SearchEdit::SearchEdit(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression);
    setSizePolicy(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::LineEdit));
    setBackgroundRole(QPalette::Base);
    setAcceptDrops(true);
    setCursor(Qt::IBeamCursor);
    UseEditAccessibleFor(metaObject()->className());
}

SearchEdit::~SearchEdit() = default;

// The text

void SearchEdit::setText(const QString& text) {
    const QString old = text_;
    const int oldCaret = cursor_;
    const int oldAnchor = anchor_;
    text_ = FirstLine(text).left(kMostCharacters);
    edits_.clear();
    done_ = 0;
    preedit_.clear();
    cursor_ = anchor_ = static_cast<int>(text_.size());
    origin_ = std::min(origin_, cursor_);
    view_.reset();
    if (old != text_) {
        if (old.isEmpty())
            Tell(QAccessibleTextInsertEvent(this, 0, text_));
        else if (text_.isEmpty())
            Tell(QAccessibleTextRemoveEvent(this, 0, old));
        else
            Tell(QAccessibleTextUpdateEvent(this, 0, old, text_));
        emit textChanged(text_);
    }
    AfterCaretMoved(oldCaret, oldAnchor);
}

void SearchEdit::insert(const QString& text) {
    if (hasSelectedText())
        Replace(selectionStart(), selectionEnd(), FirstLine(text));
    else
        Replace(cursor_, cursor_, FirstLine(text));
}

void SearchEdit::Replace(int start, int end, const QString& text, bool typing) {
    const QString added = text.left(kMostCharacters - (text_.size() - (end - start)));
    if (start == end && added.isEmpty()) {
        MoveCaret(start, false);
        return;
    }
    edits_.resize(done_);
    Edit* last = edits_.empty() ? nullptr : &edits_.back();
    if (typing && start == end && last != nullptr && last->typing && last->position + last->inserted.size() == start)
        last->inserted += added;
    else
        edits_.push_back({start, text_.mid(start, end - start), added, cursor_, anchor_, typing});
    done_ = edits_.size();
    const int oldCaret = cursor_;
    const int oldAnchor = anchor_;
    cursor_ = anchor_ = start + static_cast<int>(added.size());
    Apply(start, end, added);
    emit textEdited(text_);
    AfterCaretMoved(oldCaret, oldAnchor);
}

void SearchEdit::Apply(int start, int end, const QString& text) {
    if (QAccessible::isActive() && end > start)
        Tell(QAccessibleTextRemoveEvent(this, start, text_.mid(start, end - start)));
    text_.replace(start, end - start, text);
    // The character at the left edge keeps its place unless it went.
    if (origin_ >= end)
        origin_ += static_cast<int>(text.size()) - (end - start);
    else if (origin_ > start)
        origin_ = start;
    view_.reset();
    if (QAccessible::isActive() && !text.isEmpty()) Tell(QAccessibleTextInsertEvent(this, start, text));
    emit textChanged(text_);
}

void SearchEdit::undo() {
    if (done_ == 0) return;
    const Edit& edit = edits_[--done_];
    const int oldCaret = cursor_;
    const int oldAnchor = anchor_;
    cursor_ = edit.caretBefore;
    anchor_ = edit.anchorBefore;
    Apply(edit.position, edit.position + static_cast<int>(edit.inserted.size()), edit.removed);
    emit textEdited(text_);
    AfterCaretMoved(oldCaret, oldAnchor);
}

void SearchEdit::redo() {
    if (done_ >= edits_.size()) return;
    const Edit& edit = edits_[done_++];
    const int oldCaret = cursor_;
    const int oldAnchor = anchor_;
    cursor_ = anchor_ = edit.position + static_cast<int>(edit.inserted.size());
    Apply(edit.position, edit.position + static_cast<int>(edit.removed.size()), edit.inserted);
    emit textEdited(text_);
    AfterCaretMoved(oldCaret, oldAnchor);
}

void SearchEdit::DeleteSelectionOr(int otherEnd) {
    if (hasSelectedText())
        Replace(selectionStart(), selectionEnd(), QString());
    else
        Replace(std::min(cursor_, otherEnd), std::max(cursor_, otherEnd), QString());
}

// The caret and the selection

void SearchEdit::setCursorPosition(int position) {
    MoveCaret(std::clamp(position, 0, static_cast<int>(text_.size())), false);
}

QString SearchEdit::selectedText() const {
    return hasSelectedText() ? text_.mid(selectionStart(), selectionEnd() - selectionStart()) : QString();
}

int SearchEdit::selectionStart() const { return hasSelectedText() ? std::min(anchor_, cursor_) : -1; }

int SearchEdit::selectionEnd() const { return hasSelectedText() ? std::max(anchor_, cursor_) : -1; }

void SearchEdit::setSelection(int start, int length) {
    const int size = static_cast<int>(text_.size());
    if (start < 0 || start > size) return;
    const int oldCaret = cursor_;
    const int oldAnchor = anchor_;
    anchor_ = start;
    cursor_ = static_cast<int>(std::clamp<qsizetype>(qsizetype{start} + length, 0, size));
    AfterCaretMoved(oldCaret, oldAnchor);
}

void SearchEdit::deselect() { MoveCaret(cursor_, false); }

void SearchEdit::selectAll() {
    const int oldCaret = cursor_;
    const int oldAnchor = anchor_;
    anchor_ = 0;
    cursor_ = static_cast<int>(text_.size());
    AfterCaretMoved(oldCaret, oldAnchor);
}

void SearchEdit::MoveCaret(int position, bool keepAnchor) {
    const int oldCaret = cursor_;
    const int oldAnchor = anchor_;
    cursor_ = position;
    if (!keepAnchor) anchor_ = position;
    AfterCaretMoved(oldCaret, oldAnchor);
}

void SearchEdit::AfterCaretMoved(int oldCaret, int oldAnchor) {
    const bool hadSelection = oldCaret != oldAnchor;
    const bool selectionMoved =
        hadSelection || hasSelectedText()
            ? std::minmax(oldCaret, oldAnchor) != std::minmax(cursor_, anchor_) || hadSelection != hasSelectedText()
            : false;
    view_.reset();
    if (selectionMoved) {
        QAccessibleTextSelectionEvent event(this, std::min(cursor_, anchor_), std::max(cursor_, anchor_));
        event.setCursorPosition(cursor_);
        Tell(std::move(event));
    } else if (cursor_ != oldCaret) {
        Tell(QAccessibleTextCursorEvent(this, cursor_));
    }
    if (cursor_ != oldCaret) emit cursorPositionChanged(oldCaret, cursor_);
    if (selectionMoved) emit selectionChanged();
    RestartBlinking();
    updateMicroFocus();
    update();
}

// Clipboard

void SearchEdit::copy() const {
    if (hasSelectedText()) QGuiApplication::clipboard()->setText(selectedText());
}

void SearchEdit::cut() {
    if (!hasSelectedText()) return;
    copy();
    Replace(selectionStart(), selectionEnd(), QString());
}

void SearchEdit::paste() { insert(QGuiApplication::clipboard()->text()); }

// Layout and painting

void SearchEdit::InitStyleOption(QStyleOptionFrame* option) const {
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken;
    option->features = QStyleOptionFrame::None;
}

int SearchEdit::ViewIndex(const View& view, int position) const {
    int index = std::clamp(position, view.start, view.end) - view.start;
    if (!preedit_.isEmpty() && position > cursor_) index += static_cast<int>(preedit_.size());
    return index;
}

int SearchEdit::TextPosition(const View& view, int index) const {
    const int cut = cursor_ - view.start;
    if (preedit_.isEmpty() || index <= cut) return view.start + index;
    if (index < cut + preedit_.size()) return cursor_;  // inside what is being composed
    return view.start + index - static_cast<int>(preedit_.size());
}

const SearchEdit::View& SearchEdit::Laid() const {
    if (view_) return *view_;
    auto view = std::make_unique<View>();
    const int size = static_cast<int>(text_.size());
    // A jump far from what the box showed starts from the caret: at the
    // left edge for a jump back, near the right edge for one ahead.
    if (cursor_ < origin_ - kReach) {
        origin_ = cursor_;
        shift_ = 0;
    } else if (cursor_ > origin_ + kReach) {
        origin_ = cursor_ - kReach;
        shift_ = 0;
    }
    view->start = std::max(0, std::min(origin_, cursor_) - kReach);
    view->end = std::min(size, std::max(origin_, cursor_) + kReach);
    if (view->start > 0 && text_[view->start].isLowSurrogate()) --view->start;
    if (view->end < size && text_[view->end].isLowSurrogate()) ++view->end;

    QString shown = Displayed(QStringView(text_).mid(view->start, view->end - view->start));
    QList<QTextLayout::FormatRange> preeditFormat;
    if (!preedit_.isEmpty()) {
        shown.insert(cursor_ - view->start, preedit_);
        QTextLayout::FormatRange underline;
        underline.start = cursor_ - view->start;
        underline.length = static_cast<int>(preedit_.size());
        underline.format.setFontUnderline(true);
        preeditFormat.append(underline);
    }
    view->layout.setText(shown);
    view->layout.setFont(font());
    QTextOption option = view->layout.textOption();
    option.setTextDirection(layoutDirection());
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    view->layout.setTextOption(option);
    view->layout.setFormats(preeditFormat);
    view->layout.setCacheEnabled(true);
    view->layout.beginLayout();
    const QTextLine line = view->layout.createLine();
    view->layout.endLayout();
    view->ascent = qRound(line.ascent());

    QStyleOptionFrame panel;
    InitStyleOption(&panel);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    const QFontMetrics metrics = fontMetrics();
    const int top = contents.y() + (contents.height() - metrics.height() + 1) / 2;
    view->line =
        QRect(contents.x() + kHorizontalMargin, top, contents.width() - 2 * kHorizontalMargin, metrics.height());

    // Scrolled as a line edit scrolls: not at all while the whole text
    // fits; otherwise just far enough to bring the caret in, and no
    // further right than the text's end needs.
    const auto xOf = [&](int index) { return qRound(line.cursorToX(index)); };
    const int width = view->line.width();
    const int caretX = xOf(ViewIndex(*view, cursor_) + preeditCursor_);
    const int used = qRound(line.naturalTextWidth()) + 1;
    const bool startShown = view->start == 0;
    const bool endShown = view->end == size;
    int scroll = xOf(ViewIndex(*view, origin_)) + shift_;
    if (startShown && endShown && used <= width)
        scroll = 0;
    else if (caretX - scroll >= width)
        scroll = caretX - width + 1;
    else if (caretX - scroll < 0)
        scroll = caretX;
    else if (endShown && used - scroll < width)
        scroll = used - width + 1;
    else
        scroll = std::max(0, scroll);
    view->scroll = scroll;

    // Remember the scroll by the character at the left edge.
    const int atEdge = line.xToCursor(scroll, QTextLine::CursorOnCharacter);
    origin_ = TextPosition(*view, atEdge);
    shift_ = scroll - xOf(ViewIndex(*view, origin_));
    view_ = std::move(view);
    return *view_;
}

int SearchEdit::PositionAtX(int x) const {
    const View& view = Laid();
    const int index = view.layout.lineAt(0).xToCursor(x - view.line.left() + view.scroll);
    return TextPosition(view, index);
}

int SearchEdit::cursorPositionAt(const QPoint& point) const { return PositionAtX(point.x()); }

QRect SearchEdit::cursorRect() const {
    const View& view = Laid();
    const QTextLine line = view.layout.lineAt(0);
    const int x = qRound(line.cursorToX(ViewIndex(view, cursor_) + preeditCursor_));
    QStyleOptionFrame panel;
    InitStyleOption(&panel);
    const int width = style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this);
    const QRect rect(x - 5, 0, width + 9, qRound(line.height()) + 1);
    return rect.translated(view.line.left() - view.scroll, view.line.top() - view.ascent + fontMetrics().ascent());
}

QRect SearchEdit::characterRect(int offset) const {
    const View& view = Laid();
    if (offset < view.start || offset >= view.end) return {};
    const QTextLine line = view.layout.lineAt(0);
    const int index = ViewIndex(view, offset);
    const int left = qRound(line.cursorToX(index));
    const int right = qRound(line.cursorToX(index + 1));
    const QRect rect(left, 0, std::max(0, right - left), qRound(line.height()));
    return rect.translated(view.line.left() - view.scroll, view.line.top() - view.ascent + fontMetrics().ascent());
}

void SearchEdit::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QStyleOptionFrame panel;
    InitStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    painter.setClipRect(contents);

    const View& view = Laid();
    const QPoint topLeft = view.line.topLeft() - QPoint(view.scroll, view.ascent - fontMetrics().ascent());
    const QPalette colours = palette();
    painter.setPen(colours.text().color());
    QList<QTextLayout::FormatRange> selection;
    if (hasSelectedText()) {
        QTextLayout::FormatRange range;
        range.start = ViewIndex(view, selectionStart());
        range.length = ViewIndex(view, selectionEnd()) - range.start;
        range.format.setBackground(colours.brush(QPalette::Highlight));
        range.format.setForeground(colours.brush(QPalette::HighlightedText));
        if (range.length > 0) selection.append(range);
    }
    view.layout.draw(&painter, topLeft, selection, contents);
    if ((caretShown_ || dropCaret_) && cursor_ >= view.start && cursor_ <= view.end)
        view.layout.drawCursor(&painter, topLeft, ViewIndex(view, cursor_) + preeditCursor_,
                               style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
}

void SearchEdit::resizeEvent(QResizeEvent* event) {
    view_.reset();
    QWidget::resizeEvent(event);
}

void SearchEdit::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::StyleChange:
        case QEvent::LayoutDirectionChange:
            view_.reset();
            update();
            break;
        case QEvent::ActivationChange:
            update();
            break;
        default:
            break;
    }
    QWidget::changeEvent(event);
}

QSize SearchEdit::sizeHint() const {
    ensurePolished();
    const QFontMetrics metrics(font());
    const QSize contents(metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * kHorizontalMargin,
                         std::max(metrics.height(), 14) + 2);
    QStyleOptionFrame option;
    InitStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, this);
}

QSize SearchEdit::minimumSizeHint() const {
    ensurePolished();
    const QFontMetrics metrics(font());
    const QSize contents(metrics.maxWidth(), metrics.height() + std::max(2, metrics.leading()));
    QStyleOptionFrame option;
    InitStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, this);
}

// The caret's blinking

void SearchEdit::RestartBlinking() {
    const bool wanted = hasFocus() && preedit_.isEmpty() && !hasSelectedText();
    blink_.stop();
    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flashTime >= 2) blink_.start(flashTime / 2, this);
    ShowCaret(wanted);
}

void SearchEdit::ShowCaret(bool shown) {
    if (caretShown_ == shown) return;
    caretShown_ = shown;
    update(cursorRect());
}

void SearchEdit::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blink_.timerId()) {
        ShowCaret(!caretShown_ && hasFocus() && preedit_.isEmpty() && !hasSelectedText());
        return;
    }
    if (event->timerId() == tripleClick_.timerId()) {
        tripleClick_.stop();
        return;
    }
    QWidget::timerEvent(event);
}

void SearchEdit::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) &&
        !hasSelectedText())
        selectAll();
    RestartBlinking();
    QWidget::focusInEvent(event);
}

void SearchEdit::focusOutEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) deselect();
    blink_.stop();
    ShowCaret(false);
    QWidget::focusOutEvent(event);
}

// Keys

bool SearchEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the box acts on are its own, not shortcuts of the window.
        auto* key = static_cast<QKeyEvent*>(event);
        using K = QKeySequence;
        for (const K::StandardKey own : {K::Copy,
                                         K::Paste,
                                         K::Cut,
                                         K::Undo,
                                         K::Redo,
                                         K::SelectAll,
                                         K::MoveToNextWord,
                                         K::MoveToPreviousWord,
                                         K::MoveToStartOfLine,
                                         K::MoveToEndOfLine,
                                         K::MoveToStartOfBlock,
                                         K::MoveToEndOfBlock,
                                         K::MoveToStartOfDocument,
                                         K::MoveToEndOfDocument,
                                         K::SelectNextWord,
                                         K::SelectPreviousWord,
                                         K::SelectStartOfLine,
                                         K::SelectEndOfLine,
                                         K::SelectStartOfBlock,
                                         K::SelectEndOfBlock,
                                         K::SelectStartOfDocument,
                                         K::SelectEndOfDocument,
                                         K::DeleteCompleteLine}) {
            if (key->matches(own)) {
                key->accept();
                return true;
            }
        }
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier || modifiers == Qt::KeypadModifier) {
            static constexpr int kEditingKeys[] = {Qt::Key_Delete,    Qt::Key_Home, Qt::Key_End,
                                                   Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Right};
            if (key->key() < Qt::Key_Escape || std::ranges::find(kEditingKeys, key->key()) != std::end(kEditingKeys)) {
                key->accept();
                return true;
            }
        }
    }
    return QWidget::event(event);
}

void SearchEdit::keyPressEvent(QKeyEvent* event) {
    if (HandleKey(event)) {
        event->accept();
        RestartBlinking();
    } else {
        event->ignore();
    }
}

bool SearchEdit::HandleKey(QKeyEvent* event) {
    using K = QKeySequence;
    const int size = static_cast<int>(text_.size());
    struct Action {
        std::array<K::StandardKey, 3> keys;  // the rest UnknownKey, which no key matches
        std::function<void()> run;
    };
    const Action actions[] = {
        {{K::Undo}, [this] { undo(); }},
        {{K::Redo}, [this] { redo(); }},
        {{K::SelectAll}, [this] { selectAll(); }},
        {{K::Copy}, [this] { copy(); }},
        {{K::Paste}, [this] { paste(); }},
        {{K::Cut}, [this] { cut(); }},
        {{K::DeleteEndOfLine},
         [this, size] {
             setSelection(cursor_, size - cursor_);
             cut();
         }},
        {{K::DeleteCompleteLine},
         [this] {
             selectAll();
             cut();
         }},
        {{K::MoveToStartOfLine, K::MoveToStartOfBlock, K::MoveToStartOfDocument}, [this] { MoveCaret(0, false); }},
        {{K::MoveToEndOfLine, K::MoveToEndOfBlock, K::MoveToEndOfDocument}, [this, size] { MoveCaret(size, false); }},
        {{K::SelectStartOfLine, K::SelectStartOfBlock, K::SelectStartOfDocument}, [this] { MoveCaret(0, true); }},
        {{K::SelectEndOfLine, K::SelectEndOfBlock, K::SelectEndOfDocument}, [this, size] { MoveCaret(size, true); }},
        // An arrow ends a selection at its side.
        {{K::MoveToNextChar},
         [this] { MoveCaret(hasSelectedText() ? selectionEnd() : NextCharacter(text_, cursor_), false); }},
        {{K::MoveToPreviousChar},
         [this] { MoveCaret(hasSelectedText() ? selectionStart() : PreviousCharacter(text_, cursor_), false); }},
        {{K::SelectNextChar}, [this] { MoveCaret(NextCharacter(text_, cursor_), true); }},
        {{K::SelectPreviousChar}, [this] { MoveCaret(PreviousCharacter(text_, cursor_), true); }},
        {{K::MoveToNextWord}, [this] { MoveCaret(NextWord(text_, cursor_), false); }},
        {{K::MoveToPreviousWord}, [this] { MoveCaret(PreviousWord(text_, cursor_), false); }},
        {{K::SelectNextWord}, [this] { MoveCaret(NextWord(text_, cursor_), true); }},
        {{K::SelectPreviousWord}, [this] { MoveCaret(PreviousWord(text_, cursor_), true); }},
        {{K::Delete}, [this] { DeleteSelectionOr(NextCharacter(text_, cursor_)); }},
        {{K::DeleteEndOfWord}, [this] { DeleteSelectionOr(NextWord(text_, cursor_)); }},
        {{K::DeleteStartOfWord}, [this] { DeleteSelectionOr(PreviousWord(text_, cursor_)); }},
    };
    for (const auto& [keys, run] : actions) {
        if (std::ranges::any_of(keys, [event](K::StandardKey key) { return event->matches(key); })) {
            run();
            return true;
        }
    }
    if (event->key() == Qt::Key_Backspace &&
        (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier) {
        // Backspace takes one code point, so that an accent can go alone.
        int from = cursor_ - 1;
        if (from > 0 && text_[from].isLowSurrogate() && text_[from - 1].isHighSurrogate()) --from;
        DeleteSelectionOr(std::max(0, from));
        return true;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit returnPressed();
        return false;  // the window may act on Enter too
    }
    if (!IsTyping(event)) return false;
    const QString typed = FirstLine(event->text());
    if (hasSelectedText())
        Replace(selectionStart(), selectionEnd(), typed, true);
    else
        Replace(cursor_, cursor_, typed, true);
    return true;
}

// Input methods

void SearchEdit::inputMethodEvent(QInputMethodEvent* event) {
    const int size = static_cast<int>(text_.size());
    int start = hasSelectedText() ? selectionStart() : cursor_;
    int end = hasSelectedText() ? selectionEnd() : cursor_;
    if (event->replacementLength() > 0 || event->replacementStart() != 0) {
        start = static_cast<int>(std::clamp<qsizetype>(qsizetype{cursor_} + event->replacementStart(), 0, size));
        end = static_cast<int>(std::clamp<qsizetype>(qsizetype{start} + event->replacementLength(), start, size));
    }
    preedit_ = FirstLine(event->preeditString());
    preeditCursor_ = static_cast<int>(preedit_.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor)
            preeditCursor_ = std::clamp(attribute.start, 0, static_cast<int>(preedit_.size()));
    }
    view_.reset();
    if (!event->commitString().isEmpty() || end > start)
        Replace(start, end, FirstLine(event->commitString()), true);
    else
        AfterCaretMoved(cursor_, anchor_);
    event->accept();
}

QVariant SearchEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    // An input method is shown the text around the caret, not all of it.
    const int size = static_cast<int>(text_.size());
    int from = std::max(0, cursor_ - kSurrounding);
    if (from > 0 && text_[from].isLowSurrogate()) --from;
    int to = std::min(size, cursor_ + kSurrounding);
    if (to < size && text_[to].isLowSurrogate()) ++to;
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImCursorRectangle:
            return cursorRect();
        case Qt::ImFont:
            return font();
        case Qt::ImCursorPosition:
            return cursor_ - from;
        case Qt::ImAnchorPosition:
            return std::clamp(anchor_, from, to) - from;
        case Qt::ImSurroundingText:
            return text_.mid(from, to - from);
        case Qt::ImCurrentSelection:
            return selectionEnd() - selectionStart() <= kSurrounding ? selectedText() : QString();
        case Qt::ImTextBeforeCursor:
            return text_.mid(from, cursor_ - from);
        case Qt::ImTextAfterCursor:
            return text_.mid(cursor_, to - cursor_);
        case Qt::ImAbsolutePosition:
            return cursor_;
        case Qt::ImMaximumTextLength:
            return static_cast<int>(kMostCharacters);
        case Qt::ImReadOnly:
            return false;
        default:
            return QWidget::inputMethodQuery(query);
    }
}

// The mouse

void SearchEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    if (tripleClick_.isActive() && (at - tripleClickAt_).manhattanLength() < QApplication::startDragDistance()) {
        tripleClick_.stop();
        selectAll();
        return;
    }
    MoveCaret(PositionAtX(at.x()), event->modifiers().testFlag(Qt::ShiftModifier));
    dragging_ = true;
}

void SearchEdit::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && event->buttons().testFlag(Qt::LeftButton))
        MoveCaret(PositionAtX(event->position().toPoint().x()), true);
}

void SearchEdit::mouseReleaseEvent(QMouseEvent* event) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        if (hasSelectedText() && clipboard->supportsSelection())
            clipboard->setText(selectedText(), QClipboard::Selection);
    } else if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        MoveCaret(PositionAtX(event->position().toPoint().x()), false);
        insert(clipboard->text(QClipboard::Selection));
    }
}

void SearchEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // The word under the pointer, without the spaces after it.
    const int at = PositionAtX(event->position().toPoint().x());
    const int start = PreviousWord(text_, std::min(at + 1, static_cast<int>(text_.size())));
    int end = NextWord(text_, start);
    while (end > at && end > start && text_[end - 1].isSpace()) --end;
    MoveCaret(start, false);
    MoveCaret(end, true);
    tripleClick_.start(QApplication::doubleClickInterval(), this);
    tripleClickAt_ = event->position().toPoint();
}

void SearchEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = MakeContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMenu* SearchEdit::MakeContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("qt_edit_menu"));
    const bool showKeys = QGuiApplication::styleHints()->showShortcutsInContextMenus();
    const auto add = [&](const QString& caption, QKeySequence::StandardKey key, const char* icon, bool enabled,
                         auto run) {
        QString text = caption;
        if (showKeys && key != QKeySequence::UnknownKey)
            text += QLatin1Char('\t') + QKeySequence(key).toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(QIcon::fromTheme(QLatin1String(icon)), text);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, run);
    };
    add(tr("&Undo"), QKeySequence::Undo, "edit-undo", isUndoAvailable(), [this] { undo(); });
    add(tr("&Redo"), QKeySequence::Redo, "edit-redo", isRedoAvailable(), [this] { redo(); });
    menu->addSeparator();
    add(tr("Cu&t"), QKeySequence::Cut, "edit-cut", hasSelectedText(), [this] { cut(); });
    add(tr("&Copy"), QKeySequence::Copy, "edit-copy", hasSelectedText(), [this] { copy(); });
    add(tr("&Paste"), QKeySequence::Paste, "edit-paste", !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { paste(); });
    add(tr("Delete"), QKeySequence::UnknownKey, "edit-delete", hasSelectedText(),
        [this] { DeleteSelectionOr(cursor_); });
    menu->addSeparator();
    add(tr("Select All"), QKeySequence::SelectAll, "edit-select-all",
        !text_.isEmpty() && selectionEnd() - selectionStart() < text_.size(), [this] { selectAll(); });
    return menu;
}

// Drag and drop: text dropped on the box goes in at the pointer.

void SearchEdit::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void SearchEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasText()) return;
    event->acceptProposedAction();
    MoveCaret(PositionAtX(event->position().toPoint().x()), false);
    dropCaret_ = true;
    update();
}

void SearchEdit::dragLeaveEvent(QDragLeaveEvent* /*event*/) {
    dropCaret_ = false;
    update();
}

void SearchEdit::dropEvent(QDropEvent* event) {
    dropCaret_ = false;
    if (!event->mimeData()->hasText()) return;
    event->acceptProposedAction();
    MoveCaret(PositionAtX(event->position().toPoint().x()), false);
    insert(event->mimeData()->text());
}

}  // namespace lexigrove
