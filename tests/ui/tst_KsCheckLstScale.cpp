// The length options in the main window at the scale QT_SCALE_FACTOR sets:
// moving the focus between rows by the keyboard and the pointer over them
// leaves nothing on the window's surface that a fresh drawing of the window
// would not show. At a fractional scale a line on a logical pixel's edge
// also tints device pixels of the next logical pixel. Run on X11 under a
// window manager (Qt's offscreen platform never showed the fault).
#include "FrmMain1.h"
#include "KsCheckLst.h"

#include <QBackingStore>
#include <QTest>

class TstKsCheckLstScale : public QObject {
    Q_OBJECT

private slots:
    void focusAndHoverMovesLeaveNoStalePixels();
};

void TstKsCheckLstScale::focusAndHoverMovesLeaveNoStalePixels() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    TFrmMain frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QApplication::setActiveWindow(&frame);
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    auto* list = frame.findChild<TKsCheckListBox*>(QStringLiteral("cOpt"));
    QVERIFY(list != nullptr);

    auto row = [&](int i) { return list->visualRect(list->model()->index(i, 0)); };
    auto overText = [&](int i) { return QPoint(list->TextRect(row(i)).left() + 3, row(i).center().y()); };
    QWidget* around = list->parentWidget();
    const QPoint away(150, 110);  // on the list's group box, between its buttons
    // Device pixels of the list on the surface that differ from a fresh
    // drawing of the whole window.
    auto stale = [&] {
        QApplication::processEvents();
        QTest::qWait(20);
        QVERIFY2(frame.backingStore()->paintDevice()->devType() == QInternal::Image, "no image to read");
        const QImage surface =
            static_cast<QImage*>(frame.backingStore()->paintDevice())->convertToFormat(QImage::Format_RGB32);
        const QImage fresh = frame.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(fresh.size(), surface.size());
        const qreal ratio = frame.devicePixelRatioF();
        const QRect area =
            QRectF(QPointF(list->mapTo(&frame, QPoint(0, 0))) * ratio, QSizeF(list->size()) * ratio).toRect();
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += surface.pixel(x, y) != fresh.pixel(x, y);
        QCOMPARE(n, 0);
    };

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, overText(0));
    QTRY_VERIFY(list->hasFocus());
    stale();
    // Down the first two columns: before each step the pointer passes over
    // the row above the focused one (which draws the focused row's frame
    // into it) and leaves the list.
    for (int step = 0; step < 9; ++step) {
        const int focused = list->currentRow();
        if (focused > 0) {
            QTest::mouseMove(list->viewport(), overText(focused - 1));
            QTRY_COMPARE(list->HotRow(), focused - 1);
            QTest::mouseMove(around, away);
            QTRY_COMPARE(list->HotRow(), -1);
        }
        QTest::keyClick(list, Qt::Key_Down);
        QTRY_COMPARE(list->currentRow(), focused + 1);
        stale();
        if (QTest::currentTestFailed()) QFAIL(qPrintable(QStringLiteral("after leaving row %1").arg(focused)));
    }
    // Over the check boxes and texts of a column and off again.
    for (int i = 5; i < 10; ++i) {
        QTest::mouseMove(list->viewport(), list->CheckRect(i).center());
        QTRY_COMPARE(list->HotRow(), i);
        QTest::mouseMove(list->viewport(), overText(i));
    }
    QTest::mouseMove(around, away);
    QTRY_COMPARE(list->HotRow(), -1);
    stale();
}

QTEST_MAIN(TstKsCheckLstScale)
#include "tst_KsCheckLstScale.moc"
