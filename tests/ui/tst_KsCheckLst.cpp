// Behaviour of the length option list widget: layout, check states, row
// records, mouse and keyboard input, and rebuilding the rows.
#include "KsCheckLst.h"
#include "LengthOptions.h"
#ifdef LEXIGROVE_ATSPI_CHECKABLE_STOPGAP
#include "AtspiCheckableStopgap.h"
#endif

#include <QAccessible>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTest>

#include <utility>
#include <string>
#include <vector>

namespace {

// The main window's length options: 14 rows, three columns of rows 15 high.
struct LengthOptions {
    QWidget frame;
    TKsCheckListBox* list = nullptr;
    QLineEdit* next = nullptr;  // something for Tab to move the focus to

    explicit LengthOptions(int height = 81) {
        frame.resize(320, 120);
        list = new TKsCheckListBox(&frame);
        lexigrove::SetUpLengthOptions(*list);
        list->setGeometry(6, 16, 289, height);
        next = new QLineEdit(&frame);
        next->setGeometry(6, 100, 100, 18);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
    }

    QRect Row(int i) const { return list->visualRect(list->model()->index(i, 0)); }
    int TextWidth(int i) const { return list->fontMetrics().horizontalAdvance(list->item(i)->text()); }
    // x of the first pixel right of the row's text
    int TextEnd(int i) const { return list->TextRect(Row(i)).left() + TextWidth(i); }
    QPoint OverText(int i) const { return {list->TextRect(Row(i)).left() + 2, Row(i).center().y()}; }
    QWidget* Surface() const { return list->viewport(); }
};

// A real double-click, sent to the window as the windowing system sends
// it (press, release, press, release); Qt turns the second press into a
// double-click event and withholds the press itself.
void DoubleClick(QWidget* w, QPoint pos) {
    QWidget* top = w->window();
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, pos));
}

}  // namespace

class TstKsCheckLst : public QObject {
    Q_OBJECT

private slots:
    void lengthOptionsStartUnchecked();
    void lengthOptionsLayout();
    void rowsPerColumn_data();
    void rowsPerColumn();
    void checkStateTable_data();
    void checkStateTable();
    void toggleRaisesChangeThenClick();
    void badIndexRaisesAndChangesNothing();
    void pressHitRange_data();
    void pressHitRange();
    void onlyLeftPressToggles();
    void doubleClickTogglesTwice();
    void spaceTogglesSelectedRow();
    void tabStepsThroughRows();
    void recreateKeepsStates();
    void screenReaderSeesCheckMarks();
};

void TstKsCheckLst::lengthOptionsStartUnchecked() {
    LengthOptions ui;
    QCOMPARE(ui.list->count(), 14);
    QCOMPARE(ui.list->ItemIndex(), -1);
    for (int i = 0; i < 14; ++i) QVERIFY(!ui.list->GetChecked(i));
}

void TstKsCheckLst::lengthOptionsLayout() {
    LengthOptions ui;
    for (int i = 0; i < 14; ++i) {
        const QRect row = ui.Row(i);
        QCOMPARE(row, QRect((i / 5) * 96, (i % 5) * 15, 96, 15));
        QCOMPARE(ui.list->indexAt(row.center()).row(), i);
    }
    QVERIFY(!ui.list->horizontalScrollBar()->isVisible());
    // the check box sits 8 pixels into each column, the text 4 after it
    QCOMPARE(ui.list->CheckRect(7).left(), 96 + 8);
    QCOMPARE(ui.list->TextRect(ui.Row(7)).left(), 96 + 8 + TKsCheckListBox::CheckWidth() + 4);
}

void TstKsCheckLst::rowsPerColumn_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("perColumn");
    QTest::addColumn<bool>("scrollBar");
    QTest::newRow("exactly five rows") << 75 << 5 << false;
    // four to a column need a fourth column and so a scroll bar, which
    // leaves 60 pixels: still four rows
    QTest::newRow("one pixel short of five") << 74 << 4 << true;
}

void TstKsCheckLst::rowsPerColumn() {
    QFETCH(int, height);
    QFETCH(int, perColumn);
    QFETCH(bool, scrollBar);
    LengthOptions ui(height);
    QCOMPARE(ui.Row(perColumn - 1).left(), 0);
    QCOMPARE(ui.Row(perColumn).topLeft(), QPoint(96, 0));
    QCOMPARE(ui.list->horizontalScrollBar()->isVisible(), scrollBar);
}

enum class Op {
    SetCheckedTrue,
    SetCheckedFalse,
    SetStateChecked,
    SetStateGrayed,
    SetStateUnchecked,
    Toggle,
    ToggleAllowGray
};
Q_DECLARE_METATYPE(Op)

