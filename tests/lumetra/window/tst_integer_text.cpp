#include "window/integer_text.h"

#include <QTest>

class TestIntegerText : public QObject
{
    Q_OBJECT

private slots:
    void textToInteger_data();
    void textToInteger();
};

void TestIntegerText::textToInteger_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("plain") << QByteArray("476") << 476;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("no digits") << QByteArray("abc") << 0;
    QTest::newRow("digits then letters") << QByteArray("800px") << 800;
    QTest::newRow("leading white space") << QByteArray(" \t 8081") << 8081;
    QTest::newRow("full-width space before") << QByteArray("\xA1\xA1" "12") << 12;
    QTest::newRow("sign") << QByteArray("-20") << -20;
    QTest::newRow("plus sign") << QByteArray("+7") << 7;
    QTest::newRow("sign alone") << QByteArray("-") << 0;
    QTest::newRow("full-width digits") << QByteArray("\xA3\xB8\xA3\xB0" "1") << 801;
    QTest::newRow("lone A3 at the end") << QByteArray("5\xA3") << 5;
    QTest::newRow("too large") << QByteArray("99999999999") << 2147483647;
    QTest::newRow("too small") << QByteArray("-99999999999") << int(-2147483648LL);
}

void TestIntegerText::textToInteger()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    QCOMPARE(lumetra::textToInteger(text), expected);
}

QTEST_APPLESS_MAIN(TestIntegerText)
#include "tst_integer_text.moc"
