// The edit box's text as the engine reads it: one byte per character the
// user sees, and the characters outside ASCII put back afterwards.
#include <QTest>

#include <cctype>
#include <string>

#include "TypedText.h"

using lexigrove::TypedText;

class TestTypedText : public QObject {
    Q_OBJECT

private slots:
    void oneBytePerCharacterTheUserSees_data();
    void oneBytePerCharacterTheUserSees();
    void restorePutsBackWhatWasTypedWhereverItStands();
};

void TestTypedText::oneBytePerCharacterTheUserSees_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray other(1, TypedText::kOther);
    QTest::newRow("ASCII as it is") << QStringLiteral("Gr?ve") << QByteArray("Gr?ve");
    QTest::newRow("letter with its accent in one code point")
        << QStringLiteral("caf\u00E9") << QByteArray("caf") + other;
    QTest::newRow("letter and a combining accent") << QStringLiteral("cafe\u0301") << QByteArray("caf") + other;
    QTest::newRow("surrogate pair") << QStringLiteral("a\U0001F600b") << QByteArray("a") + other + "b";
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("at") << other + "at";
    QTest::newRow("beyond Latin-1") << QStringLiteral("\u4E2D?") << other + "?";
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestTypedText::oneBytePerCharacterTheUserSees() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    TypedText text;
    const std::string read = text.Read(typed);
    QCOMPARE(QByteArray::fromStdString(read), bytes);
    // A character outside ASCII is never a letter and never a wildcard.
    for (const char byte : read)
        if (static_cast<unsigned char>(byte) >= 0x80) QVERIFY(!std::isalpha(static_cast<unsigned char>(byte)));
    QCOMPARE(text.Restore(read), typed);
}

void TestTypedText::restorePutsBackWhatWasTypedWhereverItStands() {
    TypedText text;
    const std::string read = text.Read(QStringLiteral("\u00C9e\u0301T?\U0001F600\u00DF"));
    QCOMPARE(read.size(), std::size_t(6));

    // The search lowercases A to Z and writes the text back.
    std::string lowered = read;
    lowered[2] = 't';
    QCOMPARE(text.Restore(lowered), QStringLiteral("\u00C9e\u0301t?\U0001F600\u00DF"));
    // A result line that repeats the text.
    QCOMPARE(text.Restore(lowered + " - Not Found"), QStringLiteral("\u00C9e\u0301t?\U0001F600\u00DF - Not Found"));
    // More bytes outside ASCII than were read stand for nothing typed.
    QCOMPARE(text.Restore(read + TypedText::kOther), QStringLiteral("\u00C9e\u0301T?\U0001F600\u00DF\uFFFD"));

    // A new reading forgets the old characters.
    QCOMPARE(text.Read(QStringLiteral("cat")), std::string("cat"));
    QCOMPARE(text.Restore(std::string(1, TypedText::kOther)), QStringLiteral("\uFFFD"));
}

QTEST_GUILESS_MAIN(TestTypedText)

#include "tst_TypedText.moc"
