// Drawing of the length option list widget, checked on rendered pixels:
// where the check boxes go in the styled and classic looks, hot-tracking,
// the disabled look, transparency, the focus frame, and single check box
// repaints.
#include "KsCheckLst.h"
#include "Contrast.h"
#include "LengthOptions.h"

#include <QLineEdit>
#include <QPainter>
#include <QPaintEvent>
#include <QStyleFactory>
#include <QTest>

#include <memory>

namespace {

const QColor kParentColor(200, 60, 40);

struct Frame {
    std::unique_ptr<QStyle> style;
    QWidget frame;
    TKsCheckListBox* list = nullptr;

    Frame(const QString& styleName, int rowHeight = 15) : style(QStyleFactory::create(styleName)) {
        frame.resize(320, 120);
        QPalette pal = frame.palette();
        pal.setColor(QPalette::Window, kParentColor);
        frame.setPalette(pal);
        frame.setAutoFillBackground(true);
        list = new TKsCheckListBox(&frame);
        list->setStyle(style.get());
        lexigrove::SetUpLengthOptions(*list);
        list->SetItemHeight(rowHeight);
        list->setGeometry(6, 16, 289, 81);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
    }
    ~Frame() {
        delete list;  // before the style it uses
    }

    QRect Row(int i) const { return list->visualRect(list->model()->index(i, 0)); }
    // The list as it shows on screen, in viewport coordinates.
    QImage Shot() {
        QApplication::processEvents();
        return frame.grab(list->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QPoint OverText(int i) const { return {list->TextRect(Row(i)).left() + 2, Row(i).center().y()}; }
};

// The bounding box of the pixels in `area` that differ from `background`.
QRect Drawn(const QImage& img, const QRect& area, QRgb background) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

QImage Part(const QImage& img, const QRect& r) { return img.copy(r); }

// Paint regions that reach the widget's surface.
class PaintLog : public QObject {
public:
    QRegion painted;
    int events = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            painted |= static_cast<QPaintEvent*>(e)->region();
            ++events;
        }
        return false;
    }
};

}  // namespace

class TstKsCheckLstDraw : public QObject {
    Q_OBJECT

private slots:
    void checkBoxPlacement_data();
    void checkBoxPlacement();
    void flatClassicBox();
    void stateLooks();
    void checkBoxFaceIsWhite();
    void hotTracking();
    void classicIgnoresHover();
    void disabledLook();
    void transparency();
    void focusFrame();
    void drawSelectHighlights();
    void repaintCheckTouchesOnlyTheBox();
    void styleChangeSwitchesLook();
    void boxesHoverAndFocusStandOutOnEveryFace_data();
    void boxesHoverAndFocusStandOutOnEveryFace();
};

void TstKsCheckLstDraw::checkBoxPlacement_data() {
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("drop");  // pixels between the row's top and the box
    // Rows of 15 place both looks alike; rows of 16 put the styled box a pixel lower.
    QTest::newRow("styled, rows of 15") << "Fusion" << 15 << 1;
    QTest::newRow("classic, rows of 15") << "Windows" << 15 << 1;
    QTest::newRow("styled, rows of 16") << "Fusion" << 16 << 2;
    QTest::newRow("classic, rows of 16") << "Windows" << 16 << 1;
    QTest::newRow("styled, rows of 13") << "Fusion" << 13 << 0;
    QTest::newRow("classic, rows of 11") << "Windows" << 11 << 0;
}

void TstKsCheckLstDraw::checkBoxPlacement() {
    QFETCH(QString, style);
    QFETCH(int, rowHeight);
    QFETCH(int, drop);
    Frame ui(style, rowHeight);
    // a plain background to measure against, unlike any colour of the box
    ui.list->SetTrasparent(false);
    const QColor background(40, 140, 60);
    QPalette pal = ui.list->viewport()->palette();
    pal.setColor(QPalette::Base, background);
    ui.list->viewport()->setPalette(pal);
    const QImage img = ui.Shot();
    const int side = TKsCheckListBox::CheckWidth();
    const int expectedHeight = std::min(side, rowHeight);
    for (int row : {0, 3, 6, 12}) {
        const QRect r = ui.Row(row);
        const QRect column(r.left(), r.top(), ui.list->Indent() + side + 3, r.height());
        const QRect box(r.left() + ui.list->Indent(), r.top() + drop, side, expectedHeight);
        QCOMPARE(Drawn(img, column, background.rgb()), box);
        QCOMPARE(ui.list->CheckBoxRect(r), box);
    }
}

