#include "gbk/gbk_text.h"

#include <QTest>

class TestGbkText : public QObject
{
    Q_OBJECT

private slots:
    void conversionRoundTrip_data();
    void conversionRoundTrip();
    void editorLineBreaks();
    void characterSizeNeverPassesTheEnd();
    void removeAllSpaces_data();
    void removeAllSpaces();
    void trimSpaces_data();
    void trimSpaces();
};

void TestGbkText::conversionRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ascii") << QStringLiteral("Power 0A") << QByteArray("Power 0A");
    QTest::newRow("chinese character") << QStringLiteral("中") << QByteArray("\xD6\xD0");
    QTest::newRow("full-width space") << QStringLiteral("\u3000") << QByteArray("\xA1\xA1");
    QTest::newRow("mixed") << QStringLiteral("按键A") << QByteArray("\xB0\xB4\xBC\xFC" "A");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestGbkText::conversionRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(gbk::fromUnicode(text), bytes);
    QCOMPARE(gbk::toUnicode(bytes), text);
}

void TestGbkText::editorLineBreaks()
{
    QCOMPARE(gbk::fromEditorText(QStringLiteral("12\n34\n")), QByteArray("12\r\n34\r\n"));
    QCOMPARE(gbk::toEditorText(QByteArray("12\r\n34")), QStringLiteral("12\n34"));
    // A bare CR or LF in the bytes is not a CR LF pair and stays as it is.
    QCOMPARE(gbk::toEditorText(QByteArray("a\rb")), QStringLiteral("a\rb"));
}

void TestGbkText::characterSizeNeverPassesTheEnd()
{
    const QByteArray text("A\xD6\xD0\xD6");
    QCOMPARE(gbk::characterSize(text, 0), 1);
    QCOMPARE(gbk::characterSize(text, 1), 2);
    QCOMPARE(gbk::characterSize(text, 3), 1); // a lone lead byte at the end
}

void TestGbkText::removeAllSpaces_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("ascii spaces everywhere") << QByteArray(" 12 ab 3 ") << QByteArray("12ab3");
    QTest::newRow("full-width spaces") << QByteArray("12\xA1\xA1" "34\xA1\xA1")
                                       << QByteArray("1234");
    QTest::newRow("tab and line break stay") << QByteArray("1\t2\r\n3") << QByteArray("1\t2\r\n3");
    // "\xB0\xA1" is one character whose second byte is A1: the A1 that follows it does not
    // pair with that second byte into a full-width space.
    QTest::newRow("A1 A1 across a character boundary")
        << QByteArray("\xB0\xA1\xA1" "A") << QByteArray("\xB0\xA1\xA1" "A");
    // A character whose second byte is 20 keeps that byte.
    QTest::newRow("second byte 20") << QByteArray("\x81\x20 x") << QByteArray("\x81\x20x");
    QTest::newRow("lone lead byte at the end") << QByteArray("1 \xA1") << QByteArray("1\xA1");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestGbkText::removeAllSpaces()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(gbk::RemoveAllSpaces(text), expected);
}

void TestGbkText::trimSpaces_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("ascii both ends") << QByteArray("  0A1B  ") << QByteArray("0A1B");
    QTest::newRow("inner spaces kept") << QByteArray(" T V ") << QByteArray("T V");
    QTest::newRow("full-width both ends") << QByteArray("\xA1\xA1TV\xA1\xA1")
                                          << QByteArray("TV");
    QTest::newRow("only spaces") << QByteArray(" \xA1\xA1 ") << QByteArray();
    QTest::newRow("second byte A1 is not a trailing space")
        << QByteArray("\xB0\xA1\xA1") << QByteArray("\xB0\xA1\xA1");
    QTest::newRow("lone lead byte at the end") << QByteArray(" a\xA1") << QByteArray("a\xA1");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestGbkText::trimSpaces()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(gbk::TrimSpaces(text), expected);
}

QTEST_APPLESS_MAIN(TestGbkText)
#include "tst_gbk_text.moc"
