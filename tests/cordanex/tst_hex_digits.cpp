#include "builder/hex_digits.h"

#include <QTest>

class TestHexDigits : public QObject
{
    Q_OBJECT

private slots:
    void twoHexDigits_data();
    void twoHexDigits();
};

void TestHexDigits::twoHexDigits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("zero") << 0 << QByteArray("00");
    QTest::newRow("one digit gets a leading zero") << 1 << QByteArray("01");
    QTest::newRow("upper-case letter") << 10 << QByteArray("0A");
    QTest::newRow("format code 21") << 21 << QByteArray("15");
    QTest::newRow("largest byte") << 255 << QByteArray("FF");
    QTest::newRow("three digits keep the last two") << 0x1AB << QByteArray("AB");
    QTest::newRow("256 keeps the last two of 100") << 256 << QByteArray("00");
}

void TestHexDigits::twoHexDigits()
{
    QFETCH(int, value);
    QFETCH(QByteArray, text);
    QCOMPARE(cordanex::TwoHexDigits(value), text);
}

QTEST_APPLESS_MAIN(TestHexDigits)

#include "tst_hex_digits.moc"