void TstKsCheckLst::checkStateTable_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<Op>("op");
    QTest::addColumn<int>("to");
    QTest::newRow("unchecked, toggle") << 0 << Op::Toggle << 1;
    QTest::newRow("unchecked, toggle allowing gray") << 0 << Op::ToggleAllowGray << 2;
    QTest::newRow("checked, toggle") << 1 << Op::Toggle << 0;
    QTest::newRow("checked, toggle allowing gray") << 1 << Op::ToggleAllowGray << 0;
    QTest::newRow("grayed, toggle") << 2 << Op::Toggle << 1;
    QTest::newRow("grayed, toggle allowing gray") << 2 << Op::ToggleAllowGray << 1;
    QTest::newRow("unchecked, SetChecked true") << 0 << Op::SetCheckedTrue << 1;
    QTest::newRow("grayed, SetChecked true") << 2 << Op::SetCheckedTrue << 1;
    QTest::newRow("checked, SetChecked true") << 1 << Op::SetCheckedTrue << 1;
    QTest::newRow("checked, SetChecked false") << 1 << Op::SetCheckedFalse << 0;
    QTest::newRow("unchecked, SetChecked false") << 0 << Op::SetCheckedFalse << 0;
    QTest::newRow("grayed, SetChecked false stays grayed") << 2 << Op::SetCheckedFalse << 2;
    QTest::newRow("unchecked, SetState grayed") << 0 << Op::SetStateGrayed << 2;
    QTest::newRow("checked, SetState grayed") << 1 << Op::SetStateGrayed << 2;
    QTest::newRow("grayed, SetState unchecked") << 2 << Op::SetStateUnchecked << 0;
    QTest::newRow("grayed, SetState checked") << 2 << Op::SetStateChecked << 1;
}

void TstKsCheckLst::checkStateTable() {
    QFETCH(int, from);
    QFETCH(Op, op);
    QFETCH(int, to);
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    const int row = 6;
    list.SetState(row, TCheckBoxState(from));
    int events = 0;
    list.OnItemChange = [&](int, TCheckBoxState) { ++events; };
    list.OnClickCheck = [&](TKsCheckListBox*) { ++events; };
    switch (op) {
        case Op::SetCheckedTrue:
            list.SetChecked(row, true);
            break;
        case Op::SetCheckedFalse:
            list.SetChecked(row, false);
            break;
        case Op::SetStateChecked:
            list.SetState(row, cbChecked);
            break;
        case Op::SetStateGrayed:
            list.SetState(row, cbGrayed);
            break;
        case Op::SetStateUnchecked:
            list.SetState(row, cbUnchecked);
            break;
        case Op::Toggle:
            list.ToggleItem(row);
            break;
        case Op::ToggleAllowGray:
            list.OnItemAllowGray = [](int, bool& allow) { allow = true; };
            list.ToggleItem(row);
            break;
    }
    QCOMPARE(int(list.GetState(row)), to);
    QCOMPARE(list.GetChecked(row), to == cbChecked);
    const bool userToggle = op == Op::Toggle || op == Op::ToggleAllowGray;
    QCOMPARE(events, userToggle ? 2 : 0);
    // nothing else moved
    for (int i = 0; i < list.count(); ++i)
        if (i != row) QCOMPARE(list.GetState(i), cbUnchecked);
}

void TstKsCheckLst::toggleRaisesChangeThenClick() {
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    std::vector<std::string> log;
    list.OnItemAllowGray = [&](int index, bool&) { log.push_back("allow " + std::to_string(index)); };
    list.OnItemChange = [&](int index, TCheckBoxState state) {
        log.push_back("change " + std::to_string(index) + " " + std::to_string(int(state)));
    };
    list.OnClickCheck = [&](TKsCheckListBox* sender) {
        log.push_back(sender == &list ? "click" : "click from elsewhere");
    };
    list.ToggleItem(3);
    list.ToggleItem(3);
    // a state outside the three is carried through unchanged, events and all
    list.SetState(4, TCheckBoxState(7));
    list.ToggleItem(4);
    // bad indices are ignored
    list.ToggleItem(-1);
    list.ToggleItem(14);
    const std::vector<std::string> expected = {"allow 3", "change 3 1", "click", "change 3 0",
                                               "click",   "change 4 7", "click"};
    QCOMPARE(log, expected);
    QCOMPARE(int(list.GetState(4)), 7);
}

