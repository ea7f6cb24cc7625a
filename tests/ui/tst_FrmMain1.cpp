// The main window driven as a user drives it: layout, keyboard, menus,
// searches through the real controls, and the error box.
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FrmMain1.h"
#include "KsCheckLst.h"
#include "LexigroveApp.h"
#include "ScreenReader.h"
#include "SearchCommand.h"
#include "WindowControls.h"

namespace {

// What a modal message box showed before the test dismissed it.
struct BoxSeen {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    QString buttonText;
    bool applicationModal = false;
    QPoint centre;
};

// Waits for the next modal message box, records it and closes it with `key`.
void AnswerNextBox(BoxSeen* seen, int key = Qt::Key_Escape) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, seen, key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttonCount = static_cast<int>(box->buttons().size());
        if (!box->buttons().isEmpty()) seen->buttonText = box->buttons().first()->text();
        seen->applicationModal = box->windowModality() == Qt::ApplicationModal;
        seen->centre = box->frameGeometry().center();
        QTest::keyClick(box, static_cast<Qt::Key>(key));
    });
    timer->start(10);
}

QString Results(const TFrmMain& w) { return mResults(w)->toPlainText(); }

void CheckAll(TFrmMain& w) { QTest::mouseClick(bCheck(w), Qt::LeftButton); }

void Type(TFrmMain& w, const QString& text) {
    tSearch(w)->clear();
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 128;
    if (ascii)
        QTest::keyClicks(tSearch(w), text);
    else
        tSearch(w)->insert(text);  // as if pasted: key clicks cannot carry these
}

const QString kSeparator = QStringLiteral("-----------------------------");

}  // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private slots:
    void init() { w_ = std::make_unique<TFrmMain>(); }
    void cleanup() {
        w_.reset();
        QAccessible::setActive(false);
    }

    void windowAndLayoutMatchTheTable();
    void menusHaveTheirItemsAndNoShortcuts();
    void tabCyclesEditBoxAndSearchButtonsOnly();
    void enterRunsUnscrambleAndNeverWildOrExact();
    void emptyTextShowsTheMessageBoxAndChangesNothing();
    void checkAllAndUncheckAllSetEveryOption();
    void clearButtonAndMenuEmptyPaneAndEditBoxOnly();
    void clearResultsBeforeFindAndSeparators();
    void searchLowercasesTheEditBox();
    void nonAsciiTextSurvivesTheRoundTrip();
    void eachTypedCharacterIsOnePosition();
    void pasteKeepsTheTextBeforeTheFirstLineBreak();
    void tenMillionPastedLettersReachTheSearchWhole();
    void enterOnAFocusedSearchButtonRunsItsSearch();
    void groupBoxFramesRunThroughTheCaptionsClearOfTheControls();
    void longResultLinesWrapAsQtWrapsThem();
    void textTypedIntoThePaneIsKeptAndFollowedBySeparator();
    void lineCountIgnoresAnEmptyLastLine();
    void appendsOfOneSearchReachThePaneAsOneInsertion();
    void focusAfterClickIsNowhereAfterEnterStaysInEditBox();
    void alwaysOnTopKeepsStateAndResetsBarListAndPane();
    void progressBarClampsAndRejectsNegativeMaximum();
    void formDestroyReleasesTheCachedLists();
    void errorTextAddsFullStopOnlyAfterLettersAndTheLike();
    void failingHandlerShowsErrorBoxAndLoopGoesOn();
    void optionsMenuMarksReachScreenReaders();
    void keysReachTheControlsTabPassesBy();
    void withAScreenReaderTabReachesEveryControl();
    void eachSearchTellsAScreenReaderWhatItFound();

private:
    std::unique_ptr<TFrmMain> w_;
};

