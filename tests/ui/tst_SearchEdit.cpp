// The edit box: keys and the mouse edit as in any Qt line edit, it draws
// what a line edit draws, and a text of millions of letters stays whole
// and editable.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "SearchEdit.h"

using lexigrove::SearchEdit;

namespace {

QFont EntryFont() {
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    return font;
}

// Plays `script` on `widget`: words separated by spaces, each a key as
// QKeySequence writes it ("Ctrl+Left") or, after a colon, text to type.
void Play(QWidget* widget, const QString& script) {
    for (const QString& word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word.startsWith(QLatin1Char(':'))) {
            QTest::keyClicks(widget, word.mid(1));
        } else {
            const QKeySequence key = QKeySequence::fromString(word);
            QVERIFY2(key.count() == 1, qPrintable(word));
            QTest::keyClick(widget, key[0].key(), key[0].keyboardModifiers());
        }
    }
}

}  // namespace

class TestSearchEdit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { edit_.reset(); }
    void keysEditAsInALineEdit_data();
    void keysEditAsInALineEdit();
    void theMouseSetsTheCaretAndSelects();
    void drawsWhatALineEditDraws_data();
    void drawsWhatALineEditDraws();
    void tenMillionLettersStayWholeAndEditable();

private:
    std::unique_ptr<SearchEdit> edit_;
};

void TestSearchEdit::init() {
    edit_ = std::make_unique<SearchEdit>();
    edit_->setFont(EntryFont());
    edit_->resize(218, 21);
    edit_->show();
    edit_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(edit_.get()));
    edit_->setFocus();
}

void TestSearchEdit::keysEditAsInALineEdit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("selected");

    QTest::newRow("typing at the caret") << "tea"
                                         << "Left :x"
                                         << "texa" << 3 << "";
    QTest::newRow("a question mark ends a word step") << "ab?cd"
                                                      << "Ctrl+Left Ctrl+Left"
                                                      << "ab?cd" << 2 << "";
    QTest::newRow("word steps skip spaces") << "tea cup"
                                            << "Home Ctrl+Right"
                                            << "tea cup" << 4 << "";
    QTest::newRow("Shift+Home selects, typing replaces") << "tea"
                                                         << "Shift+Home :x"
                                                         << "x" << 1 << "";
    QTest::newRow("Left ends a selection at its start") << "tea"
                                                        << "Shift+Left Shift+Left Left"
                                                        << "tea" << 1 << "";
    QTest::newRow("Shift+Ctrl+Left selects a word") << "tea cup"
                                                    << "Shift+Ctrl+Left"
                                                    << "tea cup" << 4 << "cup";
    QTest::newRow("Backspace takes a surrogate pair") << "a\U0001F600"
                                                      << "Backspace"
                                                      << "a" << 1 << "";
    QTest::newRow("Delete takes a letter and its accent") << "ce\u0301t"
                                                          << "Home Right Delete"
                                                          << "ct" << 1 << "";
    QTest::newRow("Right steps over a letter and its accent") << "ce\u0301t"
                                                              << "Home Right Right"
                                                              << "ce\u0301t" << 3 << "";
    QTest::newRow("Ctrl+Backspace takes the word before") << "tea cup"
                                                          << "Ctrl+Backspace"
                                                          << "tea " << 4 << "";
    QTest::newRow("typed letters undo at once") << ""
                                                << ":abc Ctrl+Z"
                                                << "" << 0 << "";
    QTest::newRow("a caret move parts the undo steps") << ""
                                                       << ":ab Home :c Ctrl+Z"
                                                       << "ab" << 0 << "";
    QTest::newRow("redo puts back what undo took") << ""
                                                   << ":ab Backspace Ctrl+Z Ctrl+Shift+Z"
                                                   << "a" << 1 << "";
    QTest::newRow("Ctrl+A then Delete empties") << "tea"
                                                << "Ctrl+A Delete"
                                                << "" << 0 << "";
    QTest::newRow("cut and paste move a word") << "tea cup"
                                               << "Shift+Ctrl+Left Ctrl+X Home Ctrl+V"
                                               << "cuptea " << 3 << "";
    QTest::newRow("keys with Ctrl type nothing") << "tea"
                                                 << "Ctrl+Q"
                                                 << "tea" << 3 << "";
}

void TestSearchEdit::keysEditAsInALineEdit() {
    QFETCH(QString, text);
    QFETCH(QString, script);
    edit_->setText(text);
    Play(edit_.get(), script);
    QTEST(edit_->text(), "result");
    QTEST(edit_->cursorPosition(), "caret");
    QTEST(edit_->selectedText(), "selected");
}