void TstKsCheckLst::badIndexRaisesAndChangesNothing() {
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    list.SetItemIndex(2);
    for (int bad : {14, -1}) {
        const std::string message = "List index out of bounds (" + std::to_string(bad) + ")";
        auto expectError = [&](auto&& call) {
            try {
                call();
                QFAIL("no EListError");
            } catch (const EListError& e) {
                QCOMPARE(std::string(e.what()), message);
                QCOMPARE(e.Index(), bad);
            }
        };
        expectError([&] { (void)list.GetChecked(bad); });
        expectError([&] { list.SetChecked(bad, true); });
        expectError([&] { (void)list.GetState(bad); });
        expectError([&] { list.SetState(bad, cbChecked); });
        expectError([&] { (void)list.GetItemData(bad); });
        expectError([&] { list.SetItemData(bad, 5); });
        expectError([&] { list.RepaintCheck(bad); });
    }
    QCOMPARE(list.count(), 14);
    for (int i = 0; i < list.count(); ++i) QCOMPARE(list.GetState(i), cbUnchecked);
    QCOMPARE(list.ItemIndex(), 2);
}

void TstKsCheckLst::pressHitRange_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("first column") << 2;
    QTest::newRow("second column") << 7;
    QTest::newRow("third column") << 13;
}

void TstKsCheckLst::pressHitRange() {
    QFETCH(int, row);
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    const QRect r = ui.Row(row);
    const int y = r.center().y();
    const int boxLeft = r.left() + list.Indent();
    struct Case {
        int x;
        bool toggles;
    };
    const Case cases[] = {
        {boxLeft, true},       // the check box's left edge
        {boxLeft - 1, false},  // inside the indent
        {r.left(), false},
        {ui.TextEnd(row) + 5, true},   // 5 pixels past the text
        {ui.TextEnd(row) + 6, false},  // 6 pixels past
        {ui.OverText(row).x(), true},
    };
    bool checked = false;
    for (const Case& c : cases) {
        QTest::mouseMove(ui.Surface(), QPoint(c.x, y));
        QTest::mouseClick(ui.Surface(), Qt::LeftButton, {}, QPoint(c.x, y));
        if (c.toggles) checked = !checked;
        QVERIFY2(list.GetChecked(row) == checked, qPrintable(QStringLiteral("x = %1").arg(c.x)));
        QCOMPARE(list.ItemIndex(), row);
    }
    QCOMPARE(list.ClickRange(row), std::make_pair(boxLeft, ui.TextEnd(row) + 5));
}

void TstKsCheckLst::onlyLeftPressToggles() {
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    const QPoint at = ui.OverText(8);
    QTest::mouseMove(ui.Surface(), at);
    QTest::mouseClick(ui.Surface(), Qt::RightButton, {}, at);
    QTest::mouseClick(ui.Surface(), Qt::MiddleButton, {}, at);
    QVERIFY(!list.GetChecked(8));
    // a press with no move before it (a touch tap) still toggles
    QTest::mouseClick(ui.Surface(), Qt::LeftButton, {}, ui.OverText(9));
    QVERIFY(list.GetChecked(9));
    // a press below the last row of a short column lands on no row
    QTest::mouseClick(ui.Surface(), Qt::LeftButton, {}, QPoint(200, 70));
    QCOMPARE(list.GetChecked(13), false);
}

void TstKsCheckLst::doubleClickTogglesTwice() {
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    int changes = 0;
    int clicks = 0;
    list.OnItemChange = [&](int, TCheckBoxState) { ++changes; };
    list.OnClickCheck = [&](TKsCheckListBox*) { ++clicks; };
    const QPoint box = list.CheckRect(5).center();
    QTest::mouseMove(ui.Surface(), box);
    DoubleClick(ui.Surface(), box);
    QVERIFY(!list.GetChecked(5));
    QCOMPARE(changes, 2);
    QCOMPARE(clicks, 2);
}

// Stands in for a key-press handler that swallows the space bar.
class SwallowSpace : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        return e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space;
    }
};

void TstKsCheckLst::spaceTogglesSelectedRow() {
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Space);
    for (int i = 0; i < list.count(); ++i) QCOMPARE(list.GetState(i), cbUnchecked);
    QCOMPARE(list.ItemIndex(), -1);

    list.SetItemIndex(3);
    QTest::keyClick(&list, Qt::Key_Space);
    QVERIFY(list.GetChecked(3));
    QTest::keyClick(&list, Qt::Key_Space);
    QVERIFY(!list.GetChecked(3));

    SwallowSpace swallow;
    list.installEventFilter(&swallow);
    QTest::keyClick(&list, Qt::Key_Space);
    QVERIFY(!list.GetChecked(3));
    list.removeEventFilter(&swallow);

    // other characters move the selection as usual and toggle nothing
    QTest::keyClick(&list, Qt::Key_1);
    QCOMPARE(list.ItemIndex(), 8);
    QCOMPARE(list.GetState(8), cbUnchecked);
}