void TstKsCheckLstDraw::flatClassicBox() {
    Frame ui("Windows");
    ui.list->SetTrasparent(false);
    ui.list->SetState(4, cbChecked);
    const QImage raised = ui.Shot();
    ui.list->SetFlat(true);
    const QImage flat = ui.Shot();
    const QRgb background = ui.list->viewport()->palette().color(QPalette::Base).rgb();
    const QRect box = ui.list->CheckBoxRect(ui.Row(4));
    // a one-pixel frame in the shadow colour, one pixel in from the box
    QCOMPARE(Drawn(flat, box.adjusted(-2, -2, 2, 2), background), box.adjusted(1, 1, -1, -1));
    const QRgb shadow = ui.list->palette().color(QPalette::Dark).rgb();
    const QRect frame = box.adjusted(1, 1, -1, -1);
    for (int x = frame.left(); x <= frame.right(); ++x) {
        QCOMPARE(flat.pixel(x, frame.top()), shadow);
        QCOMPARE(flat.pixel(x, frame.bottom()), shadow);
    }
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
        QCOMPARE(flat.pixel(frame.left(), y), shadow);
        QCOMPARE(flat.pixel(frame.right(), y), shadow);
    }
    // inside it, the classic box's interior unchanged
    const QRect inner = box.adjusted(2, 2, -2, -2);
    QCOMPARE(Part(flat, inner), Part(raised, inner));
    // and the text did not move
    const QRect text = ui.list->TextRect(ui.Row(4));
    QCOMPARE(Part(flat, text), Part(raised, text));
}

void TstKsCheckLstDraw::stateLooks() {
    for (const char* style : {"Fusion", "Windows"}) {
        Frame ui(style);
        ui.list->SetState(1, cbChecked);
        ui.list->SetState(2, cbGrayed);
        const QImage img = ui.Shot();
        const QImage off = Part(img, ui.list->CheckBoxRect(ui.Row(0)));
        const QImage on = Part(img, ui.list->CheckBoxRect(ui.Row(1)));
        const QImage mixed = Part(img, ui.list->CheckBoxRect(ui.Row(2)));
        QVERIFY2(off != on && on != mixed && off != mixed, style);
        QCOMPARE(Part(img, ui.list->CheckBoxRect(ui.Row(3))), off);
    }
}

// The main window colours its rows with the button face; the boxes keep
// the face of an ordinary check box in the same place.
void TstKsCheckLstDraw::checkBoxFaceIsWhite() {
    for (const char* style : {"Fusion", "Windows"}) {
        for (bool transparent : {true, false}) {
            Frame ui(style);
            TKsCheckListBox& list = *ui.list;
            const QColor face(0xEF, 0xEF, 0xEF);
            QPalette pal = list.palette();
            pal.setColor(QPalette::Base, face);
            list.setPalette(pal);
            list.SetTrasparent(transparent);
            const QImage img = ui.Shot();
            const QString where = QStringLiteral("%1, transparent %2").arg(style).arg(transparent);
            const QRgb white = ui.frame.palette().color(QPalette::Base).rgb();
            QCOMPARE(white, QColor(Qt::white).rgb());
            for (int row : {0, 7}) {
                const QPoint centre = list.CheckBoxRect(ui.Row(row)).center();
                QVERIFY2(img.pixel(centre) == white, qPrintable(where));
            }
            // the rows keep their own colour
            const bool showsParent = transparent && QLatin1String(style) == QLatin1String("Fusion");
            const QRect row = ui.Row(5);
            QVERIFY2(img.pixel(row.right() - 2, row.center().y()) == (showsParent ? kParentColor.rgb() : face.rgb()),
                     qPrintable(where));
        }
    }
}

