#include "KsCheckLst.h"

#include "AccessibleLeaf.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOption>
#include <QStyledItemDelegate>

#include <QPersistentModelIndex>
#include <QPointer>

#include <algorithm>
#include <string>
#include <unordered_map>

EListError::EListError(int index)
    : std::runtime_error("List index out of bounds (" + std::to_string(index) + ")"), index_(index) {}

namespace {

// Gap between the check box and the row's text, and the slack right of the
// text that still counts as the row's clickable part.
constexpr int kTextGap = 4;
constexpr int kHitSlack = 5;

int gCheckWidth = 0;
int gCheckHeight = 0;

void ReadCheckSize() {
    if (gCheckWidth > 0) return;
    qreal dpi = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInchY();
    const int size = std::max(1, qRound(13.0 * dpi / 96.0));
    gCheckWidth = size;
    gCheckHeight = size;
}

// The classic look belongs to Qt's "Windows" style; every other style
// (Fusion, the platform themes) draws the styled look.
bool IsClassicStyle(const QStyle* style) {
    while (const auto* proxy = qobject_cast<const QProxyStyle*>(style)) {
        if (!proxy->baseStyle() || proxy->baseStyle() == style) break;
        style = proxy->baseStyle();
    }
    if (!style) return false;
    if (style->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0) return true;
    return qstrcmp(style->metaObject()->className(), "QWindowsStyle") == 0;
}

// ----------------------------------------------------------- accessibility

// What a screen reader sees of one row: a list item that can be checked,
// named by its text, whose default action toggles it as a click on its box
// does. It follows its row through the model and goes invalid with it.
class RowAccessible : public lexigrove::AccessibleLeaf {
public:
    RowAccessible(TKsCheckListBox* list, int row) : list_(list), index_(list->model()->index(row, 0)) {}

    int Row() const { return index_.row(); }

    bool isValid() const override { return list_ && index_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list_.data()); }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name) return {};
        return list_->item(Row())->text();
    }

    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = list_->visualRect(index_);
        return QRect(list_->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::State state() const override {
        QAccessible::State st;
        if (!isValid()) return st;
        const int row = Row();
        if (!list_->isVisible() || !list_->viewport()->rect().intersects(list_->visualRect(index_)))
            st.invisible = true;
        if (!list_->isEnabled()) st.disabled = true;
        st.selectable = true;
        st.focusable = true;
        st.selected = list_->selectionModel()->isSelected(index_);
        st.focused = list_->hasFocus() && list_->currentIndex() == index_;
        st.checkable = true;
        const TCheckBoxState check = list_->GetState(row);
        st.checked = check == cbChecked;
        st.checkStateMixed = check == cbGrayed;
        return st;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override {
        if (!isValid() || !list_->isEnabled()) return {};
        return {toggleAction()};
    }

    // The row is selected and toggled, as a left press on its box does.
    void doAction(const QString& name) override {
        if (name != toggleAction() || !isValid() || !list_->isEnabled()) return;
        const int row = Row();
        list_->SetItemIndex(row);
        list_->ToggleItem(row);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TKsCheckListBox> list_;
    QPersistentModelIndex index_;
};

// The list as a screen reader sees it: a list whose children are its rows.
class ListAccessible : public QAccessibleWidget {
public:
    explicit ListAccessible(TKsCheckListBox* list) : QAccessibleWidget(list, QAccessible::List) {}

    ~ListAccessible() override {
        for (const auto& entry : rows_) QAccessible::deleteAccessibleInterface(entry.second);
    }

    int childCount() const override { return List()->count(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= List()->count()) return nullptr;
        // One interface per row for as long as the row lives, so that the
        // reader can keep hold of it; rows that moved get a fresh one.
        const auto found = rows_.find(index);
        if (found != rows_.end()) {
            auto* row = static_cast<RowAccessible*>(QAccessible::accessibleInterface(found->second));
            if (row && row->isValid() && row->Row() == index) return row;
            QAccessible::deleteAccessibleInterface(found->second);
            rows_.erase(found);
        }
        auto* row = new RowAccessible(List(), index);
        rows_[index] = QAccessible::registerAccessibleInterface(row);
        return row;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || child->role() != QAccessible::ListItem || child->parent() != this) return -1;
        const int row = static_cast<const RowAccessible*>(child)->Row();
        return row >= 0 && child == this->child(row) ? row : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = List()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = List()->indexAt(at);
        return index.isValid() ? child(index.row()) : nullptr;
    }

private:
    TKsCheckListBox* List() const { return static_cast<TKsCheckListBox*>(widget()); }

    mutable std::unordered_map<int, QAccessible::Id> rows_;
};

QAccessibleInterface* ListAccessibleFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("TKsCheckListBox") && object && object->isWidgetType())
        return new ListAccessible(static_cast<TKsCheckListBox*>(object));
    return nullptr;
}

}  // namespace

