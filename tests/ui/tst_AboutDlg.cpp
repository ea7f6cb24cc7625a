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
#include <memory>

#include "AboutAddresses.h"
#include "AboutDlg.h"
#include "Base64.h"
#include "FrmMain1.h"
#include "KsCheckLst.h"
#include "LexigroveApp.h"

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
    main.Lists1->trigger();
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
    void enterClosesEscapeDoesNot();
    void enterClosesWhateverWasClickedOrTabbedTo();
    void linkAndBadgeHandTheirAddressesToTheDesktop();
    void storedDonationAddressIs300Base64Characters();
    void resizingMovesNothingAndSmallWindowsScroll();
    void placementIsCentredOverTheMainWindowUnclamped();
    void aboutCommandShowsModallyAndDestroysAfterwards();
    void everyControlOfBothWindowsHasAnAccessibleName();
};

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
    const Row rows[] = {{w.Label2, {16, 14}}, {w.Label1, {14, 13}},  {w.Label3, {97, 52}},
                        {w.Label4, {97, 72}}, {w.Label5, {97, 92}},  {w.Image1, {17, 65}},
                        {w.Label7, {109, 133}}, {w.Label6, {82, 114}}, {w.Button1, {94, 160}}};
    QWidget* client = w.Button1->parentWidget();
    const QList<QWidget*> stacking = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(stacking.size(), 9);
    for (int i = 0; i < 9; ++i) {
        const Row& row = rows[i];
        QVERIFY2(stacking[i] == row.control, qPrintable(row.control->objectName()));  // creation order
        QCOMPARE(row.control->pos(), row.at);
        if (auto* label = qobject_cast<QLabel*>(row.control); label != nullptr && label != w.Image1) {
            QCOMPARE(label->size(), label->sizeHint());  // sized to its text
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
    }
    QCOMPARE(w.Image1->size(), QSize(62, 31));
    QCOMPARE(w.Image1->pixmap().toImage(), LexigroveApp::DonateBadge(w.devicePixelRatioF()).toImage());
    QCOMPARE(w.Button1->size(), QSize(75, 25));
    QCOMPARE(w.Button1->text(), QStringLiteral("Close"));
    QVERIFY(w.Button1->isDefault());

    QCOMPARE(w.Label1->text(), QStringLiteral("Lexigrove v2.2"));
    QCOMPARE(w.Label2->text(), w.Label1->text());
    QCOMPARE(w.Label1->font().pixelSize(), 29);
    QCOMPARE(w.Label2->font().pixelSize(), 29);
    QCOMPARE(w.Label2->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    QVERIFY(!w.Label1->autoFillBackground() && !w.Label2->autoFillBackground());
    QCOMPARE(w.Label5->text(), QStringLiteral(LEXIGROVE_TEST_HOMEPAGE_URL));
    QCOMPARE(w.Label5->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(w.Label5->font().underline());
    QCOMPARE(w.Label5->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(w.Image1->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(w.Label6->text(), QStringLiteral("Special Thanks:"));
    QVERIFY(w.Label6->font().bold());
    for (QLabel* line : {w.Label3, w.Label4, w.Label7}) {
        QCOMPARE(line->font().pixelSize(), 11);
        QVERIFY(!line->font().bold());
    }
    QCOMPARE(w.Label3->text(), QStringLiteral("By Lexigrove contributors"));
    QVERIFY(w.Label4->text().contains(QStringLiteral("Lexigrove contributors")));

    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.Button1);
    QTRY_COMPARE(w.frameGeometry().size(), TFrmAbout::kOuterSize);
}

void TestAboutDlg::titleShowsASilverShadowRightAndBelow() {
    TFrmAbout w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect title = w.Label1->geometry().united(w.Label2->geometry());
    const QImage image = w.Button1->parentWidget()->grab(title).toImage();
    // Where the glyphs are solid the two colours show unmixed: the dark
    // title everywhere it is drawn, the silver one where it peeps out.
    const QRgb front = w.Label1->palette().color(QPalette::WindowText).rgb();
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

void TestAboutDlg::enterClosesEscapeDoesNot() {
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        TFrmAbout w;
        bool openAfterEscape = false;
        QTimer::singleShot(0, &w, [&] {
            if (!QTest::qWaitForWindowActive(&w) || QApplication::focusWidget() != w.Button1) return;
            QTest::keyClick(w.Button1, Qt::Key_Escape);
            openAfterEscape = w.isVisible();
            QTest::keyClick(w.Button1, enter);
        });
        QTimer::singleShot(2000, &w, &QDialog::accept);  // in case Enter fails
        QCOMPARE(w.exec(), int(QDialog::Rejected));
        QVERIFY(openAfterEscape);
    }
}

void TestAboutDlg::enterClosesWhateverWasClickedOrTabbedTo() {
    OpenedAddresses opened;
    using Action = std::function<void(TFrmAbout&)>;
    const Action actions[] = {
        [](TFrmAbout& w) { QTest::mouseClick(w.Label3, Qt::LeftButton); },
        [](TFrmAbout& w) { QTest::mouseClick(w.Label5, Qt::LeftButton); },
        [](TFrmAbout& w) { QTest::mouseClick(w.Image1, Qt::LeftButton); },
        [](TFrmAbout& w) { QTest::mouseClick(w.Button1->parentWidget(), Qt::LeftButton, {}, QPoint(5, 200)); },
        [](TFrmAbout&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); },
    };
    for (const Action& action : actions) {
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
            QTest::keyClick(target(), Qt::Key_Return);
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

    QTest::mouseClick(w.Label5, Qt::LeftButton);
    QTest::mouseClick(w.Label5, Qt::LeftButton);
    w.Label5->setText(QStringLiteral("https://example.net/elsewhere"));
    QTest::mouseClick(w.Label5, Qt::LeftButton);
    // Let go outside the link: no click. The right button: no click either.
    QTest::mousePress(w.Label5, Qt::LeftButton);
    QTest::mouseRelease(w.Label5, Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(w.Label5, Qt::RightButton);
    QTest::mouseClick(w.Image1, Qt::LeftButton);

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
    QWidget* client = w.Button1->parentWidget();
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
    QVERIFY(shown.contains(w.Button1->geometry().bottomRight()));
    QVERIFY(shown.right() >= w.Label5->geometry().right());
}

void TestAboutDlg::placementIsCentredOverTheMainWindowUnclamped() {
    QCOMPARE(TFrmMain::AboutWindowPlace({500, 300, 323, 455}, {282, 225}), QPoint(520, 415));
    QCOMPARE(TFrmMain::AboutWindowPlace({0, 0, 322, 449}, {282, 225}), QPoint(20, 112));
    // Each size loses its own half pixel: 161 - 141 and 112 - 112 with
    // odd sizes on both sides.
    QCOMPARE(TFrmMain::AboutWindowPlace({0, 0, 323, 225}, {283, 225}), QPoint(20, 0));
    QCOMPARE(TFrmMain::AboutWindowPlace({-400, -300, 316, 440}, {282, 225}), QPoint(-383, -192));

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
        QCOMPARE(placed, TFrmMain::AboutWindowPlace(main.frameGeometry(), TFrmAbout::kOuterSize));
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
        about.Label5->setText(QStringLiteral("changed"));
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
        link = about.Label5->text();
        outer = about.frameGeometry().size();
        QTest::mouseClick(about.Button1, Qt::LeftButton);
    }));
    QCOMPARE(link, QStringLiteral(LEXIGROVE_TEST_HOMEPAGE_URL));
    QCOMPARE(outer, TFrmAbout::kOuterSize);
    QVERIFY(FrmAbout == nullptr);
    QVERIFY(main.findChildren<TFrmAbout*>().isEmpty());
}

void TestAboutDlg::everyControlOfBothWindowsHasAnAccessibleName() {
    TFrmAbout about;
    for (QWidget* control : std::initializer_list<QWidget*>{about.Button1, about.Label1, about.Label2, about.Label3,
                                                            about.Label4, about.Label5, about.Image1, about.Label7,
                                                            about.Label6})
        QVERIFY2(!AccessibleName(control).isEmpty(), qPrintable(control->objectName()));
    QCOMPARE(AccessibleName(about.Image1), QStringLiteral("Donate"));
    QCOMPARE(AccessibleName(about.Label5), QStringLiteral(LEXIGROVE_TEST_HOMEPAGE_URL));

    TFrmMain main;
    for (QWidget* control : std::initializer_list<QWidget*>{
             main.GroupBox1, main.GroupBox2, main.tSearch, main.GroupBox3, main.cOpt, main.bUncheck, main.bCheck,
             main.mResults, main.bClear, main.MainMenu1, main.b1, main.b2, main.b3, main.Image1, main.pbar1})
        QVERIFY2(!AccessibleName(control).isEmpty(), qPrintable(control->objectName()));
    QCOMPARE(AccessibleName(main.b1), QStringLiteral("Unscramble"));
    QCOMPARE(AccessibleName(main.tSearch), QStringLiteral("Letters or pattern"));
    for (QAction* item : {main.mClear, main.mExit, main.Lists1, main.mnuTop, main.Clear1})
        QVERIFY2(!item->text().isEmpty(), qPrintable(item->objectName()));
}

int main(int argc, char** argv) {
    LexigroveApp app(argc, argv);
    TestAboutDlg test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_AboutDlg.moc"
