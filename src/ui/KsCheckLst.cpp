#include "KsCheckLst.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOption>
#include <QStyleFactory>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "Contrast.h"
#include "ScreenReader.h"

EListError::EListError(int index)
    : std::runtime_error("List index out of bounds (" + std::to_string(index) + ")"), index_(index) {}

namespace {

// Gap between the check box and the row's text, and the slack right of the
// text that still counts as the row's clickable part.
constexpr int kTextGap = 4;
constexpr int kHitSlack = 5;

int CheckSide() {
    static const int side = [] {
        qreal dpi = 96.0;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInchY();
        return std::max(1, qRound(13.0 * dpi / 96.0));
    }();
    return side;
}

// The classic look belongs to Qt's "Windows" style; every other style
// (Fusion, the platform themes) draws the styled look.
bool IsClassicStyle(const QStyle* style) {
    while (const auto* proxy = qobject_cast<const QProxyStyle*>(style)) {
        if (!proxy->baseStyle() || proxy->baseStyle() == style) break;
        style = proxy->baseStyle();
    }
    return style && style->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0;
}

// The model keeps Qt's check states; the widget's own numbering has checked
// and grayed the other way round. Any other value passes through unchanged.
int ToModel(TCheckBoxState state) {
    return state == cbChecked ? int{Qt::Checked} : state == cbGrayed ? int{Qt::PartiallyChecked} : int{state};
}

TCheckBoxState FromModel(int value) {
    return value == Qt::Checked            ? cbChecked
           : value == Qt::PartiallyChecked ? cbGrayed
                                           : static_cast<TCheckBoxState>(value);
}

}  // namespace

// Draws each row in the cell the list lays it out in: its text, the focus
// frame of the focused row, and its check box, hot while the style reports
// the pointer over the row's box or text. Every row gets exactly one grid
// cell, so hit tests and selection repaints cover the whole row height.
class TKsCheckListBox::RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(TKsCheckListBox* list) : QStyledItemDelegate(list), list_(list) {}

    QSize Cell;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return Cell; }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int row = index.row();
        const QRect rect = option.rect;
        const bool focused = option.state & QStyle::State_HasFocus;
        p->save();
        p->setFont(list_->font());
        QColor textColor;
        if (!list_->isEnabled())
            textColor = list_->palette().color(QPalette::Disabled, QPalette::Text);
        else if (focused && list_->drawSelect_)
            textColor = list_->palette().color(QPalette::HighlightedText);
        else
            textColor = list_->palette().color(QPalette::Text);

        if (focused) DrawFocus(p, list_->FocusRect(row));

        p->setPen(textColor);
        p->drawText(list_->TextRect(rect), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
        const bool hot = (option.state & QStyle::State_MouseOver) && list_->WithinReach(row, list_->pointer_);
        const QRect box = list_->CheckBoxRect(rect);
        DrawCheck(p, box, list_->GetState(row), hot);
        if (list_->styled_) DrawRing(p, box, hot ? hotRing_ : boxRing_);
        p->restore();
    }

    // Measures how the style's check boxes, hot look and focus frame stand
    // out on the face they are drawn on: where one stands out less than 3:1
    // (Fusion's and Adwaita's grey boxes and pale focus frames on a light
    // face, most styles' on a dark one), the list draws it stronger, with a
    // ring round the box or a focus frame of its own. A style whose check
    // box needs more room than the list gives it (it would be squeezed out
    // of shape) has Fusion draw the boxes.
    void Measure() {
        const QStyle* style = list_->style();
        boxStyle_ = style;
        if (style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list_) > CheckWidth() + 1) {
            if (!fusion_) fusion_.reset(QStyleFactory::create(QStringLiteral("Fusion")));
            if (fusion_) boxStyle_ = fusion_.get();
        }
        boxRing_ = hotRing_ = focusPen_ = QColor();
        const QColor back = Behind();
        if (!list_->styled_) return;
        const auto weak = [](double contrast) { return contrast < lexigrove::kControlContrast; };
        const auto ring = [&](QPalette::ColorRole role) {
            return lexigrove::Readable(list_->palette().color(role), back, lexigrove::kControlContrast);
        };
        const QSize boxSize(CheckWidth() + 4, CheckHeight() + 4);
        const QImage cold = Drawn(boxSize, [&](QPainter* p, const QRect& r) { DrawCheck(p, r, cbUnchecked, false); });
        const QImage hot = Drawn(boxSize, [&](QPainter* p, const QRect& r) { DrawCheck(p, r, cbUnchecked, true); });
        const QImage focus = Drawn(QSize(24, 16), [&](QPainter* p, const QRect& r) { StyleFocus(p, r); });
        if (weak(MostDistinct(cold, Drawn(boxSize, {})))) boxRing_ = ring(QPalette::Text);
        // A ringed box turns hot with a ring of the highlight colour.
        if (boxRing_.isValid() || weak(MostDistinct(hot, cold))) hotRing_ = ring(QPalette::Highlight);
        if (weak(MostDistinct(focus, Drawn(focus.size(), {})))) focusPen_ = ring(QPalette::Highlight);
    }

    // The list toggles a row on the press itself (HandlePress); the item
    // delegate's own toggle on the release would tick it a second time.
    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&) override {
        return false;
    }

    // From the check box's left edge to 5 pixels past the end of the text.
    std::pair<int, int> ClickRange(const QRect& row, int textWidth) const {
        const int textLeft = list_->TextRect(row).left();
        return {textLeft - (CheckWidth() + kTextGap), textLeft + textWidth + kHitSlack};
    }