void TestFrmMain::windowAndLayoutMatchTheTable() {
    TFrmMain& w = *w_;
    QCOMPARE(w.windowTitle(), QStringLiteral("Lexigrove v2.2"));
    QCOMPARE(w.centralWidget()->size(), QSize(316, 400));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!w.windowIcon().isNull());

    struct Row {
        QWidget* control;
        QWidget* parent;
        QRect geometry;
    };
    const Row rows[] = {
        {GroupBox1(w), w.centralWidget(), {8, 220, 301, 173}},
        {mResults(w), GroupBox1(w), {8, 16, 282, 123}},
        {bClear(w), GroupBox1(w), {190, 142, 101, 25}},
        {pbar1(w), GroupBox1(w), {8, 145, 175, 18}},
        {GroupBox2(w), w.centralWidget(), {8, 2, 301, 83}},
        {Image1(w), GroupBox2(w), {234, 9, 62, 31}},
        {tSearch(w), GroupBox2(w), {9, 18, 218, 21}},
        {b1(w), GroupBox2(w), {21, 47, 75, 25}},
        {b2(w), GroupBox2(w), {106, 47, 75, 25}},
        {b3(w), GroupBox2(w), {189, 47, 75, 25}},
        {GroupBox3(w), w.centralWidget(), {8, 89, 301, 128}},
        {cOpt(w), GroupBox3(w), {6, 16, 289, 81}},
        {bUncheck(w), GroupBox3(w), {157, 97, 75, 25}},
        {bCheck(w), GroupBox3(w), {68, 97, 75, 25}},
    };
    for (const Row& row : rows) {
        QVERIFY2(row.control->parentWidget() == row.parent, qPrintable(row.control->objectName()));
        QCOMPARE(row.control->geometry(), row.geometry);
    }

    QCOMPARE(GroupBox1(w)->title(), QStringLiteral("Results"));
    QCOMPARE(GroupBox2(w)->title(), QStringLiteral("Enter your text"));
    QCOMPARE(GroupBox3(w)->title(), QStringLiteral("Word length matches (Unscramble)"));
    QCOMPARE(b1(w)->text(), QStringLiteral("&Unscramble"));
    QCOMPARE(b2(w)->text(), QStringLiteral("&Wild"));
    QCOMPARE(b3(w)->text(), QStringLiteral("&Exact"));
    QCOMPARE(bClear(w)->text(), QStringLiteral("Clear text"));
    QCOMPARE(bCheck(w)->text(), QStringLiteral("Check All"));
    QCOMPARE(bUncheck(w)->text(), QStringLiteral("Uncheck All"));
    QCOMPARE(TFrmMain::Tag(b1(w)), 1);
    QCOMPARE(TFrmMain::Tag(b2(w)), 2);
    QCOMPARE(TFrmMain::Tag(b3(w)), 3);
    QCOMPARE(TFrmMain::Tag(bCheck(w)), 1);
    QCOMPARE(TFrmMain::Tag(bUncheck(w)), 0);

    QCOMPARE(cOpt(w)->count(), 14);
    QCOMPARE(cOpt(w)->item(0)->text(), QStringLiteral("2 Letter"));
    QCOMPARE(cOpt(w)->item(12)->text(), QStringLiteral("14 Letter"));
    QCOMPARE(cOpt(w)->item(13)->text(), QStringLiteral("15+ Letter"));
    for (int i = 0; i < 14; ++i) QVERIFY(!cOpt(w)->GetChecked(i));

    QCOMPARE(w.font().family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(w.font().pixelSize(), 11);
    for (QWidget* entry : {static_cast<QWidget*>(tSearch(w)), static_cast<QWidget*>(mResults(w))}) {
        QCOMPARE(entry->font().family(), QStringLiteral("Liberation Mono"));
        QCOMPARE(entry->font().pixelSize(), 13);
        QCOMPARE(entry->palette().color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(entry->palette().color(QPalette::Base), QColor(Qt::white));
    }
    QVERIFY(!mResults(w)->isReadOnly());
    QCOMPARE(mResults(w)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(mResults(w)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(mResults(w)->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(Results(w).isEmpty());
    QCOMPARE(pbar1(w)->value(), 0);
    QCOMPARE(w.Surface().ProgressMaximum(), 100);
    QVERIFY(!Image1(w)->pixmap().isNull());
    QCOMPARE(Image1(w)->cursor().shape(), Qt::PointingHandCursor);
}

void TestFrmMain::menusHaveTheirItemsAndNoShortcuts() {
    TFrmMain& w = *w_;
    const QList<QAction*> top = MainMenu1(w)->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QStringLiteral("&File"));
    QCOMPARE(top[1]->text(), QStringLiteral("&Options"));
    QCOMPARE(top[2], Lists1(w));
    QCOMPARE(Lists1(w)->text(), QStringLiteral("&About"));
    QVERIFY(Lists1(w)->menu() == nullptr);

    const QList<QAction*> file = Search1(w)->actions();
    QCOMPARE(file.size(), 3);
    QCOMPARE(file[0], mClear(w));
    QVERIFY(file[1]->isSeparator());
    QCOMPARE(file[2], mExit(w));
    QCOMPARE(mClear(w)->text(), QStringLiteral("&Clear"));
    QCOMPARE(mExit(w)->text(), QStringLiteral("E&xit"));

    const QList<QAction*> options = options1(w)->actions();
    QCOMPARE(options.size(), 2);
    QCOMPARE(options[0], mnuTop(w));
    QCOMPARE(options[1], Clear1(w));
    QCOMPARE(mnuTop(w)->text(), QStringLiteral("&Always on Top"));
    QCOMPARE(Clear1(w)->text(), QStringLiteral("&Clear results before Find"));
    QVERIFY(mnuTop(w)->isCheckable() && !mnuTop(w)->isChecked());
    QVERIFY(Clear1(w)->isCheckable() && !Clear1(w)->isChecked());

    for (QAction* action : {mClear(w), mExit(w), Lists1(w), mnuTop(w), Clear1(w)})
        QVERIFY(action->shortcut().isEmpty());

    // Triggering a check item flips its mark exactly once.
    Clear1(w)->trigger();
    QVERIFY(Clear1(w)->isChecked());
    Clear1(w)->trigger();
    QVERIFY(!Clear1(w)->isChecked());

    // File, Exit closes the window, which ends the program.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    mExit(w)->trigger();
    QVERIFY(!w.isVisible());
}

void TestFrmMain::tabCyclesEditBoxAndSearchButtonsOnly() {
    TFrmMain& w = *w_;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), tSearch(w));

    const QWidget* expected[] = {b1(w), b2(w), b3(w), tSearch(w), b1(w)};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), tSearch(w));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), b3(w));

    for (QWidget* mouseOnly : std::initializer_list<QWidget*>{mResults(w), bClear(w), cOpt(w), bCheck(w), bUncheck(w)})
        QVERIFY2(!(mouseOnly->focusPolicy() & Qt::TabFocus), qPrintable(mouseOnly->objectName()));
}