void TstKsCheckLst::tabStepsThroughRows() {
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    QApplication::setActiveWindow(&ui.frame);
    QVERIFY(QTest::qWaitForWindowActive(&ui.frame));
    auto focusList = [&] {
        list.setFocus();
        QTRY_VERIFY(list.hasFocus());
    };

    focusList();
    QTest::keyClick(&list, Qt::Key_Tab);  // nothing selected: row 0, stay
    QCOMPARE(list.ItemIndex(), 0);
    QVERIFY(list.hasFocus());

    list.SetItemIndex(3);
    QTest::keyClick(&list, Qt::Key_Tab);
    QCOMPARE(list.ItemIndex(), 4);
    QVERIFY(list.hasFocus());
    QTest::keyClick(&list, Qt::Key_Tab, Qt::ShiftModifier);  // Shift is not looked at
    QCOMPARE(list.ItemIndex(), 5);
    QTest::keyRelease(&list, Qt::Key_Tab);  // a release does not step again
    QCOMPARE(list.ItemIndex(), 5);

    list.SetItemIndex(13);
    QTest::keyClick(&list, Qt::Key_Tab);  // last row: row 0, and the focus moves on
    QCOMPARE(list.ItemIndex(), 0);
    QTRY_VERIFY(ui.next->hasFocus());

    // an empty list passes Tab on
    list.clear();
    focusList();
    QTest::keyClick(&list, Qt::Key_Tab);
    QTRY_VERIFY(ui.next->hasFocus());
}

void TstKsCheckLst::recreateKeepsStates() {
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    for (int i = 0; i < list.count(); ++i) list.SetChecked(i, true);  // "Check All"
    list.SetState(12, cbGrayed);
    list.SetItemData(3, 1234);
    list.SetItemIndex(9);
    QTest::mouseMove(ui.Surface(), ui.OverText(6));
    QTRY_COMPARE(list.HotRow(), 6);

    list.RecreateWindow();

    QCOMPARE(list.HotRow(), -1);
    for (int i = 0; i < list.count(); ++i) QCOMPARE(list.GetState(i), i == 12 ? cbGrayed : cbChecked);
    QCOMPARE(list.GetItemData(3), 1234);
    QCOMPARE(list.ItemIndex(), 0);

    TKsCheckListBox empty;
    empty.RecreateWindow();
    QCOMPARE(empty.ItemIndex(), -1);
}

// What a screen reader reads of the rows (the bus itself is read by the
// accessibility test of the running program).
void TstKsCheckLst::screenReaderSeesCheckMarks() {
    LengthOptions ui;
    TKsCheckListBox& list = *ui.list;
    list.setAccessibleName(QStringLiteral("Word lengths"));

    QAccessibleInterface* options = QAccessible::queryAccessibleInterface(&list);
    QCOMPARE(options->role(), QAccessible::List);
    QCOMPARE(options->text(QAccessible::Name), QStringLiteral("Word lengths"));
    QCOMPARE(options->childCount(), 14);
    QAccessibleInterface* row = options->child(4);
    QCOMPARE(row->role(), QAccessible::ListItem);
    QCOMPARE(row->text(QAccessible::Name), QStringLiteral("6 Letter"));
    QCOMPARE(options->indexOfChild(row), 4);
    QCOMPARE(options->child(4), row);  // the same one each time
    QCOMPARE(row->parent(), options);
    QCOMPARE(options->childAt(row->rect().center().x(), row->rect().center().y()), row);
    QVERIFY(!row->state().checked);

    // checked exactly when ticked
    list.SetChecked(4, true);
    QVERIFY(row->state().checked);
    list.SetState(4, cbGrayed);
    QVERIFY(!row->state().checked);
    list.ToggleItem(4);
    QVERIFY(row->state().checked);

#ifdef LEXIGROVE_ATSPI_CHECKABLE_STOPGAP
    // what the bus is told on top: every row can be ticked, grayed reads
    // as indeterminate
    list.SetChecked(4, false);
    QVERIFY(lexigrove::CheckMarkStates(row).checkable);
    QVERIFY(!lexigrove::CheckMarkStates(row).checked);
    QVERIFY(lexigrove::CheckMarkStates(options->child(13)).checkable);
    list.SetState(4, cbGrayed);
    QVERIFY(lexigrove::CheckMarkStates(row).checkStateMixed);
    list.SetState(4, cbChecked);
    QVERIFY(lexigrove::CheckMarkStates(row).checked && !lexigrove::CheckMarkStates(row).checkStateMixed);
    QVERIFY(!lexigrove::CheckMarkStates(options).checkable);
#endif
}

QTEST_MAIN(TstKsCheckLst)
#include "tst_KsCheckLst.moc"
