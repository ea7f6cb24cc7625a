// The About window: layout, the shadowed title, keys, the link and the
// badge (through a stand-in opener, so no browser starts), scrolling, how
// the main window's About command places, shows and destroys it, and the
// names a screen reader announces in both windows.
#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>
#include <memory>

#include "AboutAddresses.h"
#include "AboutDlg.h"
#include "Contrast.h"
#include "Base64.h"
#include "FrmMain1.h"
#include "KsCheckLst.h"
#include "LexigroveApp.h"
#include "WindowControls.h"
#include "WindowPlacement.h"

namespace {

// Collects what the About window hands to the desktop instead of opening it.
class OpenedAddresses {
public:
    OpenedAddresses() {
        previous_ = lexigrove::SetShellOpenHandler([this](const QString& address) { addresses_ << address; });
    }
    ~OpenedAddresses() { lexigrove::SetShellOpenHandler(previous_); }
    OpenedAddresses(const OpenedAddresses&) = delete;
    OpenedAddresses& operator=(const OpenedAddresses&) = delete;
    const QStringList& Addresses() const { return addresses_; }

private:
    lexigrove::ShellOpenHandler previous_;
    QStringList addresses_;
};

// Runs `while_shown` with the About window once the main window's About
// command shows it; `while_shown` must end the showing. Returns whether the
// window was seen.
bool WithAboutWindowOf(TFrmMain& main, const std::function<void(TFrmAbout&)>& while_shown) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<TFrmAbout*>(QApplication::activeModalWidget());
        seen = about != nullptr && about == FrmAbout && QTest::qWaitForWindowActive(about);
        if (about != nullptr) while_shown(*about);
    });
    Lists1(main)->trigger();
    return seen;
}

QString AccessibleName(QObject* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

}  // namespace

class TestAboutDlg : public QObject {
    Q_OBJECT

private slots:
    void windowAndLayoutMatchTheTable();
    void titleShowsASilverShadowRightAndBelow();
    void everyTextReadableOnADarkPalette();
    void enterClosesWhateverWasClickedOrTabbedTo();
    void linkAndBadgeHandTheirAddressesToTheDesktop();
    void storedDonationAddressIs300Base64Characters();
    void resizingMovesNothingAndSmallWindowsScroll();
    void placementIsCentredOverTheMainWindowUnclamped();
    void aboutCommandShowsModallyAndDestroysAfterwards();
    void everyControlOfBothWindowsHasAnAccessibleName();
    void screenReaderHearsEachLineOnceAndOpensTheLinks();
};

// On a dark face the blue address and the silver shadow give way to
// colours that can be read: the address at least 4.5:1 against the face,
// the title at least 4.5:1 against its shadow.
void TestAboutDlg::everyTextReadableOnADarkPalette() {
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Link, QColor(0x1A, 0x5F, 0xB4));
    QApplication::setPalette(dark);
    {
        TFrmAbout w;
        const QColor face = w.palette().color(QPalette::Window);
        QVERIFY(lexigrove::ContrastRatio(Label5(w)->palette().color(QPalette::WindowText), face) >= 4.5);
        QVERIFY(lexigrove::ContrastRatio(Label1(w)->palette().color(QPalette::WindowText),
                                         Label2(w)->palette().color(QPalette::WindowText)) >= 4.5);
        for (const QLabel* label : w.findChildren<QLabel*>())
            if (label != Label2(w) && !label->text().isEmpty())
                QVERIFY2(lexigrove::ContrastRatio(label->palette().color(QPalette::WindowText), face) >= 4.5,
                         qPrintable(label->objectName()));
    }
    QApplication::setPalette(before);
}