// Every row gets exactly one grid cell, so hit tests and selection repaints
// cover the whole row height.
class TKsCheckListBox::CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize Cell;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return Cell; }
};

int TKsCheckListBox::CheckWidth() {
    ReadCheckSize();
    return gCheckWidth;
}

int TKsCheckListBox::CheckHeight() {
    ReadCheckSize();
    return gCheckHeight;
}

TKsCheckListBox::TKsCheckListBox(QWidget* parent) : QListWidget(parent) {
    ReadCheckSize();
    static const bool accessible = [] {
        QAccessible::installFactory(ListAccessibleFactory);
        return true;
    }();
    (void)accessible;
    headerColor_ = palette().color(QPalette::WindowText);
    headerBackgroundColor_ = palette().color(QPalette::Button);

    delegate_ = new CellDelegate(this);
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
    viewport()->setMouseTracking(true);
    // The widget erases its own background when it paints, so that in
    // transparent mode the parent shows through.
    viewport()->setAutoFillBackground(false);

    auto relayout = [this] { UpdateLayout(); };
    connect(model(), &QAbstractItemModel::rowsInserted, this, relayout);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, relayout);
    connect(model(), &QAbstractItemModel::modelReset, this, relayout);

    EvaluateStyledLook();
    UpdateLayout();
}

TKsCheckListBox::~TKsCheckListBox() {
    // The list's model outlives this part of the widget and resets itself
    // when it goes; nothing here may answer that.
    disconnect(model(), nullptr, this, nullptr);
}

// ---------------------------------------------------------------- records

void TKsCheckListBox::CheckIndex(int index) const {
    if (index < 0 || index >= count()) throw EListError(index);
}

QListWidgetItem* TKsCheckListBox::RowItem(int index) const {
    CheckIndex(index);
    return item(index);
}

TKsCheckListBox::RecordPtr TKsCheckListBox::RecordOf(int index) const {
    const QVariant slot = RowItem(index)->data(RecordRole);
    if (slot.metaType() != QMetaType::fromType<RecordPtr>()) return nullptr;
    return slot.value<RecordPtr>();
}

void TKsCheckListBox::StoreRecord(int index, const RecordPtr& record) {
    QListWidgetItem* row = RowItem(index);
    // The slot is private bookkeeping: the model does not announce it, so
    // creating a record repaints nothing and wakes no itemChanged handler.
    const QSignalBlocker quiet(model());
    row->setData(RecordRole, record ? QVariant::fromValue(record) : QVariant());
}

TKsCheckListBoxDataWrapper* TKsCheckListBox::FindItemRecord(int index) const { return RecordOf(index).get(); }

TKsCheckListBoxDataWrapper* TKsCheckListBox::ItemRecord(int index) {
    if (TKsCheckListBoxDataWrapper* found = FindItemRecord(index)) return found;
    auto record = std::make_shared<TKsCheckListBoxDataWrapper>();
    TKsCheckListBoxDataWrapper* raw = record.get();
    StoreRecord(index, record);
    return raw;
}

// ------------------------------------------------------------ check state

bool TKsCheckListBox::GetChecked(int index) const {
    const TKsCheckListBoxDataWrapper* record = FindItemRecord(index);
    return record && record->State == cbChecked;
}

void TKsCheckListBox::SetChecked(int index, bool value) {
    if (GetChecked(index) != value) SetState(index, value ? cbChecked : cbUnchecked);
}

TCheckBoxState TKsCheckListBox::GetState(int index) const {
    const TKsCheckListBoxDataWrapper* record = FindItemRecord(index);
    return record ? record->State : cbUnchecked;
}

void TKsCheckListBox::SetState(int index, TCheckBoxState state) {
    if (GetState(index) == state) return;
    ItemRecord(index)->State = state;
    RepaintCheck(index);
    AnnounceState(index);
}