void TestFrmMain::enterRunsUnscrambleAndNeverWildOrExact() {
    TFrmMain& w = *w_;
    CheckAll(w);

    Type(w, QStringLiteral("c?t"));
    QTest::mouseClick(b1(w), Qt::LeftButton);
    const QString byButton = Results(w);
    QVERIFY(byButton.contains(QStringLiteral("\ncat\n")));
    QVERIFY(byButton.contains(QStringLiteral("\nact\n")));  // Unscramble: any order of the letters

    w.bClearClick(bClear(w));
    Type(w, QStringLiteral("c?t"));
    QTest::keyClick(tSearch(w), Qt::Key_Return);
    QCOMPARE(Results(w), byButton);

    w.bClearClick(bClear(w));
    Type(w, QStringLiteral("c?t"));
    QTest::keyClick(tSearch(w), Qt::Key_Enter);
    QCOMPARE(Results(w), byButton);

    // Wild of the same pattern keeps the order and gives another list.
    w.bClearClick(bClear(w));
    Type(w, QStringLiteral("c?t"));
    QTest::mouseClick(b2(w), Qt::LeftButton);
    QVERIFY(Results(w) != byButton);
    QVERIFY(!Results(w).contains(QStringLiteral("act")));

    // Other keys in the edit box start nothing.
    w.bClearClick(bClear(w));
    Type(w, QStringLiteral("cat"));
    QTest::keyClick(tSearch(w), Qt::Key_Space);
    QTest::keyClick(tSearch(w), Qt::Key_Backspace);
    QVERIFY(Results(w).isEmpty());
}

void TestFrmMain::emptyTextShowsTheMessageBoxAndChangesNothing() {
    TFrmMain& w = *w_;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.Surface().ResultsAppend("kept");
    w.Surface().ProgressSetPosition(40);

    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        BoxSeen seen;
        AnswerNextBox(&seen, key);
        QTest::keyClick(tSearch(w), Qt::Key_Return);
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("Lexigrove"));
        QCOMPARE(seen.text, QStringLiteral("No letters entered!"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttonCount, 1);
        QCOMPARE(seen.buttonText, QStringLiteral("OK"));
        const QPoint offCentre = seen.centre - w.screen()->geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, "the message box stands in the middle of the screen");
    }
    BoxSeen seen;
    AnswerNextBox(&seen);
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QVERIFY(seen.shown);

    QCOMPARE(Results(w), QStringLiteral("kept\n"));
    QCOMPARE(w.Surface().ProgressPosition(), 40);
    QVERIFY(b1(w)->isEnabled() && b2(w)->isEnabled() && b3(w)->isEnabled());
}

void TestFrmMain::checkAllAndUncheckAllSetEveryOption() {
    TFrmMain& w = *w_;
    cOpt(w)->SetChecked(3, true);
    QTest::mouseClick(bUncheck(w), Qt::LeftButton);
    for (int i = 0; i < 14; ++i) QVERIFY(!cOpt(w)->GetChecked(i));
    QTest::mouseClick(bCheck(w), Qt::LeftButton);
    QTest::mouseClick(bCheck(w), Qt::LeftButton);
    for (int i = 0; i < 14; ++i) QVERIFY(cOpt(w)->GetChecked(i));
    QTest::mouseClick(bUncheck(w), Qt::LeftButton);
    for (int i = 0; i < 14; ++i) QVERIFY(!cOpt(w)->GetChecked(i));
}

void TestFrmMain::clearButtonAndMenuEmptyPaneAndEditBoxOnly() {
    TFrmMain& w = *w_;
    for (const std::function<void()>& clear : std::initializer_list<std::function<void()>>{
             [&] { QTest::mouseClick(bClear(w), Qt::LeftButton); }, [&] { mClear(w)->trigger(); }}) {
        CheckAll(w);
        Clear1(w)->trigger();
        mnuTop(w)->setChecked(false);
        Type(w, QStringLiteral("cat"));
        QTest::mouseClick(b1(w), Qt::LeftButton);
        QVERIFY(!Results(w).isEmpty());
        const int position = w.Surface().ProgressPosition();

        clear();
        QVERIFY(Results(w).isEmpty());
        QVERIFY(tSearch(w)->text().isEmpty());
        QVERIFY(Clear1(w)->isChecked());
        QCOMPARE(w.Surface().ProgressPosition(), position);
        for (int i = 0; i < 14; ++i) QVERIFY(cOpt(w)->GetChecked(i));
        Clear1(w)->trigger();
    }
}

void TestFrmMain::clearResultsBeforeFindAndSeparators() {
    TFrmMain& w = *w_;
    Type(w, QStringLiteral("cat"));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("cat - Found\n"));
    Type(w, QStringLiteral("qzx"));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("cat - Found\n") + kSeparator + QStringLiteral("\nqzx - Not Found\n"));

    // No options ticked: Unscramble adds only the separator.
    QTest::mouseClick(b1(w), Qt::LeftButton);
    QVERIFY(Results(w).endsWith(QStringLiteral("Not Found\n") + kSeparator + QStringLiteral("\n")));
    QCOMPARE(w.Surface().ProgressMaximum(), 0);

    Clear1(w)->trigger();
    Type(w, QStringLiteral("dog"));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("dog - Found\n"));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("dog - Found\n"));
}

void TestFrmMain::searchLowercasesTheEditBox() {
    TFrmMain& w = *w_;
    CheckAll(w);
    Type(w, QStringLiteral("CaT"));
    QTest::mouseClick(b1(w), Qt::LeftButton);
    QCOMPARE(tSearch(w)->text(), QStringLiteral("cat"));
    const QString upper = Results(w);
    w.bClearClick(bClear(w));
    Type(w, QStringLiteral("cat"));
    QTest::mouseClick(b1(w), Qt::LeftButton);
    QCOMPARE(Results(w), upper);

    // The full 14-option sweep leaves the bar full.
    QCOMPARE(w.Surface().ProgressPosition(), 14);
    QCOMPARE(w.Surface().ProgressMaximum(), 14);
    QCOMPARE(pbar1(w)->value(), pbar1(w)->maximum());
}

