// The base64 decoder: its table, the forgiving cases, and round trips
// against a plain encoder on random bytes with noise mixed in.
#include <QTest>

#include <random>
#include <string>

#include "Base64.h"

namespace {

const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// RFC 4648 encoding, the slow and obvious way: bit by bit.
std::string Encode(const std::string& bytes, bool pad) {
    std::string bits;
    for (const char c : bytes)
        for (int bit = 7; bit >= 0; --bit) bits += ((static_cast<unsigned char>(c) >> bit) & 1) != 0 ? '1' : '0';
    while (bits.size() % 6 != 0) bits += '0';
    std::string text;
    for (std::size_t i = 0; i < bits.size(); i += 6) text += kAlphabet[std::stoul(bits.substr(i, 6), nullptr, 2)];
    if (pad)
        while (text.size() % 4 != 0) text += '=';
    return text;
}

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

class TestBase64 : public QObject {
    Q_OBJECT

private slots:
    void tableMapsTheAlphabetAndNothingElse();
    void decodes_data();
    void decodes();
    void roundTripsRandomBytesThroughNoiseAndMissingPadding();
};

void TestBase64::tableMapsTheAlphabetAndNothingElse() {
    int used = 0;
    for (int code = 0; code < 256; ++code) {
        const auto at = kAlphabet.find(static_cast<char>(code));
        const int expected = code != 0 && at != std::string::npos ? static_cast<int>(at) + 1 : 0;
        QCOMPARE(static_cast<int>(lexigrove::kBase64Table[static_cast<std::size_t>(code)]), expected);
        used += expected != 0 ? 1 : 0;
    }
    QCOMPARE(used, 64);
    QCOMPARE(lexigrove::kBase64Table['A'], 1);
    QCOMPARE(lexigrove::kBase64Table['a'], 27);
    QCOMPARE(lexigrove::kBase64Table['0'], 53);
    QCOMPARE(lexigrove::kBase64Table['/'], 64);
    QCOMPARE(lexigrove::kBase64Table['='], 0);
}

void TestBase64::decodes_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("three bytes") << QByteArray("YWJj") << QByteArray("abc");
    QTest::newRow("a space inside") << QByteArray("YW Jj") << QByteArray("abc");
    QTest::newRow("three values give two bytes") << QByteArray("YWJ") << QByteArray("ab");
    QTest::newRow("a lone value gives nothing") << QByteArray("Y") << QByteArray();
    QTest::newRow("five values give three bytes") << QByteArray("YWJjZ") << QByteArray("abc");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("no alphabet character") << QByteArray("=!\r\n \x80\xff") << QByteArray();
    QTest::newRow("unpadded") << QByteArray("QQ") << QByteArray("A");
    QTest::newRow("half padded") << QByteArray("QQ=") << QByteArray("A");
    QTest::newRow("padded") << QByteArray("QQ==") << QByteArray("A");
    QTest::newRow("left-over bits are dropped") << QByteArray("QR==") << QByteArray("A");
    QTest::newRow("padding mid-text is skipped") << QByteArray("QQ==YWJj") << QByteArray("A\x06\x16&", 4);
    QTest::newRow("line breaks") << QByteArray("YWJj\r\nZGVm\n") << QByteArray("abcdef");
    QTest::newRow("top values") << QByteArray("////") << QByteArray("\xff\xff\xff");
    QTest::newRow("zero bytes") << QByteArray("AAAA") << QByteArray("\0\0\0", 3);
}

void TestBase64::decodes() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Bytes(lexigrove::Base64Decode(std::string(text.constData(), static_cast<std::size_t>(text.size())))),
             bytes);
}

void TestBase64::roundTripsRandomBytesThroughNoiseAndMissingPadding() {
    std::mt19937 random(20261207);
    std::string noise;
    for (int code = 0; code < 256; ++code)
        if (code == 0 || kAlphabet.find(static_cast<char>(code)) == std::string::npos) noise += static_cast<char>(code);

    for (int round = 0; round < 2000; ++round) {
        std::string bytes(std::uniform_int_distribution<std::size_t>(0, 300)(random), '\0');
        for (char& c : bytes) c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
        const bool pad = round % 2 == 0;
        const std::string clean = Encode(bytes, pad);
        QCOMPARE(Bytes(lexigrove::Base64Decode(clean)), Bytes(bytes));

        std::string noisy;
        for (const char c : clean) {
            while (std::uniform_int_distribution<int>(0, 7)(random) == 0)
                noisy += noise[std::uniform_int_distribution<std::size_t>(0, noise.size() - 1)(random)];
            noisy += c;
        }
        QCOMPARE(Bytes(lexigrove::Base64Decode(noisy)), Bytes(bytes));
    }
}

QTEST_APPLESS_MAIN(TestBase64)
#include "tst_AboutDlgBase64.moc"