// Tells a screen reader, if one listens, that the row's check mark changed.
void TKsCheckListBox::AnnounceState(int index) {
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
    QAccessibleInterface* row = list ? list->child(index) : nullptr;
    if (!row) return;
    QAccessible::State changed;
    changed.checked = true;
    changed.checkStateMixed = true;
    QAccessibleStateChangeEvent event(row, changed);
    QAccessible::updateAccessibility(&event);
}

std::int32_t TKsCheckListBox::GetItemData(int index) const {
    const TKsCheckListBoxDataWrapper* record = FindItemRecord(index);
    return record ? record->Data : 0;
}

void TKsCheckListBox::SetItemData(int index, std::int32_t value) {
    TKsCheckListBoxDataWrapper* record = ItemRecord(index);
    record->Data = value;
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

// ------------------------------------------------------------- re-creation

void TKsCheckListBox::RecreateWindow() {
    // Every row gets a fresh record that keeps only its state and data.
    for (int i = 0; i < count(); ++i) {
        auto fresh = std::make_shared<TKsCheckListBoxDataWrapper>();
        fresh->Data = GetItemData(i);
        fresh->State = GetState(i);
        StoreRecord(i, fresh);
    }
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

void TKsCheckListBox::EvaluateStyledLook() { styled_ = !IsClassicStyle(style()); }

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

// ------------------------------------------------------------------ drawing

bool TKsCheckListBox::HasFocusFlag(int index) const {
    return hasFocus() && currentIndex().isValid() && currentIndex().row() == index;
}

void TKsCheckListBox::RecordHitRange(int index, const QRect& row) {
    TKsCheckListBoxDataWrapper* record = FindItemRecord(index);
    if (!record) return;
    const int textLeft = TextRect(row).left();
    record->HitLeft = textLeft - (CheckWidth() + kTextGap);
    record->HitRight = textLeft + TextWidth(index) + kHitSlack;
}

void TKsCheckListBox::paintEvent(QPaintEvent* e) {
    QPainter p(viewport());
    p.setFont(font());
    const QBrush brush = viewport()->palette().brush(viewport()->backgroundRole());
    const bool showParent = styled_ && trasparent_;
    if (!showParent) p.fillRect(e->rect(), brush);

    const int rows = count();
    for (int i = 0; i < rows; ++i) {
        const QRect row = RowRect(i);
        if (!row.isValid()) continue;
        const bool focused = HasFocusFlag(i);
        // A focused row's frame reaches a pixel into the row above, so it
        // is redrawn whenever that strip is.
        const QRect extent = focused ? row.united(FocusRect(i)) : row;
        if (!e->region().intersects(extent)) continue;
        DrawRow(p, i, row, focused);
    }
}

void TKsCheckListBox::DrawRow(QPainter& p, int index, const QRect& row, bool focused) {
    // The background was laid down for the whole dirty region already.
    const QRect textRect = TextRect(row);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    QColor textColor;
    if (!isEnabled())
        textColor = palette().color(QPalette::Disabled, QPalette::Text);
    else if (focused && drawSelect_)
        textColor = palette().color(QPalette::HighlightedText);
    else
        textColor = palette().color(QPalette::Text);

    RecordHitRange(index, row);

    if (focused) {
        const QRect frame = FocusRect(index);
        if (drawSelect_) p.fillRect(frame, palette().color(QPalette::Highlight));
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = frame;
        option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        option.backgroundColor = drawSelect_                ? palette().color(QPalette::Highlight)
                                 : (styled_ && trasparent_) ? palette().color(QPalette::Window)
                                                            : viewport()->palette().color(viewport()->backgroundRole());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }

    p.setPen(textColor);
    p.drawText(textRect, flags, item(index)->text());

    DrawCheck(p, CheckBoxRect(row), GetState(index), index);
}

void TKsCheckListBox::DrawCheck(QPainter& p, const QRect& box, TCheckBoxState state, int index) {
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = box;
    // The list's Base colours its rows; the box keeps the face that an
    // ordinary check box would have in the list's place.
    const QPalette around = parentWidget() ? parentWidget()->palette() : QApplication::palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        option.palette.setBrush(group, QPalette::Base, around.brush(group, QPalette::Base));
    option.state &=
        ~(QStyle::State_MouseOver | QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange | QStyle::State_Enabled);
    switch (state) {
        case cbUnchecked:
            option.state |= QStyle::State_Off;
            break;
        case cbChecked:
            option.state |= QStyle::State_On;
            break;
        default:
            option.state |= QStyle::State_NoChange;
            break;
    }

    if (styled_) {
        const TKsCheckListBoxDataWrapper* record = FindItemRecord(index);
        const bool hot = record && record->Hot;
        if (hot) {
            // Hot wins over disabled. Fusion draws no hover look for check
            // boxes, so the hot box also carries the style's focus emphasis.
            option.state |= QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_HasFocus |
                            QStyle::State_KeyboardFocusChange;
            option.palette.setCurrentColorGroup(QPalette::Active);
        } else if (isEnabled()) {
            option.state |= QStyle::State_Enabled;
        } else {
            option.palette.setCurrentColorGroup(QPalette::Disabled);
        }
        p.save();
        p.setClipRect(box, Qt::IntersectClip);
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &p, this);
        p.restore();
        return;
    }

    // The classic box shows neither hot nor disabled. Its grayed look is a
    // grey tick on a dithered face: the style dithers the box's interior
    // over whatever lies beneath, so lay the face colour down first.
    option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(QPalette::Active);
    if (state != cbUnchecked && state != cbChecked) {
        option.palette.setColor(QPalette::Text, option.palette.color(QPalette::Dark));
        p.fillRect(box.adjusted(2, 2, -2, -2), option.palette.button());
    }
    if (!flat_) {
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &p, this);
        return;
    }
    // Flat: the classic box's interior inside a one-pixel shadow frame.
    p.save();
    p.setClipRect(box.adjusted(2, 2, -2, -2), Qt::IntersectClip);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &p, this);
    p.restore();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette().color(QPalette::Active, QPalette::Dark), 0));
    p.drawRect(QRect(box.left() + 1, box.top() + 1, box.width() - 3, box.height() - 3));
    p.restore();
}