void TestFrmMain::nonAsciiTextSurvivesTheRoundTrip() {
    TFrmMain& w = *w_;
    CheckAll(w);
    // Letters outside ASCII are never wildcards and never match a word.
    Type(w, QStringLiteral("\u00C9T\u00C9"));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(tSearch(w)->text(), QStringLiteral("\u00C9t\u00C9"));
    QCOMPARE(Results(w), QStringLiteral("\u00C9t\u00C9 - Not Found\n"));

    w.bClearClick(bClear(w));
    Type(w, QStringLiteral("\u00E9\u00E9\u00E9\u00E9"));
    QTest::mouseClick(b1(w), Qt::LeftButton);
    QTest::mouseClick(b2(w), Qt::LeftButton);
    QVERIFY(Results(w).isEmpty());
    // A character Latin-1 cannot hold must not turn into a '?'.
    Type(w, QStringLiteral("\u4E2D\u4E2D\u4E2D"));
    QTest::mouseClick(b2(w), Qt::LeftButton);
    QTest::mouseClick(b1(w), Qt::LeftButton);
    QVERIFY(Results(w).isEmpty());
    // Nor may half of a surrogate pair.
    Type(w, QString(QChar(0xD800)) + QStringLiteral("at"));
    QTest::mouseClick(b2(w), Qt::LeftButton);
    QVERIFY(Results(w).isEmpty());
}

void TestFrmMain::eachTypedCharacterIsOnePosition() {
    TFrmMain& w = *w_;
    // One character, however it is written, is too short for Exact.
    for (const QString& one : {QStringLiteral("\u00E9"), QStringLiteral("e\u0301"), QStringLiteral("\U0001F600")}) {
        Type(w, one);
        QTest::mouseClick(b3(w), Qt::LeftButton);
        QVERIFY2(Results(w).isEmpty(), qPrintable(one));
    }
    // Two characters make a two-character search; what the user typed
    // comes back unchanged in the result line, only A to Z lowercased.
    Type(w, QStringLiteral("\u00E9A"));
    QCOMPARE(w.Surface().ReadText().size(), std::size_t(2));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("\u00E9a - Not Found\n"));
    QCOMPARE(tSearch(w)->text(), QStringLiteral("\u00E9a"));

    w.bClearClick(bClear(w));
    const QString mixed = QStringLiteral("\u00C9e\u0301T?\U0001F600\u00DF");
    Type(w, mixed);
    const std::string bytes = w.Surface().ReadText();
    QCOMPARE(bytes.size(), std::size_t(6));
    for (std::size_t i : {0U, 1U, 4U, 5U})  // never a letter, never a wildcard
        QVERIFY(!std::isalpha(static_cast<unsigned char>(bytes[i])) && bytes[i] != '?');
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(tSearch(w)->text(), QStringLiteral("\u00C9e\u0301t?\U0001F600\u00DF"));
    QCOMPARE(Results(w), QStringLiteral("\u00C9e\u0301t?\U0001F600\u00DF - Not Found\n"));
}