void TstKsCheckLstDraw::hotTracking() {
    Frame ui("Fusion");
    TKsCheckListBox& list = *ui.list;
    auto box = [&](const QImage& img, int row) { return Part(img, list.CheckBoxRect(ui.Row(row))); };
    const QImage cold = ui.Shot();

    QTest::mouseMove(list.viewport(), ui.OverText(1));
    QTRY_VERIFY(list.HotRow() == 1);
    const QImage first = ui.Shot();
    QVERIFY(box(first, 1) != box(cold, 1));
    for (int row = 0; row < list.count(); ++row)
        if (row != 1) QCOMPARE(box(first, row), box(cold, row));
    const QRect text = list.TextRect(ui.Row(1));
    QCOMPARE(Part(first, text), Part(cold, text));

    QTest::mouseMove(list.viewport(), list.CheckRect(7).center());
    QTRY_VERIFY(list.HotRow() == 7);
    const QImage second = ui.Shot();
    QCOMPARE(box(second, 1), box(cold, 1));
    QCOMPARE(box(second, 7), box(first, 1));
    QVERIFY(list.HotRow() != 1);

    // the indent counts as the row's, the space right of the text does not
    QTest::mouseMove(list.viewport(), ui.Row(8).topLeft() + QPoint(1, 7));
    QTRY_VERIFY(list.HotRow() == 8);
    QTest::mouseMove(list.viewport(), QPoint(ui.Row(8).right() - 2, ui.Row(8).center().y()));
    QTRY_VERIFY(list.HotRow() != 8);
    // the hot range ends on the first pixel right of the text; the click
    // range's 5 pixels of slack beyond it do not make the box hot
    const int textEnd = list.TextRect(ui.Row(8)).left() + list.fontMetrics().horizontalAdvance(list.item(8)->text());
    const int y = ui.Row(8).center().y();
    QTest::mouseMove(list.viewport(), QPoint(textEnd, y));
    QTRY_VERIFY(list.HotRow() == 8);
    QCOMPARE(box(ui.Shot(), 8), box(first, 1));
    for (int slack : {1, 5}) {
        QTest::mouseMove(list.viewport(), QPoint(textEnd + slack, y));
        QTRY_VERIFY(list.HotRow() != 8);
        QCOMPARE(box(ui.Shot(), 8), box(cold, 8));
        QTest::mouseMove(list.viewport(), QPoint(textEnd, y));
        QTRY_VERIFY(list.HotRow() == 8);
    }

    QTest::mouseMove(list.viewport(), ui.OverText(12));
    QTRY_VERIFY(list.HotRow() == 12);
    QTest::mouseMove(&ui.frame, QPoint(310, 110));  // out of the widget
    QTRY_VERIFY(list.HotRow() != 12);
    QCOMPARE(ui.Shot(), cold);
}

void TstKsCheckLstDraw::classicIgnoresHover() {
    Frame ui("Windows");
    const QImage cold = ui.Shot();
    QTest::mouseMove(ui.list->viewport(), ui.OverText(2));
    QTRY_VERIFY(ui.list->HotRow() == 2);
    QCOMPARE(ui.Shot(), cold);
}

void TstKsCheckLstDraw::disabledLook() {
    Frame ui("Fusion");
    TKsCheckListBox& list = *ui.list;
    list.SetState(1, cbChecked);
    list.SetState(2, cbGrayed);
    auto box = [&](const QImage& img, int row) { return Part(img, list.CheckBoxRect(ui.Row(row))); };
    const QImage enabled = ui.Shot();
    QTest::mouseMove(list.viewport(), ui.OverText(4));
    QTRY_COMPARE(list.HotRow(), 4);
    const QImage enabledHot = ui.Shot();

    list.setEnabled(false);
    const QImage disabled = ui.Shot();
    for (int row : {0, 1, 2}) QVERIFY(box(disabled, row) != box(enabled, row));
    // a hot row keeps its hot look
    QCOMPARE(box(disabled, 4), box(enabledHot, 4));
    QVERIFY(box(enabledHot, 4) != box(enabled, 4));
    // the text goes grey
    const QRect text = list.TextRect(ui.Row(0));
    QVERIFY(Part(disabled, text) != Part(enabled, text));
}

void TstKsCheckLstDraw::transparency() {
    const QRgb parent = kParentColor.rgb();
    for (const char* style : {"Fusion", "Windows"}) {
        for (bool transparent : {true, false}) {
            Frame ui(style);
            ui.list->SetTrasparent(transparent);
            ui.list->viewport()->update();
            const QImage img = ui.Shot();
            const QRgb base = ui.list->viewport()->palette().color(QPalette::Base).rgb();
            // the space right of a row's text, the indent, and below the short last column
            const QRect row = ui.Row(5);
            const QPoint spots[] = {{row.right() - 2, row.center().y()}, {row.left() + 2, row.top() + 3}, {250, 70}};
            const bool showsParent = transparent && QLatin1String(style) == QLatin1String("Fusion");
            for (const QPoint& at : spots)
                QVERIFY2(img.pixel(at) == (showsParent ? parent : base),
                         qPrintable(QStringLiteral("%1, transparent %2").arg(style).arg(transparent)));
        }
    }
}