void TKsCheckListBox::RepaintCheck(int index) { viewport()->update(CheckRect(index)); }

void TKsCheckListBox::UpdateFocusArea(int index) {
    if (index < 0 || index >= count()) return;
    viewport()->update(RowRect(index).united(FocusRect(index)));
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
            EvaluateStyledLook();
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

void TKsCheckListBox::TrackHot(const QPoint& pos) {
    int hot = -1;
    const QModelIndex under = indexAt(pos);
    if (under.isValid()) {
        hot = under.row();
        ItemRecord(hot);
        const int reach = indent_ + CheckWidth() + kTextGap + TextWidth(hot);
        if (pos.x() - RowRect(hot).left() > reach) hot = -1;
    }
    if (hot >= 0) {
        TKsCheckListBoxDataWrapper* record = FindItemRecord(hot);
        if (!record->Hot) {
            record->Hot = true;
            RepaintCheck(hot);
        }
    }
    const int rows = count();
    for (int i = 0; i < rows; ++i) {
        if (i == hot) continue;
        TKsCheckListBoxDataWrapper* record = FindItemRecord(i);
        if (record && record->Hot) {
            record->Hot = false;
            RepaintCheck(i);
        }
    }
}

void TKsCheckListBox::ClearHot() {
    const int rows = count();
    for (int i = 0; i < rows; ++i) {
        TKsCheckListBoxDataWrapper* record = FindItemRecord(i);
        if (record && record->Hot) {
            record->Hot = false;
            RepaintCheck(i);
        }
    }
}

void TKsCheckListBox::mouseMoveEvent(QMouseEvent* e) {
    QListWidget::mouseMoveEvent(e);
    TrackHot(e->position().toPoint());
}

bool TKsCheckListBox::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::Leave) ClearHot();
    return QListWidget::viewportEvent(e);
}

// A left press over a row's check box or text toggles it. The pointer has
// always passed over the row first, creating its record; a press that
// arrives without that move (a touch tap) gets the same treatment here.
// The list repaints later than the press, so the clicked row's range is
// measured now, as drawing the row would record it.
void TKsCheckListBox::HandlePress(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint pos = e->position().toPoint();
    const QModelIndex under = indexAt(pos);
    if (!under.isValid()) return;
    const int row = under.row();
    if (!FindItemRecord(row)) TrackHot(pos);
    const TKsCheckListBoxDataWrapper* record = FindItemRecord(row);
    if (!record) return;
    RecordHitRange(row, RowRect(row));
    if (record->HitLeft <= pos.x() && pos.x() <= record->HitRight) ToggleItem(row);
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