void TestFrmMain::pasteKeepsTheTextBeforeTheFirstLineBreak() {
    TFrmMain& w = *w_;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    CheckAll(w);

    // Ctrl+V into an empty box, then Exact: one line, of the first word.
    QApplication::clipboard()->setText(QStringLiteral("cat\ndog"));
    QTest::keyClick(tSearch(w), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(tSearch(w)->text(), QStringLiteral("cat"));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("cat - Found\n"));

    // Into the middle of a text, with CR LF, CR or LF: what follows the
    // caret stays, the caret ends after the pasted line.
    for (const QString& paste : {QStringLiteral("og\r\ndog"), QStringLiteral("og\rdog"), QStringLiteral("og\n")}) {
        tSearch(w)->setText(QStringLiteral("ds"));
        tSearch(w)->setFocus();
        QTest::keyClick(tSearch(w), Qt::Key_Home);
        QTest::keyClick(tSearch(w), Qt::Key_Right);
        QApplication::clipboard()->setText(paste);
        QTest::keyClick(tSearch(w), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(tSearch(w)->text(), QStringLiteral("dogs"));
        QCOMPARE(tSearch(w)->cursorPosition(), 3);
    }
    // A paste that starts with a line break adds nothing.
    QApplication::clipboard()->setText(QStringLiteral("\r\ncat"));
    QTest::keyClick(tSearch(w), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(tSearch(w)->text(), QStringLiteral("dogs"));
}

void TestFrmMain::tenMillionPastedLettersReachTheSearchWhole() {
    TFrmMain& w = *w_;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QString letters(10'000'000, QLatin1Char('a'));
    letters[0] = QLatin1Char('B');  // written back lowercased
    letters.back() = QLatin1Char('z');
    QApplication::clipboard()->setText(letters);
    QTest::keyClick(tSearch(w), Qt::Key_V, Qt::ControlModifier);
    QTest::mouseClick(b3(w), Qt::LeftButton);
    const QString lowered = letters.toLower();
    QCOMPARE(tSearch(w)->text(), lowered);
    QCOMPARE(Results(w), lowered + QStringLiteral(" - Not Found\n"));
}

void TestFrmMain::enterOnAFocusedSearchButtonRunsItsSearch() {
    TFrmMain& w = *w_;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    CheckAll(w);

    // Tab to a button, then Enter or keypad Enter: the same as a click.
    struct Case {
        int tabs;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QPushButton* button;
    };
    for (const Case& c :
         {Case{1, Qt::Key_Return, Qt::NoModifier, b1(w)}, Case{2, Qt::Key_Enter, Qt::KeypadModifier, b2(w)},
          Case{3, Qt::Key_Return, Qt::NoModifier, b3(w)}}) {
        w.bClearClick(bClear(w));
        Type(w, QStringLiteral("c?t"));
        QTest::mouseClick(c.button, Qt::LeftButton);
        const QString byClick = Results(w);
        QVERIFY(!byClick.isEmpty());

        w.bClearClick(bClear(w));
        Type(w, QStringLiteral("c?t"));
        tSearch(w)->setFocus();
        for (int i = 0; i < c.tabs; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c.button);
        QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
        QCOMPARE(Results(w), byClick);
    }
}

void TestFrmMain::groupBoxFramesRunThroughTheCaptionsClearOfTheControls() {
    TFrmMain& w = *w_;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (QGroupBox* box : {GroupBox1(w), GroupBox2(w), GroupBox3(w)}) {
        int firstChildTop = box->height();
        for (const QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            firstChildTop = std::min(firstChildTop, child->y());
        const int captionHeight = box->fontMetrics().height();

        // Down a column right of the caption and of every control, the
        // first thing drawn is the frame's top line, at half the caption's
        // height.
        const QImage image = box->grab().toImage();
        const QRgb background = box->palette().color(QPalette::Window).rgb();
        const int x = box->width() - 4;
        int line = -1;
        for (int y = 0; y < box->height() && line < 0; ++y)
            if (image.pixel(x, y) != background) line = y;
        QVERIFY2(line >= captionHeight / 2 - 1 && line <= captionHeight / 2 + 1,
                 qPrintable(QStringLiteral("%1: frame at %2").arg(box->objectName()).arg(line)));
        QVERIFY(line < firstChildTop);

        // The caption stands in a gap of that line.
        bool captionDrawn = false;
        for (int y = 0; y < captionHeight; ++y)
            for (int cx = 6; cx < 40; ++cx) captionDrawn = captionDrawn || qGray(image.pixel(cx, y)) < 100;
        QVERIFY(captionDrawn);
        bool lineUnderCaption = true;
        for (int cx = 12; cx < 30; ++cx)
            lineUnderCaption = lineUnderCaption && image.pixel(cx, line) == image.pixel(x, line);
        QVERIFY(!lineUnderCaption);
    }
}

void TestFrmMain::longResultLinesWrapAsQtWrapsThem() {
    TFrmMain& w = *w_;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Words, then a run longer than a line, then words again: the pane
    // breaks at word boundaries where it can and anywhere where it must.
    std::string line;
    for (int i = 0; line.size() < 1500; ++i)
        line += std::string(static_cast<std::size_t>(1 + i % 9), char('a' + i % 26)) + ' ';
    line += std::string(700, 'x') + " - Not Found";
    for (int i = 0; i < 60; ++i) line += " word" + std::to_string(i);
    w.Surface().ResultsAppend(line);
    w.repaint();

    const auto wrapsAsQt = [&w] {
        const QTextBlock block = mResults(w)->document()->firstBlock();
        QTextLayout* shown = block.layout();
        QVERIFY(shown->lineCount() > 1);
        QTextLayout expected(block.text(), mResults(w)->document()->defaultFont());
        QTextOption option = mResults(w)->document()->defaultTextOption();
        QCOMPARE(option.wrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        expected.setTextOption(option);
        expected.beginLayout();
        for (QTextLine l = expected.createLine(); l.isValid(); l = expected.createLine())
            l.setLineWidth(shown->lineAt(0).width());
        expected.endLayout();
        QCOMPARE(shown->lineCount(), expected.lineCount());
        for (int i = 0; i < expected.lineCount(); ++i) {
            QCOMPARE(shown->lineAt(i).textStart(), expected.lineAt(i).textStart());
            QCOMPARE(shown->lineAt(i).textLength(), expected.lineAt(i).textLength());
        }
    };
    wrapsAsQt();
    if (QTest::currentTestFailed()) return;

    // The user types into that line: it is laid out again the same way.
    QTextCursor cursor(mResults(w)->document());
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 5);
    mResults(w)->setTextCursor(cursor);
    QTest::keyClicks(mResults(w), QStringLiteral(" typed here "));
    w.repaint();
    QVERIFY(Results(w).contains(QStringLiteral(" typed here ")));
    wrapsAsQt();
    if (QTest::currentTestFailed()) return;
    const QTextLayout* shown = mResults(w)->document()->firstBlock().layout();
    // The pane scrolls over all of it.
    QCOMPARE(mResults(w)->document()->lineCount(), shown->lineCount() + 1);
}

void TestFrmMain::textTypedIntoThePaneIsKeptAndFollowedBySeparator() {
    TFrmMain& w = *w_;
    // Typed without a final line break: each append starts a new line.
    QTest::keyClicks(mResults(w), QStringLiteral("my note"));
    QCOMPARE(w.Surface().ResultsLineCount(), 1);
    Type(w, QStringLiteral("cat"));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("my note\n") + kSeparator + QStringLiteral("\ncat - Found"));
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("my note\n") + kSeparator + QStringLiteral("\ncat - Found\n") + kSeparator +
                             QStringLiteral("\ncat - Found"));

    // Typed with a final line break: appends go on the empty last line.
    mResults(w)->clear();
    QTest::keyClicks(mResults(w), QStringLiteral("line one"));
    QTest::keyClick(mResults(w), Qt::Key_Return);
    QTest::mouseClick(b3(w), Qt::LeftButton);
    QCOMPARE(Results(w), QStringLiteral("line one\n") + kSeparator + QStringLiteral("\ncat - Found\n"));
}

void TestFrmMain::lineCountIgnoresAnEmptyLastLine() {
    TFrmMain& w = *w_;
    QCOMPARE(w.Surface().ResultsLineCount(), 0);
    mResults(w)->setPlainText(QStringLiteral("\n"));
    QCOMPARE(w.Surface().ResultsLineCount(), 1);
    mResults(w)->setPlainText(QStringLiteral("a\nb"));
    QCOMPARE(w.Surface().ResultsLineCount(), 2);
    mResults(w)->setPlainText(QStringLiteral("a\nb\n"));
    QCOMPARE(w.Surface().ResultsLineCount(), 2);
    w.Surface().ResultsClear();
    w.Surface().ResultsBeginUpdate();
    w.Surface().ResultsAppend("x");
    w.Surface().ResultsAppend("y");
    QCOMPARE(w.Surface().ResultsLineCount(), 2);
    w.Surface().ResultsEndUpdate();
    QCOMPARE(Results(w), QStringLiteral("x\ny\n"));
}

void TestFrmMain::appendsOfOneSearchReachThePaneAsOneInsertion() {
    TFrmMain& w = *w_;
    CheckAll(w);
    Type(w, QStringLiteral("aeinrst"));
    QSignalSpy changes(mResults(w)->document(), &QTextDocument::contentsChange);
    QTest::mouseClick(b1(w), Qt::LeftButton);
    QCOMPARE(changes.size(), 1);
    QVERIFY(w.Surface().ResultsLineCount() > 100);
    // The caret follows the last line, which is in view.
    QCOMPARE(mResults(w)->textCursor().position(), mResults(w)->document()->characterCount() - 1);
    QCOMPARE(mResults(w)->verticalScrollBar()->value(), mResults(w)->verticalScrollBar()->maximum());

    // Wild brackets its appends too: the separator, then all its words.
    Type(w, QStringLiteral("???"));
    changes.clear();
    QTest::mouseClick(b2(w), Qt::LeftButton);
    QCOMPARE(changes.size(), 2);
    QVERIFY(Results(w).contains(kSeparator + QStringLiteral("\naah\n")));
}

void TestFrmMain::focusAfterClickIsNowhereAfterEnterStaysInEditBox() {
    TFrmMain& w = *w_;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Type(w, QStringLiteral("cat"));

    for (QPushButton* button : {b1(w), b2(w), b3(w)}) {
        tSearch(w)->setFocus();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), nullptr);
        QVERIFY(button->isEnabled());
        // Letters typed now go nowhere; Tab brings the edit box back.
        QTest::keyClick(&w, Qt::Key_X);
        QCOMPARE(tSearch(w)->text(), QStringLiteral("cat"));
        QTest::keyClick(&w, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), tSearch(w));
    }

    QTest::keyClick(tSearch(w), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), tSearch(w));
    // Alt+W runs Wild and leaves the focus where the user types.
    const int lines = w.Surface().ResultsLineCount();
    QTest::keyClick(tSearch(w), Qt::Key_W, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), tSearch(w));
    QCOMPARE(w.Surface().ResultsLineCount(), lines + 2);
    QVERIFY(Results(w).endsWith(kSeparator + QStringLiteral("\ncat\n")));
}