void TstKsCheckLstDraw::focusFrame() {
    Frame ui("Windows");
    TKsCheckListBox& list = *ui.list;
    QApplication::setActiveWindow(&ui.frame);
    QVERIFY(QTest::qWaitForWindowActive(&ui.frame));
    auto* elsewhere = new QLineEdit(&ui.frame);
    elsewhere->setGeometry(200, 100, 100, 18);
    elsewhere->show();
    elsewhere->setFocus();
    QTRY_VERIFY(elsewhere->hasFocus());
    const QImage unfocused = ui.Shot();
    // a selected row shows no frame while the focus is elsewhere
    list.SetItemIndex(6);
    QCOMPARE(ui.Shot(), unfocused);
    list.setFocus();
    QTRY_VERIFY(list.hasFocus());

    const QRect row = ui.Row(6);
    const int textWidth = list.fontMetrics().horizontalAdvance(list.item(6)->text());
    const int textHeight = list.fontMetrics().height();
    const int boxRight = row.left() + list.Indent() + TKsCheckListBox::CheckWidth();  // exclusive
    const QRect frame = list.FocusRect(6);
    QCOMPARE(frame.top(), row.top() - 1);
    QCOMPARE(frame.bottom() + 1, row.top() + textHeight + 2);
    QCOMPARE(frame.left(), boxRight + 3);
    QCOMPARE(frame.right() + 1, boxRight + textWidth + 8);
    if (textHeight == 13)  // the list's own font: the frame ends on the row's bottom edge
        QCOMPARE(frame.bottom() + 1, row.bottom() + 1);

    // dots on the frame's edges, including the line in the row above
    const QImage focused = ui.Shot();
    auto changedOn = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) n += focused.pixel(x, y) != unfocused.pixel(x, y);
        return n;
    };
    QVERIFY(changedOn(frame.left(), frame.top(), frame.right(), frame.top()) > 0);
    QVERIFY(changedOn(frame.left(), frame.bottom(), frame.right(), frame.bottom()) > 0);
    QVERIFY(changedOn(frame.left(), frame.top(), frame.left(), frame.bottom()) > 0);
    QVERIFY(changedOn(frame.right(), frame.top(), frame.right(), frame.bottom()) > 0);
    QCOMPARE(changedOn(frame.left() - 3, frame.top() - 3, frame.left() - 1, frame.bottom() + 3), 0);
    QCOMPARE(changedOn(frame.left(), frame.top() - 3, frame.right(), frame.top() - 1), 0);
    QCOMPARE(changedOn(frame.right() + 1, frame.top(), frame.right() + 3, frame.bottom()), 0);

    // moving on leaves no dots behind in the row above
    list.SetItemIndex(7);
    const QImage moved = ui.Shot();
    QCOMPARE(Part(moved, ui.Row(5)), Part(unfocused, ui.Row(5)));
    // (the new frame's top line lies on row 6's bottom line)
    QCOMPARE(Part(moved, ui.Row(6).adjusted(0, 0, 0, -1)), Part(unfocused, ui.Row(6).adjusted(0, 0, 0, -1)));

    // and the frame goes with the focus
    elsewhere->setFocus();
    QTRY_VERIFY(elsewhere->hasFocus());
    QCOMPARE(ui.Shot(), unfocused);
}

void TstKsCheckLstDraw::drawSelectHighlights() {
    Frame ui("Windows");  // its focus frame is dots on the edges only
    TKsCheckListBox& list = *ui.list;
    list.SetDrawSelect(true);
    QApplication::setActiveWindow(&ui.frame);
    QVERIFY(QTest::qWaitForWindowActive(&ui.frame));
    list.setFocus();
    list.SetItemIndex(2);
    QTRY_VERIFY(list.hasFocus());
    const QImage img = ui.Shot();
    const QRgb highlight = list.palette().color(QPalette::Highlight).rgb();
    const QRgb highlightText = list.palette().color(QPalette::HighlightedText).rgb();
    auto count = [&](const QRect& r, QRgb colour) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += img.pixel(x, y) == colour;
        return n;
    };
    const QRect frame = list.FocusRect(2);
    const QRect inside = frame.adjusted(1, 1, -1, -1);
    QVERIFY(count(inside, highlight) > inside.width() * inside.height() / 2);
    int lightest = 0;  // the text, in the highlight text colour
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) lightest = std::max(lightest, qGray(img.pixel(x, y)));
    QVERIFY(lightest > qGray(highlightText) - 40);
    QCOMPARE(count(frame.adjusted(-2, -2, 2, 2), highlight), count(frame, highlight));
    const QRect other = list.TextRect(ui.Row(8));
    QCOMPARE(count(other, highlight), 0);
}