private:
    // What the rows are drawn over: the parent's face in transparent mode.
    QColor Behind() const {
        return list_->trasparent_ ? list_->palette().color(QPalette::Window)
                                  : list_->viewport()->palette().color(QPalette::Base);
    }

    // A drawing on what the rows are drawn over (none: that alone), with
    // two pixels round it.
    QImage Drawn(QSize size, const std::function<void(QPainter*, const QRect&)>& draw) const {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Behind());
        QPainter p(&image);
        if (draw) draw(&p, QRect(QPoint(2, 2), size - QSize(4, 4)));
        return image;
    }

    // How far the most distinct pixel of one drawing stands out against the
    // same pixel of another of the same size.
    static double MostDistinct(const QImage& a, const QImage& b) {
        double most = 1.0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                most = std::max(most, lexigrove::ContrastRatio(QColor(a.pixel(x, y)), QColor(b.pixel(x, y))));
        return most;
    }

    static void DrawRing(QPainter* p, const QRect& box, const QColor& colour) {
        if (!colour.isValid()) return;
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setBrush(Qt::NoBrush);
        p->setPen(QPen(colour, 0));
        p->drawRect(box.adjusted(0, 0, -1, -1));
        p->restore();
    }

    void DrawFocus(QPainter* p, const QRect& frame) const {
        if (list_->drawSelect_) p->fillRect(frame, list_->palette().color(QPalette::Highlight));
        if (focusPen_.isValid())
            DrawRing(p, frame, focusPen_);
        else
            StyleFocus(p, frame);
    }

    // The style's own focus frame.
    void StyleFocus(QPainter* p, const QRect& frame) const {
        const QPalette& palette = list_->palette();
        QStyleOptionFocusRect option;
        option.initFrom(list_);
        option.rect = frame;
        option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        const QWidget* viewport = list_->viewport();
        option.backgroundColor = list_->drawSelect_ ? palette.color(QPalette::Highlight)
                                 : (list_->styled_ && list_->trasparent_)
                                     ? palette.color(QPalette::Window)
                                     : viewport->palette().color(viewport->backgroundRole());
        list_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, p, list_);
    }

    void DrawCheck(QPainter* p, const QRect& box, TCheckBoxState state, bool hot) const {
        QStyleOptionButton option;
        option.initFrom(list_);
        option.rect = box;
        const QWidget* parent = list_->parentWidget();
        const QPalette around = parent ? parent->palette() : QApplication::palette();
        // The list's Base colours its rows; the box keeps the face that an
        // ordinary check box would have in the list's place.
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            option.palette.setBrush(group, QPalette::Base, around.brush(group, QPalette::Base));
        option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange |
                          QStyle::State_Enabled);
        option.state |= state == cbUnchecked ? QStyle::State_Off
                        : state == cbChecked ? QStyle::State_On
                                             : QStyle::State_NoChange;
        const QStyle* style = list_->styled_ ? boxStyle_ : list_->style();

        if (list_->styled_) {
            if (hot) {
                // Hot wins over disabled. Fusion draws no hover look for
                // check boxes, so the hot box also carries the style's focus
                // emphasis.
                option.state |= QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_HasFocus |
                                QStyle::State_KeyboardFocusChange;
                option.palette.setCurrentColorGroup(QPalette::Active);
            } else if (list_->isEnabled()) {
                option.state |= QStyle::State_Enabled;
            } else {
                option.palette.setCurrentColorGroup(QPalette::Disabled);
            }
            p->save();
            p->setClipRect(box, Qt::IntersectClip);
            style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, p, list_);
            p->restore();
            return;
        }

        // The classic box shows neither hot nor disabled. Its grayed look is
        // a grey tick on a dithered face: the style dithers the box's
        // interior over whatever lies beneath, so lay the face colour down
        // first.
        option.state |= QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Active);
        if (state != cbUnchecked && state != cbChecked) {
            option.palette.setColor(QPalette::Text, option.palette.color(QPalette::Dark));
            p->fillRect(box.adjusted(2, 2, -2, -2), option.palette.button());
        }
        if (!list_->flat_) {
            style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, p, list_);
            return;
        }
        // Flat: the classic box's interior inside a one-pixel shadow frame.
        p->save();
        p->setClipRect(box.adjusted(2, 2, -2, -2), Qt::IntersectClip);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, p, list_);
        p->restore();
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setBrush(Qt::NoBrush);
        p->setPen(QPen(list_->palette().color(QPalette::Active, QPalette::Dark), 0));
        p->drawRect(QRect(box.left() + 1, box.top() + 1, box.width() - 3, box.height() - 3));
        p->restore();
    }

    TKsCheckListBox* list_;
    const QStyle* boxStyle_ = nullptr;
    std::unique_ptr<QStyle> fusion_;
    QColor boxRing_, hotRing_, focusPen_;  // invalid: the style's own stands out
};