void TestFrmMain::alwaysOnTopKeepsStateAndResetsBarListAndPane() {
    TFrmMain& w = *w_;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.move(40, 30);
    const QPoint where = w.pos();

    cOpt(w)->SetChecked(1, true);
    cOpt(w)->SetChecked(5, true);
    Clear1(w)->trigger();
    Type(w, QStringLiteral("aeinrst"));
    QTest::mouseClick(b1(w), Qt::LeftButton);
    const QString results = Results(w);
    QCOMPARE(w.Surface().ProgressPosition(), 2);
    QCOMPARE(w.Surface().ProgressMaximum(), 2);
    cOpt(w)->setCurrentRow(7);

    mnuTop(w)->trigger();
    QVERIFY(mnuTop(w)->isChecked());
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.isVisible());
    QCOMPARE(w.pos(), where);
    QCOMPARE(Results(w), results);
    QCOMPARE(tSearch(w)->text(), QStringLiteral("aeinrst"));
    QVERIFY(Clear1(w)->isChecked());
    QCOMPARE(w.Surface().ProgressPosition(), 0);
    QCOMPARE(pbar1(w)->value(), 0);
    QCOMPARE(w.Surface().ProgressMaximum(), 2);
    QCOMPARE(cOpt(w)->currentRow(), 0);
    for (int i = 0; i < 14; ++i) QCOMPARE(cOpt(w)->GetChecked(i), i == 1 || i == 5);
    QCOMPARE(mResults(w)->verticalScrollBar()->value(), 0);
    QCOMPARE(mResults(w)->textCursor().position(), 0);

    mnuTop(w)->trigger();
    QVERIFY(!mnuTop(w)->isChecked());
    QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(w.isVisible());
    QCOMPARE(Results(w), results);
    for (int i = 0; i < 14; ++i) QCOMPARE(cOpt(w)->GetChecked(i), i == 1 || i == 5);
}

void TestFrmMain::progressBarClampsAndRejectsNegativeMaximum() {
    TFrmMain& w = *w_;
    w.Surface().ProgressSetMaximum(5);
    w.Surface().ProgressSetPosition(9);
    QCOMPARE(w.Surface().ProgressPosition(), 5);
    QCOMPARE(pbar1(w)->value(), pbar1(w)->maximum());
    w.Surface().ProgressSetPosition(-3);
    QCOMPARE(w.Surface().ProgressPosition(), 0);
    // An empty range draws an empty bar, not a busy one.
    w.Surface().ProgressSetMaximum(0);
    QVERIFY(pbar1(w)->maximum() > pbar1(w)->minimum());
    QCOMPARE(pbar1(w)->value(), 0);
    try {
        w.Surface().ProgressSetMaximum(-1);
        QFAIL("a negative maximum was accepted");
    } catch (const lexigrove::PropertyOutOfRange& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("QProgressBar property out of range"));
    }
    QCOMPARE(w.Surface().ProgressMaximum(), 0);
}