void TestAboutDlg::windowAndLayoutMatchTheTable() {
    TFrmAbout w;
    QCOMPARE(w.objectName(), QStringLiteral("FrmAbout"));
    QCOMPARE(w.windowTitle(), QStringLiteral("About.."));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(w.minimumSize() != w.maximumSize());

    struct Row {
        QWidget* control;
        QPoint at;
    };
    const Row rows[] = {{Label2(w), {16, 14}},   {Label1(w), {14, 13}},  {Label3(w), {97, 52}},
                        {Label4(w), {97, 72}},   {Label5(w), {97, 92}},  {Image1(w), {17, 65}},
                        {Label7(w), {109, 133}}, {Label6(w), {82, 114}}, {Button1(w), {94, 160}}};
    QWidget* client = Button1(w)->parentWidget();
    const QList<QWidget*> stacking = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(stacking.size(), 9);
    for (int i = 0; i < 9; ++i) {
        const Row& row = rows[i];
        QVERIFY2(stacking[i] == row.control, qPrintable(row.control->objectName()));  // creation order
        QCOMPARE(row.control->pos(), row.at);
        if (auto* label = qobject_cast<QLabel*>(row.control); label != nullptr && label != Image1(w)) {
            QCOMPARE(label->size(), label->sizeHint());  // sized to its text
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
    }
    QCOMPARE(Image1(w)->size(), QSize(62, 31));
    QCOMPARE(Image1(w)->pixmap().toImage(), lexigrove::LexigroveApp::DonateBadge(w.devicePixelRatioF()).toImage());
    QCOMPARE(Button1(w)->size(), QSize(75, 25));
    QCOMPARE(Button1(w)->text(), QStringLiteral("Close"));
    QVERIFY(Button1(w)->isDefault());

    QCOMPARE(Label1(w)->text(), QStringLiteral("Lexigrove v2.2"));
    QCOMPARE(Label2(w)->text(), Label1(w)->text());
    QCOMPARE(Label1(w)->font().pixelSize(), 29);
    QCOMPARE(Label2(w)->font().pixelSize(), 29);
    QCOMPARE(Label2(w)->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    QVERIFY(!Label1(w)->autoFillBackground() && !Label2(w)->autoFillBackground());
    QCOMPARE(Label5(w)->text(), QStringLiteral(LEXIGROVE_TEST_HOMEPAGE_URL));
    QCOMPARE(Label5(w)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(Label5(w)->font().underline());
    QCOMPARE(Label5(w)->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(Image1(w)->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(Label6(w)->text(), QStringLiteral("Special Thanks:"));
    QVERIFY(Label6(w)->font().bold());
    for (QLabel* line : {Label3(w), Label4(w), Label7(w)}) {
        QCOMPARE(line->font().pixelSize(), 11);
        QVERIFY(!line->font().bold());
    }
    QCOMPARE(Label3(w)->text(), QStringLiteral("By Lexigrove contributors"));
    QVERIFY(Label4(w)->text().contains(QStringLiteral("Lexigrove contributors")));

    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), Button1(w));
    QTRY_COMPARE(w.frameGeometry().size(), TFrmAbout::kOuterSize);
}

void TestAboutDlg::titleShowsASilverShadowRightAndBelow() {
    TFrmAbout w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect title = Label1(w)->geometry().united(Label2(w)->geometry());
    const QImage image = Button1(w)->parentWidget()->grab(title).toImage();
    // Where the glyphs are solid the two colours show unmixed: the dark
    // title everywhere it is drawn, the silver one where it peeps out.
    const QRgb front = Label1(w)->palette().color(QPalette::WindowText).rgb();
    QRect dark, silver;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel == front) dark |= QRect(x, y, 1, 1);
            if (pixel == qRgb(192, 192, 192)) silver |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!dark.isEmpty());
    QVERIFY(!silver.isEmpty());
    QCOMPARE(silver.right() - dark.right(), 2);
    QCOMPARE(silver.bottom() - dark.bottom(), 1);
    QCOMPARE(silver.top() - dark.top(), 1);
}

void TestAboutDlg::enterClosesWhateverWasClickedOrTabbedTo() {
    OpenedAddresses opened;
    using Action = std::function<void(TFrmAbout&)>;
    const Action nothing = [](TFrmAbout&) {};
    const std::pair<Action, Qt::Key> cases[] = {
        {nothing, Qt::Key_Return},
        {nothing, Qt::Key_Enter},
        {[](TFrmAbout& w) { QTest::mouseClick(Label3(w), Qt::LeftButton); }, Qt::Key_Return},
        {[](TFrmAbout& w) { QTest::mouseClick(Label5(w), Qt::LeftButton); }, Qt::Key_Return},
        {[](TFrmAbout& w) { QTest::mouseClick(Image1(w), Qt::LeftButton); }, Qt::Key_Return},
        {[](TFrmAbout& w) { QTest::mouseClick(Button1(w)->parentWidget(), Qt::LeftButton, {}, QPoint(5, 200)); },
         Qt::Key_Return},
        {[](TFrmAbout&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }, Qt::Key_Return},
    };
    for (const auto& testCase : cases) {
        // Named, not a structured binding: clang-tidy's clang 14 cannot
        // capture one in a lambda.
        const Action& action = testCase.first;
        const Qt::Key enter = testCase.second;
        TFrmAbout w;
        bool openAfterEscape = false;
        QTimer::singleShot(0, &w, [&] {
            if (!QTest::qWaitForWindowActive(&w)) return;
            action(w);
            // Keys go where Qt sends them: the focus widget, else the window.
            const auto target = [&w] {
                return QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &w;
            };
            QTest::keyClick(target(), Qt::Key_Escape);
            openAfterEscape = w.isVisible();
            QTest::keyClick(target(), enter);
        });
        QTimer::singleShot(2000, &w, &QDialog::accept);  // in case Enter fails
        QCOMPARE(w.exec(), int(QDialog::Rejected));
        QVERIFY(openAfterEscape);
        QCOMPARE(w.findChild<QScrollArea*>()->focusPolicy(), Qt::NoFocus);
    }
}

void TestAboutDlg::linkAndBadgeHandTheirAddressesToTheDesktop() {
    OpenedAddresses opened;
    TFrmAbout w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QTest::mouseClick(Label5(w), Qt::LeftButton);
    QTest::mouseClick(Label5(w), Qt::LeftButton);
    Label5(w)->setText(QStringLiteral("https://example.net/elsewhere"));
    QTest::mouseClick(Label5(w), Qt::LeftButton);
    // Let go outside the link: no click. The right button: no click either.
    QTest::mousePress(Label5(w), Qt::LeftButton);
    QTest::mouseRelease(Label5(w), Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(Label5(w), Qt::RightButton);
    QTest::mouseClick(Image1(w), Qt::LeftButton);

    const QString home = QStringLiteral(LEXIGROVE_TEST_HOMEPAGE_URL);
    QCOMPARE(opened.Addresses().size(), 4);
    QCOMPARE(opened.Addresses()[0], home);
    QCOMPARE(opened.Addresses()[1], home);
    QCOMPARE(opened.Addresses()[2], QStringLiteral("https://example.net/elsewhere"));
    QCOMPARE(opened.Addresses()[3], QStringLiteral(LEXIGROVE_TEST_DONATE_URL));
    QVERIFY(w.isVisible());
}

void TestAboutDlg::storedDonationAddressIs300Base64Characters() {
    const QByteArray stored(lexigrove::kDonationAddressBase64);
    QCOMPARE(stored.size(), 300);
    for (const char c : stored) QVERIFY(lexigrove::kBase64Table[static_cast<unsigned char>(c)] != 0);
    QCOMPARE(QByteArray::fromStdString(lexigrove::Base64Decode(stored.toStdString())), QByteArray::fromBase64(stored));

    // The configured address, then NUL bytes; the badge opens the address alone.
    const std::string address = lexigrove::Base64Decode(stored.toStdString());
    const std::string configured = LEXIGROVE_TEST_DONATE_URL;
    QCOMPARE(address.size(), std::size_t{225});
    QCOMPARE(address.substr(0, configured.size()), configured);
    QCOMPARE(address.find_first_not_of('\0', configured.size()), std::string::npos);
}

void TestAboutDlg::resizingMovesNothingAndSmallWindowsScroll() {
    TFrmAbout w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* scroller = w.findChild<QScrollArea*>();
    QVERIFY(scroller != nullptr);
    QWidget* client = Button1(w)->parentWidget();
    const QList<QWidget*> controls = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QList<QRect> before;
    for (QWidget* control : controls) before << control->geometry();
    QVERIFY(!scroller->horizontalScrollBar()->isVisible() && !scroller->verticalScrollBar()->isVisible());

    for (const QSize size : {QSize(600, 500), QSize(120, 90), QSize(282, 225)}) {
        w.resize(size);
        QTRY_COMPARE(w.size(), size);
        for (int i = 0; i < controls.size(); ++i) QCOMPARE(controls[i]->geometry(), before[i]);
        const bool small = size.width() < 200;
        QTRY_COMPARE(scroller->horizontalScrollBar()->isVisible(), small);
        QTRY_COMPARE(scroller->verticalScrollBar()->isVisible(), small);
    }
    // The far corner of the controls can be scrolled into view.
    w.resize(120, 90);
    QTRY_VERIFY(scroller->verticalScrollBar()->maximum() > 0);
    scroller->horizontalScrollBar()->setValue(scroller->horizontalScrollBar()->maximum());
    scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
    const QRect shown(client->mapFrom(scroller->viewport(), QPoint(0, 0)), scroller->viewport()->size());
    QVERIFY(shown.contains(Button1(w)->geometry().bottomRight()));
    QVERIFY(shown.right() >= Label5(w)->geometry().right());
}

void TestAboutDlg::placementIsCentredOverTheMainWindowUnclamped() {
    QCOMPARE(lexigrove::AboutWindowPlace({500, 300, 323, 455}, {282, 225}), QPoint(520, 415));
    QCOMPARE(lexigrove::AboutWindowPlace({0, 0, 322, 449}, {282, 225}), QPoint(20, 112));
    // Each size loses its own half pixel: 161 - 141 and 112 - 112 with
    // odd sizes on both sides.
    QCOMPARE(lexigrove::AboutWindowPlace({0, 0, 323, 225}, {283, 225}), QPoint(20, 0));
    QCOMPARE(lexigrove::AboutWindowPlace({-400, -300, 316, 440}, {282, 225}), QPoint(-383, -192));

    // The real command, with the main window where the examples put it.
    TFrmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    for (const QPoint at : {QPoint(500, 300), QPoint(-200, -150)}) {
        main.move(at);
        QTRY_COMPARE(main.frameGeometry().topLeft(), at);
        // The offscreen platform keeps a window's client area on the screen
        // and reports where it put it later.
        QApplication::processEvents();
        QPoint placed;
        QSize outer;
        QVERIFY(WithAboutWindowOf(main, [&](TFrmAbout& about) {
            placed = about.frameGeometry().topLeft();
            outer = about.frameGeometry().size();
            about.close();
        }));
        QCOMPARE(outer, TFrmAbout::kOuterSize);
        QCOMPARE(placed, lexigrove::AboutWindowPlace(main.frameGeometry(), TFrmAbout::kOuterSize));
    }
}

void TestAboutDlg::aboutCommandShowsModallyAndDestroysAfterwards() {
    TFrmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    // First opening: the user changes what can be changed and closes by the
    // close box.
    QPointer<TFrmAbout> first;
    bool modal = false;
    QVERIFY(WithAboutWindowOf(main, [&](TFrmAbout& about) {
        first = &about;
        modal = about.isModal() && QApplication::activeModalWidget() == &about && about.parentWidget() == &main;
        Label5(about)->setText(QStringLiteral("changed"));
        about.resize(150, 100);
        about.close();
    }));
    QVERIFY(modal);
    QVERIFY(first.isNull());  // destroyed as soon as the showing ended
    QVERIFY(FrmAbout == nullptr);

    // Second opening: a fresh window with the same contents, closed by Close.
    QString link;
    QSize outer;
    QVERIFY(WithAboutWindowOf(main, [&](TFrmAbout& about) {
        link = Label5(about)->text();
        outer = about.frameGeometry().size();
        QTest::mouseClick(Button1(about), Qt::LeftButton);
    }));
    QCOMPARE(link, QStringLiteral(LEXIGROVE_TEST_HOMEPAGE_URL));
    QCOMPARE(outer, TFrmAbout::kOuterSize);
    QVERIFY(FrmAbout == nullptr);
    QVERIFY(main.findChildren<TFrmAbout*>().isEmpty());
}

void TestAboutDlg::everyControlOfBothWindowsHasAnAccessibleName() {
    TFrmAbout about;
    for (QWidget* control :
         std::initializer_list<QWidget*>{Button1(about), Label1(about), Label2(about), Label3(about), Label4(about),
                                         Label5(about), Image1(about), Label7(about), Label6(about)})
        QVERIFY2(!AccessibleName(control).isEmpty(), qPrintable(control->objectName()));
    QCOMPARE(AccessibleName(Image1(about)), QStringLiteral("Donate"));
    QCOMPARE(AccessibleName(Label5(about)), QStringLiteral(LEXIGROVE_TEST_HOMEPAGE_URL));

    TFrmMain main;
    for (QWidget* control : std::initializer_list<QWidget*>{
             GroupBox1(main), GroupBox2(main), tSearch(main), GroupBox3(main), cOpt(main), bUncheck(main), bCheck(main),
             mResults(main), bClear(main), MainMenu1(main), b1(main), b2(main), b3(main), Image1(main), pbar1(main)})
        QVERIFY2(!AccessibleName(control).isEmpty(), qPrintable(control->objectName()));
    QCOMPARE(AccessibleName(b1(main)), QStringLiteral("Unscramble"));
    QCOMPARE(AccessibleName(tSearch(main)), QStringLiteral("Letters or pattern"));
    for (QAction* item : {mClear(main), mExit(main), Lists1(main), mnuTop(main), Clear1(main)})
        QVERIFY2(!item->text().isEmpty(), qPrintable(item->objectName()));
}

// The summary a screen reader gives on opening names the program, its
// version and its address once; the shadow is not read; the address and
// the badge are links whose action opens what a click opens.
void TestAboutDlg::screenReaderHearsEachLineOnceAndOpensTheLinks() {
    OpenedAddresses opened;
    TFrmAbout w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString home = QStringLiteral(LEXIGROVE_TEST_HOMEPAGE_URL);
    const QString summary = QAccessible::queryAccessibleInterface(&w)->text(QAccessible::Description);
    for (const QString& once : {QStringLiteral("Lexigrove v2.2"), home, QStringLiteral("ENABLE word list")})
        QVERIFY2(summary.count(once) == 1, qPrintable(summary));

    QVERIFY(QAccessible::queryAccessibleInterface(Label2(w))->state().invisible);
    QAccessibleInterface* title = QAccessible::queryAccessibleInterface(Label1(w));
    QCOMPARE(title->role(), QAccessible::Heading);
    QVERIFY(!title->state().invisible);
    QCOMPARE(QAccessible::queryAccessibleInterface(Label3(w))->role(), QAccessible::Paragraph);

    for (QLabel* link : {Label5(w), Image1(w)}) {
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(link);
        QCOMPARE(item->role(), QAccessible::Link);
        QCOMPARE(item->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    QCOMPARE(opened.Addresses(), (QStringList{home, QStringLiteral(LEXIGROVE_TEST_DONATE_URL)}));
}

int main(int argc, char** argv) {
    lexigrove::LexigroveApp app(argc, argv);
    TestAboutDlg test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_AboutDlg.moc"
