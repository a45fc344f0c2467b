#include "codec/hex_text.h"

#include <QTest>

using namespace lumetra;

class TestHexText : public QObject
{
    Q_OBJECT

private slots:
    void hexTextToBytes_data();
    void hexTextToBytes();
    void bytesToHexText_data();
    void bytesToHexText();
    void everyByteValueRoundTrips_data();
    void everyByteValueRoundTrips();
    void codeForms_data();
    void codeForms();
};

void TestHexText::hexTextToBytes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("upper case digits") << QByteArray("0A1B2C") << QByteArray("\x0A\x1B\x2C", 3);
    QTest::newRow("lower case digits") << QByteArray("ff0a") << QByteArray("\xFF\x0A", 2);
    QTest::newRow("odd digit count drops the last") << QByteArray("123") << QByteArray("\x12", 1);
    QTest::newRow("single digit") << QByteArray("7") << QByteArray();
    QTest::newRow("letter after F counts 0") << QByteArray("12G4") << QByteArray("\x12\x04", 2);
    QTest::newRow("CR LF is a pair of value 00")
        << QByteArray("1234\r\n5678") << QByteArray("\x12\x34\x00\x56\x78", 5);
    QTest::newRow("tab and punctuation count 0")
        << QByteArray("\t1-F") << QByteArray("\x01\x0F", 2);
    QTest::newRow("spaces are not removed") << QByteArray("1 2 ") << QByteArray("\x10\x20", 2);
    QTest::newRow("Chinese character bytes count 0") << QByteArray("\xD6\xD0"
                                                                   "AB")
                                                     << QByteArray("\x00\xAB", 2);
}

void TestHexText::hexTextToBytes()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(HexTextToBytes(text), bytes);
}

void TestHexText::bytesToHexText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("single zero byte") << QByteArray(1, '\0') << QByteArray("00");
    QTest::newRow("upper case, no separator")
        << QByteArray("\x12\xAB\x00", 3) << QByteArray("12AB00");
}

void TestHexText::bytesToHexText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, text);
    QCOMPARE(BytesToHexText(bytes), text);
}

void TestHexText::everyByteValueRoundTrips_data()
{
    QTest::addColumn<int>("value");
    for (int value = 0; value < 256; ++value)
        QTest::addRow("byte %02X", value) << value;
}

void TestHexText::everyByteValueRoundTrips()
{
    QFETCH(int, value);
    static constexpr char digits[] = "0123456789ABCDEF";
    const QByteArray byte(1, static_cast<char>(value));
    const char pair[] = {digits[value >> 4], digits[value & 0x0F]};
    const QByteArray expected(pair, 2);

    QCOMPARE(BytesToHexText(byte), expected);
    QCOMPARE(HexTextToBytes(expected), byte);
    QCOMPARE(HexTextToBytes(expected.toLower()), byte);
}

void TestHexText::codeForms_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("escaped");
    QTest::addColumn<QByteArray>("spaced");

    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("single character") << QByteArray("E") << QByteArray() << QByteArray();
    QTest::newRow("plain pairs") << QByteArray("E30A1B2C") << QByteArray("\\xE3\\x0A\\x1B\\x2C")
                                 << QByteArray("E3 0A 1B 2C");
    QTest::newRow("spaces removed, lower case kept, odd byte dropped")
        << QByteArray("E612 ab 3") << QByteArray("\\xE6\\x12\\xab") << QByteArray("E6 12 ab");
    QTest::newRow("one pair") << QByteArray("EA") << QByteArray("\\xEA") << QByteArray("EA");
    QTest::newRow("non-hex pair copied as it stands")
        << QByteArray("E412G4") << QByteArray("\\xE4\\x12\\xG4") << QByteArray("E4 12 G4");
    QTest::newRow("full-width spaces between pairs")
        << QByteArray("E3\xA1\xA1"
                      "12\xA1\xA1\xA1\xA1"
                      "34")
        << QByteArray("\\xE3\\x12\\x34") << QByteArray("E3 12 34");
    QTest::newRow("line break is a pair of its own")
        << QByteArray("E31234\r\n5678") << QByteArray("\\xE3\\x12\\x34\\x\r\n\\x56\\x78")
        << QByteArray("E3 12 34 \r\n 56 78");
    QTest::newRow("Chinese character is one pair")
        << QByteArray("E3\xD6\xD0") << QByteArray("\\xE3\\x\xD6\xD0") << QByteArray("E3 \xD6\xD0");
    // B0 A1 is one character; the A1 A1 after it is a full-width space and goes.
    QTest::newRow("A1 A1 counts as a space only on a character boundary")
        << QByteArray("\xB0\xA1\xA1\xA1"
                      "12")
        << QByteArray("\\x\xB0\xA1\\x12") << QByteArray("\xB0\xA1 12");
    QTest::newRow("tab is not a space")
        << QByteArray("1\t2") << QByteArray("\\x1\t") << QByteArray("1\t");
}

void TestHexText::codeForms()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, escaped);
    QFETCH(QByteArray, spaced);
    QCOMPARE(ToEscapedHex(text), escaped);
    QCOMPARE(ToSpacedHex(text), spaced);
}

QTEST_APPLESS_MAIN(TestHexText)
#include "tst_hex_text.moc"