void TestFrmMain::formDestroyReleasesTheCachedLists() {
    TFrmMain& w = *w_;
    CheckAll(w);
    Type(w, QStringLiteral("cats"));
    QTest::mouseClick(b1(w), Qt::LeftButton);
    for (int length = 2; length <= 4; ++length) QVERIFY(w.Cache().Peek(length) != nullptr);
    QVERIFY(w.Cache().Peek(5) == nullptr);
    w.FormDestroy(&w);
    for (int length = 0; length < lexigrove::WordListCache::kSlots; ++length)
        QVERIFY(w.Cache().Peek(length) == nullptr);
}

void TestFrmMain::errorTextAddsFullStopOnlyAfterLettersAndTheLike() {
    const auto text = [](auto error) { return lexigrove::LexigroveApp::ErrorText(std::make_exception_ptr(error)); };
    QCOMPARE(text(std::bad_alloc()), QStringLiteral("Out of memory."));
    QCOMPARE(text(std::runtime_error("Out of memory")), QStringLiteral("Out of memory."));
    QCOMPARE(text(std::runtime_error("List 7 damaged")), QStringLiteral("List 7 damaged."));
    QCOMPARE(text(std::runtime_error("Wrong (2)")), QStringLiteral("Wrong (2)"));
    QCOMPARE(text(std::runtime_error("Done.")), QStringLiteral("Done."));
    QCOMPARE(text(std::runtime_error("Stop!")), QStringLiteral("Stop!"));
    QCOMPARE(text(std::runtime_error("a, b,")), QStringLiteral("a, b,"));
    QCOMPARE(text(std::runtime_error("trailing ")), QStringLiteral("trailing "));
    QCOMPARE(text(std::runtime_error("")), QString());
    QCOMPARE(text(std::runtime_error("caf\xc3\xa9")), QStringLiteral("caf\u00e9."));
    QCOMPARE(text(42), QStringLiteral("Unexpected error."));
}

void TestFrmMain::failingHandlerShowsErrorBoxAndLoopGoesOn() {
    // Every list fails to load, as if memory ran out or the data broke.
    for (const std::function<lexigrove::WordList(int)>& loader :
         {std::function<lexigrove::WordList(int)>([](int) -> lexigrove::WordList { throw std::bad_alloc(); }),
          std::function<lexigrove::WordList(int)>(
              [](int) -> lexigrove::WordList { throw std::runtime_error("List damaged"); })}) {
        TFrmMain w(nullptr, loader);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.Surface().ResultsAppend("before");
        CheckAll(w);
        Type(w, QStringLiteral("CAT"));

        BoxSeen seen;
        AnswerNextBox(&seen);
        QTest::mouseClick(b1(w), Qt::LeftButton);
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("Lexigrove"));
        QVERIFY(seen.text == QStringLiteral("Out of memory.") || seen.text == QStringLiteral("List damaged."));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttonCount, 1);
        QVERIFY(seen.applicationModal);

        // The window stays as the handler left it, and works on.
        QCOMPARE(Results(w), QStringLiteral("before\n") + kSeparator + QStringLiteral("\n"));
        QCOMPARE(tSearch(w)->text(), QStringLiteral("cat"));
        QVERIFY(b1(w)->isEnabled() && b2(w)->isEnabled() && b3(w)->isEnabled());
        QTest::mouseClick(b3(w), Qt::LeftButton);
        QVERIFY(Results(w).endsWith(QStringLiteral("cat - Found\n")));
        // The pane is not left holding back appends.
        w.Surface().ResultsAppend("after");
        QVERIFY(Results(w).endsWith(QStringLiteral("after\n")));
    }
}

// The Options menu items tell a screen reader that they carry a mark and
// whether it is set; their action works the item as a click does.
void TestFrmMain::optionsMenuMarksReachScreenReaders() {
    TFrmMain& w = *w_;
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(options1(w));
    QCOMPARE(menu->childCount(), 2);
    for (QAction* action : {mnuTop(w), Clear1(w)}) {
        const int index = static_cast<int>(options1(w)->actions().indexOf(action));
        QAccessibleInterface* item = menu->child(index);
        QVERIFY(item);
        QCOMPARE(item->object(), action);
        QCOMPARE(item->role(), QAccessible::MenuItem);
        QCOMPARE(item->parent(), menu);
        QCOMPARE(menu->indexOfChild(item), index);
        QCOMPARE(item->text(QAccessible::Name), QString(action->text()).remove(QLatin1Char('&')));
        QVERIFY(item->state().checkable);
        QVERIFY(!item->state().checked);
        item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(action->isChecked());
        QVERIFY(item->state().checked);
        item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(!item->state().checked);
    }
    // the other items are Qt's own
    QAccessibleInterface* exit = QAccessible::queryAccessibleInterface(Search1(w))->child(2);
    QCOMPARE(exit->text(QAccessible::Name), QStringLiteral("Exit"));
    QVERIFY(!exit->state().checkable);
}

