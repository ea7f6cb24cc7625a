// The choice between X11 and Wayland made before the application starts,
// and what the window says where it cannot keep itself on top. Runs on the
// offscreen platform, and under weston (tests/ui/weston_session.sh) on
// native Wayland.
#include <QAction>
#include <QMenu>
#include <QTest>

#include <vector>

#include "DisplayPlatform.h"
#include "FrmMain1.h"
#include "LexigroveApp.h"
#include "WindowControls.h"

class TestDisplayPlatform : public QObject {
    Q_OBJECT

private slots:
    void x11OnlyWhenTheUserChoseNoPlatformAndXAnswers_data();
    void x11OnlyWhenTheUserChoseNoPlatformAndXAnswers();
    void noServerNoX11();
    void alwaysOnTopSaysSoWhereItCannotWork();
};

void TestDisplayPlatform::x11OnlyWhenTheUserChoseNoPlatformAndXAnswers_data() {
    QTest::addColumn<QByteArray>("qpaPlatform");  // "-" for unset
    QTest::addColumn<QByteArray>("display");      // "-" for unset
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("xAnswers");
    QTest::addColumn<bool>("x11");
    QTest::addColumn<bool>("xAsked");

    const QStringList none;
    QTest::newRow("Wayland desktop with XWayland")
        << QByteArray("-") << QByteArray(":1") << none << true << true << true;
    QTest::newRow("empty QT_QPA_PLATFORM counts as unset")
        << QByteArray("") << QByteArray(":1") << none << true << true << true;
    QTest::newRow("X display that does not answer")
        << QByteArray("-") << QByteArray(":1") << none << false << false << true;
    QTest::newRow("no DISPLAY") << QByteArray("-") << QByteArray("-") << none << true << false << false;
    QTest::newRow("empty DISPLAY") << QByteArray("-") << QByteArray("") << none << true << false << false;
    QTest::newRow("user chose wayland") << QByteArray("wayland") << QByteArray(":1") << none << true << false << false;
    QTest::newRow("user chose xcb") << QByteArray("xcb") << QByteArray(":1") << none << true << false << false;
    QTest::newRow("-platform wayland") << QByteArray("-") << QByteArray(":1") << QStringList{"-platform", "wayland"}
                                       << true << false << false;
    QTest::newRow("--platform wayland after another argument")
        << QByteArray("-") << QByteArray(":1") << QStringList{"-reverse", "--platform", "wayland"} << true << false
        << false;
    // Qt ignores a -platform with nothing after it, and other options that
    // merely begin alike.
    QTest::newRow("-platform last") << QByteArray("-") << QByteArray(":1") << QStringList{"-platform"} << true << true
                                    << true;
    QTest::newRow("-platformtheme") << QByteArray("-") << QByteArray(":1") << QStringList{"-platformtheme", "kde"}
                                    << true << true << true;
    QTest::newRow("platform as a plain word")
        << QByteArray("-") << QByteArray(":1") << QStringList{"platform", "wayland"} << true << true << true;
}

void TestDisplayPlatform::x11OnlyWhenTheUserChoseNoPlatformAndXAnswers() {
    QFETCH(QByteArray, qpaPlatform);
    QFETCH(QByteArray, display);
    QFETCH(QStringList, arguments);
    QFETCH(bool, xAnswers);
    QFETCH(bool, x11);
    QFETCH(bool, xAsked);

    std::vector<QByteArray> storage{QByteArray("lexigrove")};
    for (const QString& argument : arguments) storage.push_back(argument.toLocal8Bit());
    std::vector<const char*> argv;
    argv.reserve(storage.size() + 1);
    for (const QByteArray& argument : storage) argv.push_back(argument.constData());
    argv.push_back(nullptr);

    QByteArray asked;
    bool wasAsked = false;
    const auto answers = [&](const char* name) {
        wasAsked = true;
        asked = name;
        return xAnswers;
    };
    const auto orNull = [](const QByteArray& value) { return value == "-" ? nullptr : value.constData(); };
    QCOMPARE(lexigrove::PreferX11(orNull(qpaPlatform), orNull(display), static_cast<int>(argv.size()) - 1, argv.data(),
                                  answers),
             x11);
    // A chosen platform costs no connection to X.
    QCOMPARE(wasAsked, xAsked);
    if (wasAsked) QCOMPARE(asked, display);
}

void TestDisplayPlatform::noServerNoX11() {
    QVERIFY(!lexigrove::XDisplayAnswers(nullptr));
    QVERIFY(!lexigrove::XDisplayAnswers(""));
    QVERIFY(!lexigrove::XDisplayAnswers("unix:65000"));
    QVERIFY(!lexigrove::XDisplayAnswers("not a display"));
}

void TestDisplayPlatform::alwaysOnTopSaysSoWhereItCannotWork() {
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (qgetenv("QT_QPA_PLATFORM") == "wayland") QVERIFY(wayland);

    TFrmMain w;
    if (wayland) {
        QVERIFY(mnuTop(w)->toolTip().contains(QLatin1String("Wayland")));
        QCOMPARE(mnuTop(w)->statusTip(), mnuTop(w)->toolTip());
        QVERIFY(options1(w)->toolTipsVisible());
        // Its handler still toggles the mark.
        w.mnuTopClick(mnuTop(w));
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