void TestSearchEdit::theMouseSetsTheCaretAndSelects() {
    edit_->setText(QStringLiteral("tea cup"));
    QWindow* window = edit_->windowHandle();
    const QRect t = edit_->characterRect(1);  // the 'e'
    const QPoint onE = t.center();
    const QPoint onU = edit_->characterRect(5).topLeft() + QPoint(1, t.height() / 2);  // left of its middle

    // A click on the right half of a letter puts the caret after it.
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(t.right() - 1, t.center().y()));
    QCOMPARE(edit_->cursorPosition(), 2);
    // Dragging selects; the release offers the selection to other programs.
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(t.left(), t.center().y()));
    QTest::mouseMove(window, onU);
    QTest::mouseRelease(window, Qt::LeftButton, {}, onU);
    QCOMPARE(edit_->selectedText(), QStringLiteral("ea c"));
    // A double-click (press, release, double-click, release) selects the
    // word, a third click the whole text.
    QTest::mouseDClick(window, Qt::LeftButton, {}, onU);
    QCOMPARE(edit_->selectedText(), QStringLiteral("cup"));
    QTest::mouseClick(window, Qt::LeftButton, {}, onU);
    QCOMPARE(edit_->selectedText(), QStringLiteral("tea cup"));
    // Shift and a click stretch the selection from where it started.
    QTest::mouseClick(window, Qt::LeftButton, {}, onE);
    QTest::mouseClick(window, Qt::LeftButton, Qt::ShiftModifier, onU);
    QVERIFY(edit_->hasSelectedText());
    QCOMPARE(edit_->selectionStart(), edit_->cursorPositionAt(onE));
}

void TestSearchEdit::drawsWhatALineEditDraws_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selected");
    QTest::newRow("short") << "retains?" << 8 << 0;
    QTest::newRow("selected") << "retains?" << 2 << 3;
    QTest::newRow("scrolled to the caret at the end") << QString(60, QLatin1Char('w')) + "xyz" << 63 << 0;
    QTest::newRow("scrolled back to the caret") << "abcdefghijklmnopqrstuvwxyz0123456789abcdefghij" << 3 << 0;
    QTest::newRow("wider characters") << "\u00C9e\u0301t\U0001F600\u00DF\u4E2D\u6587" << 4 << 0;
}

void TestSearchEdit::drawsWhatALineEditDraws() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, selected);
    // Side by side in one window, so that both draw in the same colours.
    edit_.reset();
    QWidget window;
    SearchEdit edit(&window);
    QLineEdit line(&window);
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, QColor(0, 0, 255));
    for (QWidget* box : std::initializer_list<QWidget*>{&edit, &line}) {
        box->setFont(EntryFont());
        box->setPalette(palette);
        box->setFocusPolicy(Qt::NoFocus);  // no caret
    }
    edit.setGeometry(0, 0, 218, 21);
    line.setGeometry(0, 30, 218, 21);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Scrolled as typing scrolls them: to the end first, then back.
    edit.setText(text);
    line.setText(text);
    edit.grab();
    line.grab();
    edit.setCursorPosition(caret);
    line.setCursorPosition(caret);
    if (selected > 0) {
        edit.setSelection(caret, selected);
        line.setSelection(caret, selected);
    }
    const QImage ours = edit.grab().toImage();
    const QImage theirs = line.grab().toImage();
    if (ours != theirs) {
        ours.save(QStringLiteral("searchedit-ours.png"));
        theirs.save(QStringLiteral("searchedit-lineedit.png"));
    }
    QVERIFY2(ours == theirs, "the two boxes differ; see searchedit-*.png");
}

void TestSearchEdit::tenMillionLettersStayWholeAndEditable() {
    const QString letters = QString(10'000'000, QLatin1Char('a'));
    QApplication::clipboard()->setText(letters + QStringLiteral("\nnot this"));
    Play(edit_.get(), QStringLiteral("Ctrl+V"));
    QCOMPARE(edit_->text().size(), letters.size());
    // The caret stays in sight at either end, and typing goes where it is.
    const auto caretShown = [&] { return edit_->rect().intersects(edit_->cursorRect()); };
    QVERIFY(caretShown());
    Play(edit_.get(), QStringLiteral("Home :x"));
    QVERIFY(caretShown());
    Play(edit_.get(), QStringLiteral("End :yz Left Backspace"));
    QVERIFY(caretShown());
    QCOMPARE(edit_->text().size(), letters.size() + 2);
    QVERIFY(edit_->text().startsWith(QStringLiteral("xaaa")));
    QVERIFY(edit_->text().endsWith(QStringLiteral("aaaz")));
    Play(edit_.get(), QStringLiteral("Ctrl+Z Ctrl+Z"));
    QCOMPARE(edit_->text().size(), letters.size() + 1);
    QVERIFY(edit_->text().startsWith(QStringLiteral("xaaa")));
    // Select everything and copy it: nothing is lost on the way.
    QApplication::clipboard()->clear();
    Play(edit_.get(), QStringLiteral("Ctrl+A Ctrl+C"));
    QCOMPARE(QApplication::clipboard()->text().size(), letters.size() + 1);
}

QTEST_MAIN(TestSearchEdit)
#include "tst_SearchEdit.moc"
