#include "window/ipv4_address_edit.h"

#include <QLineEdit>
#include <QTest>

using lumetra::Ipv4AddressEdit;

class TestIpv4AddressEdit : public QObject
{
    Q_OBJECT

private slots:
    void showsWhatItCanRead_data();
    void showsWhatItCanRead();
    void typedLikeOneLine_data();
    void typedLikeOneLine();
    void backspaceAtFieldStartGoesBack();

private:
    static void typeInto(Ipv4AddressEdit &edit, const QString &typed);
};

void TestIpv4AddressEdit::showsWhatItCanRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("address");

    QTest::newRow("dotted address")
        << QStringLiteral("192.168.1.100") << QStringList{"192", "168", "1", "100"}
        << QStringLiteral("192.168.1.100");
    QTest::newRow("empty text") << QString() << QStringList{"", "", "", ""} << QString();
    QTest::newRow("leading zeros and blanks")
        << QStringLiteral(" 010.0.00.7 ") << QStringList{"10", "0", "0", "7"}
        << QStringLiteral("10.0.0.7");
    QTest::newRow("three parts") << QStringLiteral("10.1.2") << QStringList{"10", "1", "2", ""}
                                 << QStringLiteral("10.1.2.0");
    QTest::newRow("number above 255")
        << QStringLiteral("300.1.99999.4") << QStringList{"255", "1", "255", "4"}
        << QStringLiteral("255.1.255.4");
    QTest::newRow("letters") << QStringLiteral("abc") << QStringList{"", "", "", ""} << QString();
    QTest::newRow("digits before letters")
        << QStringLiteral("12ab.x.3.4.5") << QStringList{"12", "", "3", "4"}
        << QStringLiteral("12.0.3.4");
    QTest::newRow("host name") << QStringLiteral("host") << QStringList{"", "", "", ""}
                               << QString();
}

void TestIpv4AddressEdit::showsWhatItCanRead()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QFETCH(QString, address);

    Ipv4AddressEdit edit;
    edit.setAddress(QStringLiteral("1.2.3.4"));
    edit.setAddress(text);
    QStringList shown;
    for (int i = 0; i < 4; ++i)
        shown << edit.field(i)->text();
    QCOMPARE(shown, fields);
    QCOMPARE(edit.address(), address);
}

void TestIpv4AddressEdit::typedLikeOneLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("address");

    QTest::newRow("dots move on") << QStringLiteral("127.0.0.1") << QStringLiteral("127.0.0.1");
    QTest::newRow("three digits move on")
        << QStringLiteral("192168001100") << QStringLiteral("192.168.1.100");
    QTest::newRow("too large becomes 255")
        << QStringLiteral("999.1.2.3") << QStringLiteral("255.1.2.3");
    QTest::newRow("letters refused") << QStringLiteral("1a.b2.3.4") << QStringLiteral("1.2.3.4");
}

void TestIpv4AddressEdit::typeInto(Ipv4AddressEdit &edit, const QString &typed)
{
    edit.show();
    QApplication::setActiveWindow(&edit);
    QVERIFY(QTest::qWaitForWindowActive(&edit));
    edit.setFocus();
    for (const QChar c : typed)
        QTest::keyClicks(QApplication::focusWidget(), QString(c));
}

void TestIpv4AddressEdit::typedLikeOneLine()
{
    QFETCH(QString, typed);
    QFETCH(QString, address);

    Ipv4AddressEdit edit;
    typeInto(edit, typed);
    QCOMPARE(edit.address(), address);
}

void TestIpv4AddressEdit::backspaceAtFieldStartGoesBack()
{
    Ipv4AddressEdit edit;
    typeInto(edit, QStringLiteral("10.20"));
    QCOMPARE(QApplication::focusWidget(), edit.field(1));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(QApplication::focusWidget(), edit.field(0));
    QCOMPARE(edit.field(0)->text(), QStringLiteral("10"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(edit.address(), QStringLiteral("1.0.0.0"));
}

QTEST_MAIN(TestIpv4AddressEdit)
#include "tst_ipv4_address_edit.moc"