int TKsCheckListBox::CheckWidth() { return CheckSide(); }

int TKsCheckListBox::CheckHeight() { return CheckSide(); }

TKsCheckListBox::TKsCheckListBox(QWidget* parent) : QListWidget(parent) {
    (void)CheckSide();
    headerColor_ = palette().color(QPalette::WindowText);
    headerBackgroundColor_ = palette().color(QPalette::Button);

    delegate_ = new RowDelegate(this);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setTabKeyNavigation(false);
    setViewMode(QListView::ListMode);
    setMovement(QListView::Static);
    setFlow(QListView::TopToBottom);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setMouseTracking(true);
    // The view passes the row under the pointer to the delegate as the
    // style's hover state.
    viewport()->setAttribute(Qt::WA_Hover);
    // The widget erases its own background when it paints, so that in
    // transparent mode the parent shows through.
    viewport()->setAutoFillBackground(false);

    auto relayout = [this] { UpdateLayout(); };
    connect(model(), &QAbstractItemModel::rowsRemoved, this, relayout);
    connect(model(), &QAbstractItemModel::modelReset, this, relayout);

    styled_ = !IsClassicStyle(style());
    delegate_->Measure();
    UpdateLayout();
}

TKsCheckListBox::~TKsCheckListBox() {
    // The list's model outlives this part of the widget and resets itself
    // when it goes; nothing here may answer that.
    disconnect(model(), nullptr, this, nullptr);
}