// Keys reach what Tab passes by when no screen reader runs: Alt+L the
// lengths, where Space then ticks, Alt+K and Alt+N tick and untick them
// all, Alt+R the results pane, Alt+T clears; the buttons' keys leave the
// focus where it was. Each control's tooltip names its key.
void TestFrmMain::keysReachTheControlsTabPassesBy() {
    TFrmMain& w = *w_;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    QTest::keyClick(tSearch(w), Qt::Key_L, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), cOpt(w));
    QCOMPARE(cOpt(w)->ItemIndex(), 0);
    QTest::keyClick(cOpt(w), Qt::Key_Down);
    QTest::keyClick(cOpt(w), Qt::Key_Space);
    QVERIFY(!cOpt(w)->GetChecked(0));
    QVERIFY(cOpt(w)->GetChecked(1));

    QTest::keyClick(cOpt(w), Qt::Key_K, Qt::AltModifier);
    for (int i = 0; i < cOpt(w)->count(); ++i) QVERIFY(cOpt(w)->GetChecked(i));
    QTest::keyClick(cOpt(w), Qt::Key_N, Qt::AltModifier);
    for (int i = 0; i < cOpt(w)->count(); ++i) QVERIFY(!cOpt(w)->GetChecked(i));
    QCOMPARE(QApplication::focusWidget(), cOpt(w));

    tSearch(w)->setText(QStringLiteral("cat"));
    mResults(w)->setPlainText(QStringLiteral("kept\n"));
    QTest::keyClick(cOpt(w), Qt::Key_R, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), mResults(w));
    QVERIFY(mResults(w)->textCursor().hasSelection() == false && Results(w) == QStringLiteral("kept\n"));
    QTest::keyClick(mResults(w), Qt::Key_T, Qt::AltModifier);
    QVERIFY(Results(w).isEmpty());
    QVERIFY(tSearch(w)->text().isEmpty());

    const std::pair<QWidget*, const char*> keys[] = {
        {b1(w), "Alt+U"},     {b2(w), "Alt+W"},       {b3(w), "Alt+E"},     {cOpt(w), "Alt+L"},
        {bCheck(w), "Alt+K"}, {bUncheck(w), "Alt+N"}, {bClear(w), "Alt+T"}, {mResults(w), "Alt+R"}};
    for (const auto& [control, key] : keys)
        QVERIFY2(control->toolTip().contains(QLatin1String(key)), qPrintable(control->objectName()));
    QVERIFY(b1(w)->toolTip().contains(QLatin1String("none is ticked at start")));
}

// While a screen reader runs, Tab goes on from the search buttons through
// the lengths (a row at a time), Check All, Uncheck All, the results pane
// and Clear text; once it stops, the window's own chain is back.
void TestFrmMain::withAScreenReaderTabReachesEveryControl() {
    TFrmMain& w = *w_;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QAccessible::setActive(true);

    const QWidget* expected[] = {b1(w),       b2(w),       b3(w),     cOpt(w),   bCheck(w),
                                 bUncheck(w), mResults(w), bClear(w), tSearch(w)};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (int rows = 0; QApplication::focusWidget() == cOpt(w) && next != cOpt(w) && rows < 20; ++rows)
            QTest::keyClick(cOpt(w), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }

    QAccessible::setActive(false);
    for (const QWidget* next : std::initializer_list<const QWidget*>{b1(w), b2(w), b3(w), tSearch(w)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

// A screen reader hears, on the control that has the focus (or the button
// that had it), how many words each search found, that none was found and
// why, or the Exact line; nothing after the empty-text message, which it
// reads itself. Once the focus moves on, the control's own description
// comes back.
void TestFrmMain::eachSearchTellsAScreenReaderWhatItFound() {
    struct Heard {
        QObject* object;
        QString text;
    };
    std::vector<Heard> heard;
    const lexigrove::Announcer previous =
        lexigrove::SetAnnouncer([&heard](QAccessibleInterface* item, const QString& text) {
            heard.push_back({item->object(), text});
        });
    TFrmMain& w = *w_;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto last = [&heard] { return heard.empty() ? Heard{} : heard.back(); };

    Type(w, QStringLiteral("tea"));
    QTest::keyClick(tSearch(w), Qt::Key_Return);
    QCOMPARE(last().object, tSearch(w));
    QCOMPARE(last().text, QStringLiteral("No words found: no word length is ticked; Alt+L goes to them"));

    cOpt(w)->SetChecked(1, true);
    Clear1(w)->trigger();
    QTest::keyClick(tSearch(w), Qt::Key_Return);
    const int found = static_cast<int>(Results(w).count(QLatin1Char('\n')));
    QVERIFY(found > 1);
    QCOMPARE(last().text, QStringLiteral("%1 words found").arg(found));
    QTest::keyClick(tSearch(w), Qt::Key_E, Qt::AltModifier);
    QCOMPARE(last().text, QStringLiteral("tea - Found"));

    QTest::mouseClick(b2(w), Qt::LeftButton);
    QCOMPARE(last().object, b2(w));
    QCOMPARE(last().text, QStringLiteral("1 word found"));

    const std::size_t before = heard.size();
    tSearch(w)->clear();
    BoxSeen seen;
    AnswerNextBox(&seen);
    QTest::mouseClick(b1(w), Qt::LeftButton);
    QVERIFY(seen.shown);
    // (the controls' own descriptions may come back meanwhile)
    for (std::size_t i = before; i < heard.size(); ++i) QVERIFY(!heard[i].text.contains(QLatin1String("found")));

    tSearch(w)->setFocus();
    QTRY_COMPARE(last().object, b2(w));
    QCOMPARE(last().text, b2(w)->toolTip());
    lexigrove::SetAnnouncer(previous);
}

int main(int argc, char** argv) {
    lexigrove::LexigroveApp app(argc, argv);
    // Windows close in these tests without ending them.
    QApplication::setQuitOnLastWindowClosed(false);
    TestFrmMain test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_FrmMain1.moc"
