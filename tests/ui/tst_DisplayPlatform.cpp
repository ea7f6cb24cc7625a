// The platforms asked for before the application starts, and what the
// window says where it cannot keep itself on top. Runs on the
// offscreen platform, and under weston (tests/ui/weston_session.sh) on
// native Wayland.
#include <QAction>
#include <QMenu>
#include <QTest>

#include "DisplayPlatform.h"
#include "FrmMain1.h"
#include "LexigroveApp.h"
#include "WindowControls.h"

class TestDisplayPlatform : public QObject {
    Q_OBJECT

private slots:
    void x11ThenWaylandOnlyWhereTheUserChoseNoPlatform_data();
    void x11ThenWaylandOnlyWhereTheUserChoseNoPlatform();
    void alwaysOnTopSaysSoWhereItCannotWork();
};

void TestDisplayPlatform::x11ThenWaylandOnlyWhereTheUserChoseNoPlatform_data() {
    QTest::addColumn<QByteArray>("chosen");  // "-" for unset
    QTest::addColumn<bool>("requested");

    QTest::newRow("unset") << QByteArray("-") << true;
    QTest::newRow("empty counts as unset") << QByteArray("") << true;
    QTest::newRow("user chose wayland") << QByteArray("wayland") << false;
    QTest::newRow("user chose xcb") << QByteArray("xcb") << false;
    QTest::newRow("user chose a list") << QByteArray("wayland;xcb") << false;
}

void TestDisplayPlatform::x11ThenWaylandOnlyWhereTheUserChoseNoPlatform() {
    QFETCH(QByteArray, chosen);
    QFETCH(bool, requested);
    const QByteArray before = qgetenv("QT_QPA_PLATFORM");
    if (chosen == "-")
        qunsetenv("QT_QPA_PLATFORM");
    else
        qputenv("QT_QPA_PLATFORM", chosen);

    QCOMPARE(lexigrove::RequestX11ThenWayland(), requested);
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), requested ? QByteArray("xcb;wayland") : chosen);
    if (requested) {
        // Programs started later get the environment the user gave.
        lexigrove::WithdrawPlatformRequest();
        QVERIFY(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"));
    }
    qputenv("QT_QPA_PLATFORM", before);
}

void TestDisplayPlatform::alwaysOnTopSaysSoWhereItCannotWork() {
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (qgetenv("QT_QPA_PLATFORM") == "wayland") QVERIFY(wayland);

    TFrmMain w;
    if (wayland) {
        QVERIFY(mnuTop(w)->toolTip().contains(QLatin1String("Wayland")));
        QCOMPARE(mnuTop(w)->statusTip(), mnuTop(w)->toolTip());
        QVERIFY(options1(w)->toolTipsVisible());
        // The item still toggles its mark.
        mnuTop(w)->trigger();
        QVERIFY(mnuTop(w)->isChecked());
    } else {
        QVERIFY(mnuTop(w)->statusTip().isEmpty());
        QVERIFY(!options1(w)->toolTipsVisible());
    }
}

int main(int argc, char** argv) {
    lexigrove::LexigroveApp app(argc, argv);
    TestDisplayPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DisplayPlatform.moc"