// ------------------------------------------------------------ check state

void TKsCheckListBox::CheckIndex(int index) const {
    if (index < 0 || index >= count()) throw EListError(index);
}

bool TKsCheckListBox::GetChecked(int index) const { return GetState(index) == cbChecked; }

void TKsCheckListBox::SetChecked(int index, bool value) {
    if (GetChecked(index) != value) SetState(index, value ? cbChecked : cbUnchecked);
}

TCheckBoxState TKsCheckListBox::GetState(int index) const {
    CheckIndex(index);
    const QVariant state = item(index)->data(Qt::CheckStateRole);
    return state.isValid() ? FromModel(state.toInt()) : cbUnchecked;
}

void TKsCheckListBox::SetState(int index, TCheckBoxState state) {
    if (GetState(index) == state) return;
    item(index)->setData(Qt::CheckStateRole, ToModel(state));
    // Tells a screen reader, if one listens, that the row's check mark changed.
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
    if (QAccessibleInterface* row = list ? list->child(index) : nullptr) {
        QAccessible::State changed;
        changed.checked = true;
        changed.checkStateMixed = true;
        QAccessibleStateChangeEvent event(row, changed);
        QAccessible::updateAccessibility(&event);
        // A screen reader (Orca) speaks a toggled check box, but of a list
        // item only a change of its description: the row's new state comes
        // as one, for the moment it is heard.
        lexigrove::AnnounceFor(row, state == cbChecked  ? QStringLiteral("checked")
                                    : state == cbGrayed ? QStringLiteral("partially checked")
                                                        : QStringLiteral("not checked"));
    }
}

std::int32_t TKsCheckListBox::GetItemData(int index) const {
    CheckIndex(index);
    return item(index)->data(Qt::UserRole).toInt();
}

void TKsCheckListBox::SetItemData(int index, std::int32_t value) {
    CheckIndex(index);
    item(index)->setData(Qt::UserRole, value);
}

void TKsCheckListBox::ToggleItem(int index) {
    if (index < 0 || index >= count()) return;
    const TCheckBoxState current = GetState(index);
    TCheckBoxState next = current;
    switch (current) {
        case cbUnchecked: {
            bool allow = false;
            if (OnItemAllowGray) OnItemAllowGray(index, allow);
            next = allow ? cbGrayed : cbChecked;
            break;
        }
        case cbChecked:
            next = cbUnchecked;
            break;
        case cbGrayed:
            next = cbChecked;
            break;
    }
    SetState(index, next);
    if (OnItemChange) OnItemChange(index, next);
    ClickCheck();
}

void TKsCheckListBox::ClickCheck() {
    if (OnClickCheck) OnClickCheck(this);
}

// Every row has a check state from the start, so that it reads as one
// that can be ticked.
void TKsCheckListBox::rowsInserted(const QModelIndex& parent, int start, int end) {
    QListWidget::rowsInserted(parent, start, end);
    for (int row = start; row <= end; ++row)
        if (!item(row)->data(Qt::CheckStateRole).isValid()) item(row)->setData(Qt::CheckStateRole, Qt::Unchecked);
    UpdateLayout();
}

// A change of check state shows on the check box alone, and the row's
// value not at all; every other change repaints as the list does.
void TKsCheckListBox::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
    const bool quiet = !roles.isEmpty() && std::all_of(roles.begin(), roles.end(), [](int role) {
        return role == Qt::CheckStateRole || role == Qt::UserRole;
    });
    if (!quiet) {
        QListWidget::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    if (roles.contains(Qt::CheckStateRole))
        for (int row = topLeft.row(); row <= bottomRight.row(); ++row) RepaintCheck(row);
}

// -------------------------------------------------------------- selection

