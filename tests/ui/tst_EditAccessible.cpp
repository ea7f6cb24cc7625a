// The edit box as a screen reader reads it: words, characters and the line
// at, before and after an offset, the end of the text included, attribute
// runs, and edits made through the reader.
#include <QAccessible>
#include <QTest>

#include <memory>

#include "SearchEdit.h"

namespace {

struct Piece {
    QString text;
    int start;
    int end;
};

enum class Where { At, Before, After };

Piece Ask(QAccessibleTextInterface* text, Where where, int offset, QAccessible::TextBoundaryType type) {
    Piece piece{{}, -7, -7};
    switch (where) {
        case Where::At:
            piece.text = text->textAtOffset(offset, type, &piece.start, &piece.end);
            break;
        case Where::Before:
            piece.text = text->textBeforeOffset(offset, type, &piece.start, &piece.end);
            break;
        case Where::After:
            piece.text = text->textAfterOffset(offset, type, &piece.start, &piece.end);
            break;
    }
    return piece;
}

}  // namespace

class TestEditAccessible : public QObject {
    Q_OBJECT

private slots:
    void init() {
        edit_ = std::make_unique<lexigrove::SearchEdit>();
        edit_->setAccessibleName(QStringLiteral("Letters or pattern"));
    }
    void cleanup() { edit_.reset(); }

    void piecesAtBeforeAndAfter_data();
    void piecesAtBeforeAndAfter();
    void roleValueAndOneAttributeRunOverTheText();
    void editsThroughTheReaderKeepTheFirstLineAndUndo();

private:
    QAccessibleTextInterface* Text() {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(edit_.get());
        return box != nullptr ? box->textInterface() : nullptr;
    }

    std::unique_ptr<lexigrove::SearchEdit> edit_;
};

void TestEditAccessible::piecesAtBeforeAndAfter_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("where");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");

    const int at = static_cast<int>(Where::At);
    const int before = static_cast<int>(Where::Before);
    const int after = static_cast<int>(Where::After);
    const int word = QAccessible::WordBoundary;
    const int character = QAccessible::CharBoundary;
    const int line = QAccessible::LineBoundary;
    const QString tea = QStringLiteral("tea");
    const QString teaCup = QStringLiteral("tea cup");
    // At the end of the text (where the caret is after typing): the word
    // that ends there, no character, the whole line.
    QTest::newRow("word at the end") << tea << at << 3 << word << tea << 0 << 3;
    QTest::newRow("word at -1, the end") << tea << at << -1 << word << tea << 0 << 3;
    QTest::newRow("word at the caret") << tea << at << -2 << word << tea << 0 << 3;
    QTest::newRow("character at the end") << tea << at << 3 << character << QString() << 3 << 3;
    QTest::newRow("line at the end") << tea << at << 3 << line << tea << 0 << 3;
    QTest::newRow("word before the end") << tea << before << 3 << word << tea << 0 << 3;
    QTest::newRow("character before the end") << tea << before << 3 << character << QStringLiteral("a") << 2 << 3;
    QTest::newRow("nothing after the end") << tea << after << 3 << word << QString() << -1 << -1;
    QTest::newRow("word in an empty box") << QString() << at << 0 << word << QString() << 0 << 0;
    QTest::newRow("beyond the end") << tea << at << 4 << word << QString() << -1 << -1;
    // Inside the text.
    QTest::newRow("first word") << teaCup << at << 1 << word << tea << 0 << 3;
    QTest::newRow("last word from its start") << teaCup << at << 4 << word << QStringLiteral("cup") << 4 << 7;
    QTest::newRow("last word at the end") << teaCup << at << 7 << word << QStringLiteral("cup") << 4 << 7;
    QTest::newRow("before the last word") << teaCup << before << 4 << word << QStringLiteral(" ") << 3 << 4;
    QTest::newRow("after the first word") << teaCup << after << 0 << word << QStringLiteral(" ") << 3 << 4;
    QTest::newRow("nothing before the start") << teaCup << before << 0 << word << QString() << -1 << -1;
    QTest::newRow("character with its accent")
        << QStringLiteral("ce\u0301t") << at << 1 << character << QStringLiteral("e\u0301") << 1 << 3;
}

void TestEditAccessible::piecesAtBeforeAndAfter() {
    QFETCH(QString, content);
    QFETCH(int, where);
    QFETCH(int, offset);
    QFETCH(int, type);
    edit_->setText(content);
    QAccessibleTextInterface* text = Text();
    QVERIFY(text != nullptr);
    const Piece piece = Ask(text, static_cast<Where>(where), offset, static_cast<QAccessible::TextBoundaryType>(type));
    QTEST(piece.text, "text");
    QTEST(piece.start, "start");
    QTEST(piece.end, "end");
}

void TestEditAccessible::roleValueAndOneAttributeRunOverTheText() {
    edit_->setText(QStringLiteral("tea"));
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(edit_.get());
    QCOMPARE(box->role(), QAccessible::EditableText);
    QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Letters or pattern"));
    QCOMPARE(box->text(QAccessible::Value), QStringLiteral("tea"));
    QVERIFY(box->state().editable && box->state().selectableText);
    QCOMPARE(box->textInterface()->characterCount(), 3);
    // Characters stand side by side from the box's left, wherever the
    // caret is.
    edit_->resize(200, 24);
    edit_->show();
    QVERIFY(QTest::qWaitForWindowExposed(edit_.get()));
    for (int caret : {0, 3}) {
        edit_->setCursorPosition(caret);
        const QRect first = box->textInterface()->characterRect(0);
        const QRect second = box->textInterface()->characterRect(1);
        QVERIFY(first.width() > 0 && second.width() > 0);
        QVERIFY(qAbs(second.left() - first.right() - 1) <= 1);  // advances are rounded
        QVERIFY(edit_->rect().contains(edit_->mapFromGlobal(first.topLeft())));
    }
    // A reader walks the runs from offset to run end: every run must end
    // after its offset, or the reader stops short of the last letter.
    for (int offset : {0, 2, 3}) {
        int start = -7;
        int end = -7;
        box->textInterface()->attributes(offset, &start, &end);
        QCOMPARE(start, 0);
        QCOMPARE(end, 3);
    }
}

void TestEditAccessible::editsThroughTheReaderKeepTheFirstLineAndUndo() {
    edit_->setText(QStringLiteral("tea"));
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(edit_.get());
    QAccessibleEditableTextInterface* editable = box->editableTextInterface();
    QVERIFY(editable != nullptr);
    editable->insertText(3, QStringLiteral("s"));
    QCOMPARE(edit_->text(), QStringLiteral("teas"));
    editable->replaceText(0, 1, QStringLiteral("p"));
    QCOMPARE(edit_->text(), QStringLiteral("peas"));
    editable->deleteText(3, 4);
    QCOMPARE(edit_->text(), QStringLiteral("pea"));
    edit_->undo();
    QCOMPARE(edit_->text(), QStringLiteral("peas"));
    // Out of range: nothing changes.
    editable->deleteText(2, 9);
    QCOMPARE(edit_->text(), QStringLiteral("peas"));
}

QTEST_MAIN(TestEditAccessible)
#include "tst_EditAccessible.moc"
