#include "builder/relay_listing.h"

#include "builder_texts.h"

#include <QTest>

class TestRelayListing : public QObject
{
    Q_OBJECT

private slots:
    void listsRelayCommands_data();
    void listsRelayCommands();
};

void TestRelayListing::listsRelayCommands_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("device");
    QTest::addColumn<QByteArray>("listing");

    QTest::newRow("device 1") << 8 << 6 << 0 << 1 << expected::relayListing("08 06 00", "01");
    QTest::newRow("device 10") << 8 << 6 << 0 << 10 << expected::relayListing("08 06 00", "0A");
    QTest::newRow("device 15") << 8 << 6 << 0 << 15 << expected::relayListing("08 06 00", "0F");
    // Only the per-relay lines follow the form; the all-relay lines keep 08 06 00.
    QTest::newRow("baud 03 and format 0A")
        << 8 << 3 << 10 << 12 << expected::relayListing("08 03 0A", "0C");
}

void TestRelayListing::listsRelayCommands()
{
    QFETCH(int, port);
    QFETCH(int, baud);
    QFETCH(int, format);
    QFETCH(int, device);
    QFETCH(QByteArray, listing);

    const QByteArray text = cordanex::BuildRelayListing(port, baud, format, device);
    QCOMPARE(text, listing);
    QCOMPARE(text.count("\r\n"), 22);
    QVERIFY(text.endsWith("\r\n"));
}

QTEST_APPLESS_MAIN(TestRelayListing)

#include "tst_relay_listing.moc"