int TKsCheckListBox::ItemIndex() const {
    const QModelIndexList chosen = selectionModel()->selectedIndexes();
    return chosen.isEmpty() ? -1 : chosen.first().row();
}

void TKsCheckListBox::SetItemIndex(int index) {
    if (index < 0 || index >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void TKsCheckListBox::RecreateWindow() {
    pointer_ = QPoint(-1, -1);
    SetItemIndex(count() > 0 ? 0 : -1);
    UpdateStandardRowHeight();
    viewport()->update();
}

// ------------------------------------------------------------- properties

void TKsCheckListBox::SetItemHeight(int h) {
    if (h <= 0 || h == itemHeight_) return;
    itemHeight_ = h;
    UpdateLayout();
}

void TKsCheckListBox::SetColumns(int n) {
    if (n < 0 || n == columns_) return;
    columns_ = n;
    UpdateLayout();
}

void TKsCheckListBox::SetStyle(TListBoxStyle style) {
    if (style == style_) return;
    style_ = style;
    UpdateStandardRowHeight();
    UpdateLayout();
}

int TKsCheckListBox::RowHeight() const {
    return style_ == lbStandard && standardRowHeight_ > 0 ? standardRowHeight_ : itemHeight_;
}

void TKsCheckListBox::SetFlat(bool value) {
    if (value == flat_) return;
    flat_ = value;
    viewport()->update();
}

void TKsCheckListBox::SetHeaderColor(const QColor& value) {
    if (value == headerColor_) return;
    headerColor_ = value;
    viewport()->update();
}

void TKsCheckListBox::SetHeaderBackgroundColor(const QColor& value) {
    if (value == headerBackgroundColor_) return;
    headerBackgroundColor_ = value;
    viewport()->update();
}

void TKsCheckListBox::UpdateStandardRowHeight() {
    if (style_ != lbStandard) return;
    standardRowHeight_ = QFontMetrics(font()).boundingRect(QStringLiteral("Wg")).height();
    UpdateLayout();
}

// ------------------------------------------------------------------ layout

// Rows run top to bottom and then into the next column. A column is
// (width + columns - 3) / columns pixels wide and holds as many whole rows
// as the client height takes; the horizontal scroll bar appears only when
// the columns do not fit.
void TKsCheckListBox::UpdateLayout() {
    const int rowHeight = RowHeight();
    const QRect client = contentsRect();
    QSize cell;
    if (columns_ > 0) {
        const int columnWidth = std::max(1, (width() + columns_ - 3) / columns_);
        const int perColumn = std::max(1, client.height() / rowHeight);
        const int columnsNeeded = (count() + perColumn - 1) / perColumn;
        const bool fits = columnsNeeded * columnWidth <= client.width();
        setWrapping(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
        // The list view wraps a column one pixel early (it keeps the last
        // row off the viewport's bottom line); one pixel of slack below the
        // client area makes it hold exactly height / row height rows.
        setViewportMargins(0, 0, 0, -1);
        if (QWidget* bar = horizontalScrollBar()->parentWidget(); bar && bar != this) bar->raise();
        cell = QSize(columnWidth, rowHeight);
    } else {
        setWrapping(false);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setViewportMargins(0, 0, 0, 0);
        cell = QSize(std::max(1, viewport()->width()), rowHeight);
    }
    if (delegate_->Cell != cell || gridSize() != cell) {
        delegate_->Cell = cell;
        setGridSize(cell);
    }
}

void TKsCheckListBox::resizeEvent(QResizeEvent* e) {
    QListWidget::resizeEvent(e);
    UpdateLayout();
}

QRect TKsCheckListBox::RowRect(int index) const { return visualRect(model()->index(index, 0)); }

int TKsCheckListBox::TextWidth(int index) const { return QFontMetrics(font()).horizontalAdvance(item(index)->text()); }

QRect TKsCheckListBox::CheckRect(int index) const {
    CheckIndex(index);
    const QRect row = RowRect(index);
    return QRect(row.left() + indent_, row.top(), CheckWidth(), row.height());
}

QRect TKsCheckListBox::CheckBoxRect(const QRect& row) const {
    QRect box(row.left() + indent_, row.top(), CheckWidth(), row.height());
    const int h = box.height();
    if (h > CheckHeight()) {
        // The styled and classic boxes round their centring differently, so
        // for even spare heights the styled box sits one pixel lower.
        const int top = styled_ ? box.top() + h / 2 - CheckHeight() / 2 : box.top() + (h - CheckHeight()) / 2;
        box = QRect(box.left(), top, CheckWidth(), CheckHeight());
    }
    return box;
}

QRect TKsCheckListBox::TextRect(const QRect& row) const {
    return row.adjusted(CheckWidth() + indent_ + kTextGap, 0, 0, 0);
}

QRect TKsCheckListBox::FocusRect(int index) const {
    CheckIndex(index);
    const QRect row = RowRect(index);
    // From a pixel left of the text to the end of the clickable slack, and
    // from the row's top + 1 to the text's height, grown two pixels up and
    // down: with 13-pixel text in 15-pixel rows the top line falls in the
    // row above and the bottom line on the row's own last line.
    const int left = TextRect(row).left() - 1;
    const int top = row.top() + 1 - 2;
    const int bottom = row.top() + QFontMetrics(font()).height() + 2;  // exclusive
    return QRect(QPoint(left, top), QPoint(left + TextWidth(index) + kHitSlack - 1, bottom - 1));
}

std::pair<int, int> TKsCheckListBox::ClickRange(int index) const {
    CheckIndex(index);
    return delegate_->ClickRange(RowRect(index), TextWidth(index));
}

// ------------------------------------------------------------------ drawing

// The focused row's frame reaches a pixel into the row above: a repaint of
// that strip draws the focused row too, as the list draws only the rows
// that meet the dirty rectangle.
void TKsCheckListBox::paintEvent(QPaintEvent* e) {
    if (!(styled_ && trasparent_)) {
        QPainter p(viewport());
        p.fillRect(e->rect(), viewport()->palette().brush(viewport()->backgroundRole()));
    }
    QRegion dirty = e->region();
    const QModelIndex current = currentIndex();
    if (hasFocus() && current.isValid() && dirty.intersects(Reach(FocusRect(current.row()))))
        dirty += RowRect(current.row());
    QPaintEvent grown(dirty);
    QListWidget::paintEvent(&grown);
}

void TKsCheckListBox::RepaintCheck(int index) { viewport()->update(CheckRect(index)); }

void TKsCheckListBox::UpdateFocusArea(int index) {
    if (index < 0 || index >= count()) return;
    viewport()->update(Reach(RowRect(index).united(FocusRect(index))));
}

// At a fractional device pixel ratio a line along the edge of a logical
// pixel also tints device pixels that the next logical pixel shares, and
// the window's surface keeps them unless the repaint reaches that pixel
// too (seen on X11 at 1.25, 1.5 and 1.75: the focus frame's top line left
// behind above the row that had the focus).
QRect TKsCheckListBox::Reach(const QRect& rect) const {
    const qreal ratio = viewport()->devicePixelRatioF();
    return ratio == std::floor(ratio) ? rect : rect.adjusted(-1, -1, 1, 1);
}

void TKsCheckListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListWidget::currentChanged(current, previous);
    if (previous.isValid()) UpdateFocusArea(previous.row());
    if (current.isValid()) UpdateFocusArea(current.row());
}

void TKsCheckListBox::focusInEvent(QFocusEvent* e) {
    QListWidget::focusInEvent(e);
    if (currentIndex().isValid()) UpdateFocusArea(currentIndex().row());
}

void TKsCheckListBox::focusOutEvent(QFocusEvent* e) {
    QListWidget::focusOutEvent(e);
    if (currentIndex().isValid()) UpdateFocusArea(currentIndex().row());
}

void TKsCheckListBox::scrollContentsBy(int dx, int dy) {
    QListWidget::scrollContentsBy(dx, dy);
    viewport()->update();
}

void TKsCheckListBox::changeEvent(QEvent* e) {
    QListWidget::changeEvent(e);
    switch (e->type()) {
        case QEvent::StyleChange:
            styled_ = !IsClassicStyle(style());
            delegate_->Measure();
            viewport()->update();
            break;
        case QEvent::PaletteChange:
            delegate_->Measure();
            viewport()->update();
            break;
        case QEvent::FontChange:
            UpdateStandardRowHeight();
            break;
        default:
            break;
    }
}

// -------------------------------------------------------------------- input

// Whether `pos` lies over the row's indent, check box or text, and not
// over the empty space right of the text.
bool TKsCheckListBox::WithinReach(int row, const QPoint& pos) const {
    if (row < 0 || row >= count()) return false;
    const QRect rect = RowRect(row);
    return rect.contains(pos) && pos.x() - rect.left() <= indent_ + CheckWidth() + kTextGap + TextWidth(row);
}

int TKsCheckListBox::HotRow() const {
    const int row = indexAt(pointer_).row();
    return WithinReach(row, pointer_) ? row : -1;
}

// The view repaints a row when the pointer enters or leaves it; moving
// between the text and the space right of it changes only the box.
void TKsCheckListBox::TrackHot(const QPoint& pos) {
    const int before = HotRow();
    pointer_ = pos;
    const int after = HotRow();
    if (before == after) return;
    if (before >= 0) RepaintCheck(before);
    if (after >= 0) RepaintCheck(after);
}

void TKsCheckListBox::mouseMoveEvent(QMouseEvent* e) {
    QListWidget::mouseMoveEvent(e);
    TrackHot(e->position().toPoint());
}

bool TKsCheckListBox::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::Leave) TrackHot(QPoint(-1, -1));
    return QListWidget::viewportEvent(e);
}