void TstKsCheckLstDraw::repaintCheckTouchesOnlyTheBox() {
    Frame ui("Fusion");
    TKsCheckListBox& list = *ui.list;
    QTest::qWait(50);
    PaintLog log;
    list.viewport()->installEventFilter(&log);

    list.SetChecked(9, true);
    QTRY_VERIFY(log.events > 0);
    QVERIFY(list.CheckRect(9).contains(log.painted.boundingRect()));

    // a second SetChecked with the same value paints nothing
    log.painted = QRegion();
    log.events = 0;
    list.SetChecked(9, true);
    QTest::qWait(20);
    QCOMPARE(log.events, 0);

    list.RepaintCheck(11);
    QTRY_VERIFY(log.events > 0);
    QCOMPARE(log.painted, QRegion(list.CheckRect(11)));
    list.viewport()->removeEventFilter(&log);
}

void TstKsCheckLstDraw::styleChangeSwitchesLook() {
    Frame ui("Fusion");
    QVERIFY(ui.list->StyledLook());
    std::unique_ptr<QStyle> classic(QStyleFactory::create("Windows"));
    ui.list->setStyle(classic.get());
    QVERIFY(!ui.list->StyledLook());
    ui.list->setStyle(ui.style.get());
    QVERIFY(ui.list->StyledLook());
}

void TstKsCheckLstDraw::boxesHoverAndFocusStandOutOnEveryFace_data() {
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("darkScheme");
    QTest::newRow("Fusion") << "Fusion" << false;
    QTest::newRow("Fusion, a dark scheme") << "Fusion" << true;
    for (const char* adwaita : {"Adwaita", "Adwaita-Dark"}) {
        if (QStyleFactory::keys().contains(QLatin1String(adwaita))) QTest::newRow(adwaita) << adwaita << false;
    }
}

// On a light face or a dark one the boxes are square boxes that stand out,
// and the hot box and the focus frame differ from what was there by at
// least 3:1.
void TstKsCheckLstDraw::boxesHoverAndFocusStandOutOnEveryFace() {
    QFETCH(QString, style);
    QFETCH(bool, darkScheme);
    Frame ui(style);
    TKsCheckListBox& list = *ui.list;
    QPalette dark = ui.style->standardPalette();
    if (darkScheme) {
        dark.setColor(QPalette::Window, QColor(0x22, 0x20, 0x20));
        dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
        dark.setColor(QPalette::Base, QColor(0x3A, 0x3A, 0x3A));
        dark.setColor(QPalette::Button, QColor(0x22, 0x20, 0x20));
        dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
        dark.setColor(QPalette::Highlight, QColor(0x12, 0x40, 0x60));
    }
    ui.frame.setPalette(dark);
    lexigrove::SetUpLengthOptions(list);  // the rows' colours from the new face
    list.setGeometry(6, 16, 289, 81);
    QApplication::setActiveWindow(&ui.frame);
    QVERIFY(QTest::qWaitForWindowActive(&ui.frame));
    auto most = [](const QImage& a, const QImage& b) {
        double m = 1.0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                m = std::max(m, lexigrove::ContrastRatio(QColor(a.pixel(x, y)), QColor(b.pixel(x, y))));
        return m;
    };
    const QRect b1 = list.CheckBoxRect(ui.Row(1));
    const QImage cold = ui.Shot();
    QImage face(b1.size(), QImage::Format_RGB32);
    face.fill(dark.color(QPalette::Window));
    QVERIFY(most(Part(cold, b1), face) >= 3.0);
    // square: the box's corners are drawn like its edges' middles
    QCOMPARE(cold.pixel(b1.topLeft()), cold.pixel(b1.left(), b1.center().y()));

    QTest::mouseMove(list.viewport(), ui.OverText(1));
    QTRY_COMPARE(list.HotRow(), 1);
    QVERIFY(most(Part(ui.Shot(), b1), Part(cold, b1)) >= 3.0);

    QTest::mouseMove(&ui.frame, QPoint(310, 110));
    QTRY_COMPARE(list.HotRow(), -1);
    list.SetItemIndex(7);
    const QImage unfocused = ui.Shot();
    list.setFocus();
    QTRY_VERIFY(list.hasFocus());
    const QRect frame = list.FocusRect(7);
    QVERIFY(most(Part(ui.Shot(), frame), Part(unfocused, frame)) >= 3.0);
}

QTEST_MAIN(TstKsCheckLstDraw)
#include "tst_KsCheckLstDraw.moc"
