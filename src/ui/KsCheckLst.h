// TKsCheckListBox: a single-selection list whose rows show an indent, a
// three-state check box and the row's text, laid out like a multi-column
// list box (top to bottom, then into the next column). A left click over a
// row's check box or text, or the space bar, toggles the row; the check box
// under the pointer takes its hot look; the rows can show the parent's
// background; Tab steps through the rows.
//
// It is a QListWidget: each row's check state and value live in the model
// (Qt::CheckStateRole, grayed as partly checked, and Qt::UserRole), and a
// delegate draws the rows and knows their clickable range. A screen reader
// reads the rows through Qt's own item-view accessibility.
#pragma once

#include <QColor>
#include <QListWidget>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <utility>

// Raised for a row index the list does not have; the widget is left as it was.
class EListError : public std::runtime_error {
public:
    explicit EListError(int index);
    int Index() const noexcept { return index_; }

private:
    int index_;
};

// Only cbChecked counts as checked; a grayed row reads as not checked.
enum TCheckBoxState : unsigned char { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

// How the row height is chosen: measured from the font, or ItemHeight.
enum TListBoxStyle : unsigned char { lbStandard = 0, lbOwnerDrawFixed = 1 };

class TKsCheckListBox : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(bool DrawSelect READ DrawSelect WRITE SetDrawSelect)
    Q_PROPERTY(bool Trasparent READ Trasparent WRITE SetTrasparent)
    Q_PROPERTY(QColor HeaderColor READ HeaderColor WRITE SetHeaderColor)
    Q_PROPERTY(QColor HeaderBackgroundColor READ HeaderBackgroundColor WRITE SetHeaderBackgroundColor)
    Q_PROPERTY(Qt::Alignment HeaderAlignment READ HeaderAlignment WRITE SetHeaderAlignment)
    Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)

public:
    // The check box size shared by every instance: the classic 13-pixel
    // check mark at 96 dots per inch, scaled to the screen's logical DPI.
    // Fixed at the first construction and never refreshed.
    static int CheckWidth();
    static int CheckHeight();

    explicit TKsCheckListBox(QWidget* parent = nullptr);
    ~TKsCheckListBox() override;

    // Check state. These throw EListError for an index the list does not have.
    bool GetChecked(int index) const;
    void SetChecked(int index, bool value);  // acts only when the checked reading differs
    TCheckBoxState GetState(int index) const;
    void SetState(int index, TCheckBoxState state);  // raises no event

    // The application's 32-bit value for a row (0 until set).
    std::int32_t GetItemData(int index) const;
    void SetItemData(int index, std::int32_t value);

    // The user's toggle: unchecked -> checked (or grayed if OnItemAllowGray
    // allows it), checked -> unchecked, grayed -> checked; then OnItemChange
    // and ClickCheck, also when nothing changed. Ignores bad indices.
    void ToggleItem(int index);
    // Called after every user toggle; raises OnClickCheck.
    virtual void ClickCheck();
    // Repaints the row's check box and nothing else.
    void RepaintCheck(int index);

    // The selected row, -1 for none; setting -1 clears the selection.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // Rebuilds the rows as a fresh control would: every row keeps its state
    // and value, the hot look starts afresh, row 0 ends up selected.
    void RecreateWindow();

    void SetItemHeight(int h);
    int ItemHeight() const { return itemHeight_; }
    void SetColumns(int n);  // 0: one column that scrolls vertically
    int Columns() const { return columns_; }
    void SetStyle(TListBoxStyle style);
    TListBoxStyle Style() const { return style_; }
    int StandardRowHeight() const { return standardRowHeight_; }
    int RowHeight() const;  // the height the rows are laid out with

    // Flat, HeaderColor and HeaderBackgroundColor repaint when they change;
    // the others show at the next repaint. Trasparent (spelled so on
    // purpose: it is the property's published name) shows the parent's
    // background behind the rows, in the styled look.
    void SetTrasparent(bool value) { trasparent_ = value; }
    bool Trasparent() const { return trasparent_; }
    void SetFlat(bool value);
    bool Flat() const { return flat_; }
    void SetDrawSelect(bool value) { drawSelect_ = value; }
    bool DrawSelect() const { return drawSelect_; }
    void SetIndent(int value) { indent_ = value; }
    int Indent() const { return indent_; }
    void SetHeaderColor(const QColor& value);
    QColor HeaderColor() const { return headerColor_; }
    void SetHeaderBackgroundColor(const QColor& value);
    QColor HeaderBackgroundColor() const { return headerBackgroundColor_; }
    void SetHeaderAlignment(Qt::Alignment value) { headerAlignment_ = value; }
    Qt::Alignment HeaderAlignment() const { return headerAlignment_; }

    // True while the check boxes take the styled look (hot, disabled and
    // the parent's background); false under Qt's classic "Windows" style.
    bool StyledLook() const { return styled_; }

    // The row whose check box is hot (the pointer over its indent, box or
    // text), or -1.
    int HotRow() const;

    // Where row drawing puts things, in viewport coordinates.
    QRect CheckRect(int index) const;            // the column RepaintCheck repaints
    QRect CheckBoxRect(const QRect& row) const;  // the check box itself
    QRect TextRect(const QRect& row) const;
    QRect FocusRect(int index) const;
    // The x range a left press toggles the row in: from the check box's
    // left edge to 5 pixels past the end of the text, both inclusive.
    std::pair<int, int> ClickRange(int index) const;

    // Events. Key-press and mouse handlers are ordinary Qt event filters.
    std::function<void(TKsCheckListBox* sender)> OnClickCheck;
    std::function<void(int index, bool& allow)> OnItemAllowGray;
    std::function<void(int index, TCheckBoxState state)> OnItemChange;

protected:
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    class RowDelegate;
    friend class RowDelegate;

    void CheckIndex(int index) const;
    QRect RowRect(int index) const;
    int TextWidth(int index) const;
    bool WithinReach(int row, const QPoint& pos) const;
    void TrackHot(const QPoint& pos);
    void HandlePress(QMouseEvent* e);
    bool WantsTab();
    void UpdateFocusArea(int index);
    QRect Reach(const QRect& rect) const;  // a repaint's rectangle, grown at fractional scales
    void UpdateLayout();
    void UpdateStandardRowHeight();

    // Fields in the order the widget has always declared them.
    bool trasparent_ = true;
    bool drawSelect_ = false;
    int indent_ = 8;
    QColor headerColor_;
    Qt::Alignment headerAlignment_ = Qt::AlignLeft;
    QColor headerBackgroundColor_;
    bool flat_ = true;
    int standardRowHeight_ = 0;

    TListBoxStyle style_ = lbOwnerDrawFixed;
    int itemHeight_ = 16;
    int columns_ = 0;
    bool styled_ = true;
    bool inDoubleClick_ = false;
    // Where the pointer last moved over the rows, for the hot look.
    QPoint pointer_{-1, -1};
    RowDelegate* delegate_ = nullptr;
};