// A left press over a row's check box or text toggles it, after the list
// has taken the focus and selected the row.
void TKsCheckListBox::HandlePress(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint pos = e->position().toPoint();
    const QModelIndex under = indexAt(pos);
    if (!under.isValid()) return;
    const auto [left, right] = ClickRange(under.row());
    if (left <= pos.x() && pos.x() <= right) ToggleItem(under.row());
}

void TKsCheckListBox::mousePressEvent(QMouseEvent* e) {
    QListWidget::mousePressEvent(e);
    if (!inDoubleClick_) HandlePress(e);
}

// Qt withholds the press that makes a double-click and delivers this event
// in its place, so it counts as the second press: a double-click toggles
// twice. The list may replay it as a press of its own, which must not
// toggle a third time.
void TKsCheckListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    inDoubleClick_ = true;
    QListWidget::mouseDoubleClickEvent(e);
    inDoubleClick_ = false;
    HandlePress(e);
}

// Space toggles the selected row, after key-press filters had their say.
void TKsCheckListBox::keyPressEvent(QKeyEvent* e) {
    if (e->text() == QLatin1String(" ")) {
        ToggleItem(ItemIndex());
        e->accept();
        return;
    }
    QListWidget::keyPressEvent(e);
}

// Tab (with or without Shift) steps to the next row and stays in the list;
// from the last row it wraps to row 0 and lets the focus move on.
bool TKsCheckListBox::WantsTab() {
    const int rows = count();
    if (rows == 0) return false;
    const int selected = ItemIndex();
    if (selected < 0) {
        SetItemIndex(0);
        return true;
    }
    if (selected + 2 <= rows) {
        SetItemIndex(selected + 1);
        return true;
    }
    SetItemIndex(0);
    return false;
}

bool TKsCheckListBox::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && WantsTab()) {
            key->accept();
            return true;
        }
    }
    return QListWidget::event(e);
}
