// The host simulator as a client of it sees it: the integration tests lean on its answers, so
// its options are checked here on a loopback port of its own choosing.

#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>

class TestHostsim : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void rejectsBadArguments();
};

void TestHostsim::answers_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("replyBytes");
    QTest::addColumn<bool>("closes");

    const QByteArray frame("\xE5\x12\x34", 3);
    QTest::newRow("channel frame acknowledged") << QStringList() << frame << 1 << false;
    QTest::newRow("learn start gives the code")
        << QStringList() << QByteArray("\xE0", 1) << 48 << false;
    QTest::newRow("no acknowledgement, then closed")
        << QStringList{QStringLiteral("--no-ack"), QStringLiteral("--close-after-frame")} << frame
        << 0 << true;
    QTest::newRow("acknowledged, then closed")
        << QStringList{QStringLiteral("--close-after-frame")} << frame << 1 << true;
    QTest::newRow("flood instead of the code")
        << QStringList{QStringLiteral("--flood"), QStringLiteral("100000")} << QByteArray("\xE0", 1)
        << 100000 << false;
}

void TestHostsim::answers()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, command);
    QFETCH(int, replyBytes);
    QFETCH(bool, closes);

    QProcess simulator;
    simulator.start(QStringLiteral(HOSTSIM_PATH),
                    QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                                QStringLiteral("--port"), QStringLiteral("0"),
                                QStringLiteral("--learn-delay"), QStringLiteral("10")} +
                        options);
    QVERIFY(simulator.waitForStarted());
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QString log;
    QTRY_VERIFY((log += QString::fromUtf8(simulator.readAllStandardOutput()),
                 listening.match(log).hasMatch()));

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost,
                         quint16(listening.match(log).captured(1).toUInt()));
    QVERIFY(client.waitForConnected(5000));
    QByteArray reply;
    connect(&client, &QTcpSocket::readyRead, &client, [&] { reply += client.readAll(); });
    client.write(command);

    if (closes)
        QTRY_COMPARE(client.state(), QAbstractSocket::UnconnectedState);
    QTRY_COMPARE(reply.size(), replyBytes);
    if (replyBytes == 1)
        QCOMPARE(reply, QByteArray(1, '\0'));
    if (!closes) {
        QCOMPARE(client.state(), QAbstractSocket::ConnectedState);
        // The simulator logs what it got, as spaced hex.
        QTRY_VERIFY((log += QString::fromUtf8(simulator.readAllStandardOutput()),
                     log.contains(QStringLiteral("received ") +
                                  QString::fromLatin1(command.toHex(' ').toUpper()))));
    }
    simulator.kill();
    simulator.waitForFinished();
}

void TestHostsim::rejectsBadArguments()
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--port"), QStringLiteral("70000")},
          QStringList{QStringLiteral("--listen"), QStringLiteral("not-an-address")},
          QStringList{QStringLiteral("--flood"), QStringLiteral("0")}}) {
        QProcess simulator;
        simulator.start(QStringLiteral(HOSTSIM_PATH), arguments);
        QVERIFY(simulator.waitForFinished(5000));
        QCOMPARE(simulator.exitCode(), 2);
    }
}

QTEST_GUILESS_MAIN(TestHostsim)
#include "tst_hostsim.moc"
