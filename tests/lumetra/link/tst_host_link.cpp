#include "link/host_link.h"
#include "link_test_support.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <memory>

using lumetra::HostLink;
using lumetra::test::HangingListener;
using lumetra::test::ScriptedPinger;
using State = HostLink::State;

namespace {

// Long enough that no tick comes from the timer during a test: ticks are run by hand.
constexpr int handDrivenPeriod = 600000;
constexpr int attemptTimeoutMs = 15000;

const QString host = QStringLiteral("127.0.0.1");
const QString connectingText = QStringLiteral("状态：正在链接127.0.0.1主机...");
const QString connectedText = QStringLiteral("状态：连接主机127.0.0.1成功！");
const QString disconnectedText = QStringLiteral("状态：127.0.0.1主机离线");
const QString offlineText = QStringLiteral("状态：主机127.0.0.1离线");

QString failedText(const QString &address)
{
    return QStringLiteral("状态：连接主机") + address + QStringLiteral("失败！请检查IP和端口号。");
}

// A link as the window sets it up, with the address and port texts a test can change.
struct LinkFixture
{
    explicit LinkFixture(int period = handDrivenPeriod)
        : pinger(std::make_shared<ScriptedPinger>())
        , link(std::make_unique<HostLink>(pinger, period))
        , statusSpy(link.get(), &HostLink::statusTextChanged)
    {
        link->setEndpointSource([this] { return address; }, [this] { return portText; });
    }

    QString status() const
    {
        return statusSpy.isEmpty() ? QString() : statusSpy.last().first().toString();
    }
    QTimer *timer() const
    {
        return link->findChild<QTimer *>(QStringLiteral("livenessTimer"),
                                         Qt::FindDirectChildrenOnly);
    }

    std::shared_ptr<ScriptedPinger> pinger;
    std::unique_ptr<HostLink> link;
    QSignalSpy statusSpy;
    QString address = host;
    QByteArray portText;
};

} // namespace

class TestHostLink : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void connectsAndCarriesRawBytes();
    void failedConnect_data();
    void failedConnect();
    void clickDuringAttemptDisconnectsAndAttemptStillReports();
    void hostClosingOnlyChangesState();
    void offlineAfterThirdCountedFailure_data();
    void offlineAfterThirdCountedFailure();
    void failureCountSurvivesDisconnectAndReconnect();
    void ticksGoOnAfterManualDisconnect();
    void timerDrivesTicksUntilOffline();
    void samePeriodKeepsTimerRunning();
    void tickDuringAttemptRunsAfterItWithoutBlocking();
    void linkGoneDuringAttempt_data();
    void linkGoneDuringAttempt();

private:
    // Connects the fixture's link to m_server and returns the host's side of the connection.
    QTcpSocket *connectToServer(LinkFixture &fixture);

    std::unique_ptr<QTcpServer> m_server;
};

void TestHostLink::init()
{
    m_server = std::make_unique<QTcpServer>();
    QVERIFY(m_server->listen(QHostAddress::LocalHost));
}

void TestHostLink::cleanup()
{
    m_server.reset();
    // No worker of one test may run into the next.
    QTRY_COMPARE_WITH_TIMEOUT(HostLink::runningConnectWorkers(), 0, attemptTimeoutMs);
}

QTcpSocket *TestHostLink::connectToServer(LinkFixture &fixture)
{
    fixture.portText = QByteArray::number(m_server->serverPort());
    fixture.link->toggleConnection();
    if (!QTest::qWaitFor([&] { return fixture.link->state() != State::Connecting; },
                         attemptTimeoutMs) ||
        fixture.link->state() != State::Connected)
        return nullptr;
    if (!m_server->hasPendingConnections() && !m_server->waitForNewConnection(attemptTimeoutMs))
        return nullptr;
    return m_server->nextPendingConnection();
}

void TestHostLink::connectsAndCarriesRawBytes()
{
    LinkFixture fixture;
    QSignalSpy stateSpy(fixture.link.get(), &HostLink::stateChanged);
    QVERIFY(!fixture.link->send(QByteArrayLiteral("\xE0")));

    fixture.portText = QByteArray::number(m_server->serverPort());
    fixture.link->toggleConnection();
    QCOMPARE(fixture.link->state(), State::Connecting);
    QCOMPARE(HostLink::caption(fixture.link->state()), QStringLiteral("连接中"));
    QCOMPARE(fixture.status(), connectingText);
    QCOMPARE(fixture.link->livenessPeriod(), 0);

    QTRY_COMPARE_WITH_TIMEOUT(fixture.link->state(), State::Connected, attemptTimeoutMs);
    QCOMPARE(HostLink::caption(State::Connected), QStringLiteral("断 开"));
    QCOMPARE(stateSpy.size(), 2);
    QCOMPARE(fixture.status(), connectedText);
    QCOMPARE(fixture.link->livenessPeriod(), handDrivenPeriod);
    QVERIFY(fixture.timer()->isActive());

    QVERIFY(m_server->hasPendingConnections() || m_server->waitForNewConnection(attemptTimeoutMs));
    std::unique_ptr<QTcpSocket> hostSide(m_server->nextPendingConnection());

    // Every byte value goes out as it is, without framing.
    QByteArray frame;
    for (int value = 0; value < 256; ++value)
        frame.append(char(value));
    QVERIFY(fixture.link->send(frame));
    QByteArray received;
    QTRY_VERIFY((received += hostSide->readAll()).size() >= frame.size());
    QCOMPARE(received, frame);

    // The host's bytes arrive as runs of at least one byte that join up to what it sent.
    QSignalSpy arrivals(fixture.link.get(), &HostLink::dataArrived);
    const QByteArray reply = QByteArrayLiteral("\x12\xAB\x00\x01");
    for (qsizetype i = 0; i < reply.size(); ++i) {
        hostSide->write(reply.mid(i, 1));
        hostSide->flush();
    }
    QByteArray joined;
    QTRY_VERIFY([&] {
        joined.clear();
        for (const QList<QVariant> &arrival : arrivals)
            joined += arrival.first().toByteArray();
        return joined.size() >= reply.size();
    }());
    QCOMPARE(joined, reply);
    for (const QList<QVariant> &arrival : arrivals)
        QVERIFY(!arrival.first().toByteArray().isEmpty());
}

void TestHostLink::failedConnect_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("portText");

    // A port that was just free: nothing listens there.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QByteArray closedPort = QByteArray::number(probe.serverPort());
    probe.close();

    QTest::newRow("refused") << host << closedPort;
    QTest::newRow("port without digits") << host << QByteArray("abc");
    QTest::newRow("port above 65535") << host << QByteArray("70000");
    QTest::newRow("empty address") << QString() << closedPort;
}

void TestHostLink::failedConnect()
{
    QFETCH(QString, address);
    QFETCH(QByteArray, portText);

    LinkFixture fixture;
    fixture.address = address;
    fixture.portText = portText;
    fixture.link->toggleConnection();
    QCOMPARE(fixture.link->state(), State::Connecting);
    QTRY_COMPARE_WITH_TIMEOUT(fixture.link->state(), State::Disconnected, attemptTimeoutMs);
    QCOMPARE(fixture.status(), failedText(address));
    QCOMPARE(fixture.link->livenessPeriod(), 0);
    QVERIFY(!fixture.timer()->isActive());
    QVERIFY(!fixture.link->send(QByteArrayLiteral("\xE0")));
}

void TestHostLink::clickDuringAttemptDisconnectsAndAttemptStillReports()
{
    HangingListener hanging;
    QVERIFY(hanging.isValid());
    LinkFixture fixture;
    fixture.portText = QByteArray::number(hanging.port());

    fixture.link->toggleConnection();
    QCOMPARE(fixture.link->state(), State::Connecting);
    fixture.link->toggleConnection();
    QCOMPARE(fixture.link->state(), State::Disconnected);
    QCOMPARE(fixture.status(), disconnectedText);

    // The attempt goes on and, when it ends, shows its own outcome.
    hanging.release();
    QTRY_COMPARE_WITH_TIMEOUT(fixture.link->state(), State::Connected, attemptTimeoutMs);
    QCOMPARE(fixture.status(), connectedText);
    QCOMPARE(fixture.link->livenessPeriod(), handDrivenPeriod);
}

void TestHostLink::hostClosingOnlyChangesState()
{
    LinkFixture fixture;
    fixture.pinger->script({-1});
    std::unique_ptr<QTcpSocket> hostSide(connectToServer(fixture));
    QVERIFY(hostSide);
    fixture.link->runLivenessTick();
    QCOMPARE(fixture.link->pingFailureCount(), 1);

    QSignalSpy closed(fixture.link.get(), &HostLink::closedByHost);
    hostSide->close();
    QTRY_COMPARE(closed.size(), 1);
    QCOMPARE(fixture.link->state(), State::Disconnected);
    QCOMPARE(fixture.status(), connectedText);
    QCOMPARE(fixture.link->livenessPeriod(), handDrivenPeriod);
    QCOMPARE(fixture.link->pingFailureCount(), 1);
    QVERIFY(!fixture.link->send(QByteArrayLiteral("\xE2")));
}

void TestHostLink::offlineAfterThirdCountedFailure_data()
{
    QTest::addColumn<QList<int>>("script");

    QTest::newRow("three failures") << QList<int>{-1, -1, -1};
    QTest::newRow("fail reply fail reply fail") << QList<int>{-1, 5, -1, 0, -1};
    QTest::newRow("replies first") << QList<int>{1, 2, 3, -1, -1, -1};
}

void TestHostLink::offlineAfterThirdCountedFailure()
{
    QFETCH(QList<int>, script);

    LinkFixture fixture;
    std::unique_ptr<QTcpSocket> hostSide(connectToServer(fixture));
    QVERIFY(hostSide);
    fixture.pinger->script(script);

    for (qsizetype tick = 0; tick + 1 < script.size(); ++tick) {
        fixture.link->runLivenessTick();
        QCOMPARE(fixture.link->state(), State::Connected);
    }
    QCOMPARE(fixture.link->pingFailureCount(), 2);
    fixture.link->runLivenessTick();

    QCOMPARE(fixture.link->state(), State::Disconnected);
    QCOMPARE(fixture.status(), offlineText);
    QCOMPARE(fixture.link->livenessPeriod(), 0);
    QVERIFY(!fixture.timer()->isActive());
    QCOMPARE(fixture.link->pingFailureCount(), 0);
    QCOMPARE(fixture.pinger->calls(), script.size());
    QCOMPARE(fixture.pinger->addresses().first(), host);
    QCOMPARE(fixture.pinger->timeouts().first(), HostLink::pingTimeoutMs);
    QCOMPARE(HostLink::pingTimeoutMs, 1000);
    QTRY_COMPARE(hostSide->state(), QAbstractSocket::UnconnectedState);
}

void TestHostLink::failureCountSurvivesDisconnectAndReconnect()
{
    LinkFixture fixture;
    std::unique_ptr<QTcpSocket> first(connectToServer(fixture));
    QVERIFY(first);
    fixture.pinger->script({-1, -1, -1});
    fixture.link->runLivenessTick();
    fixture.link->runLivenessTick();

    fixture.link->toggleConnection();
    QCOMPARE(fixture.status(), disconnectedText);
    QCOMPARE(fixture.link->livenessPeriod(), handDrivenPeriod);
    std::unique_ptr<QTcpSocket> second(connectToServer(fixture));
    QVERIFY(second);
    QCOMPARE(fixture.link->pingFailureCount(), 2);

    fixture.link->runLivenessTick();
    QCOMPARE(fixture.link->state(), State::Disconnected);
    QCOMPARE(fixture.status(), offlineText);
}

void TestHostLink::ticksGoOnAfterManualDisconnect()
{
    LinkFixture fixture;
    std::unique_ptr<QTcpSocket> hostSide(connectToServer(fixture));
    QVERIFY(hostSide);
    fixture.link->toggleConnection();
    QVERIFY(fixture.timer()->isActive());

    fixture.pinger->script({-1, -1, -1});
    fixture.link->runLivenessTick();
    fixture.link->runLivenessTick();
    QCOMPARE(fixture.status(), disconnectedText);
    fixture.link->runLivenessTick();
    QCOMPARE(fixture.status(), offlineText);
    QCOMPARE(fixture.link->state(), State::Disconnected);
    QVERIFY(!fixture.timer()->isActive());
}

void TestHostLink::timerDrivesTicksUntilOffline()
{
    LinkFixture fixture(20);
    fixture.pinger->script({3, -1, 4, -1, -1});
    std::unique_ptr<QTcpSocket> hostSide(connectToServer(fixture));
    QVERIFY(hostSide);
    QCOMPARE(fixture.link->livenessPeriod(), 20);
    QTRY_COMPARE_WITH_TIMEOUT(fixture.link->state(), State::Disconnected, attemptTimeoutMs);
    QCOMPARE(fixture.status(), offlineText);
    QCOMPARE(fixture.pinger->calls(), 5);
    QCOMPARE(fixture.link->livenessPeriod(), 0);
}

void TestHostLink::samePeriodKeepsTimerRunning()
{
    LinkFixture fixture(60000);
    std::unique_ptr<QTcpSocket> first(connectToServer(fixture));
    QVERIFY(first);
    QTimer *timer = fixture.timer();
    QTRY_VERIFY(timer->remainingTime() < 60000 - 300);
    const int remaining = timer->remainingTime();

    // A second successful attempt sets the period the timer already has: no restart.
    fixture.link->toggleConnection();
    std::unique_ptr<QTcpSocket> second(connectToServer(fixture));
    QVERIFY(second);
    QVERIFY(timer->isActive());
    QVERIFY2(timer->remainingTime() <= remaining,
             qPrintable(
                 QStringLiteral("restarted: %1 > %2").arg(timer->remainingTime()).arg(remaining)));
}

void TestHostLink::tickDuringAttemptRunsAfterItWithoutBlocking()
{
    LinkFixture fixture;
    std::unique_ptr<QTcpSocket> hostSide(connectToServer(fixture));
    QVERIFY(hostSide);
    fixture.link->toggleConnection();
    QVERIFY(fixture.timer()->isActive());

    HangingListener hanging;
    QVERIFY(hanging.isValid());
    fixture.portText = QByteArray::number(hanging.port());
    fixture.link->toggleConnection();
    QCOMPARE(fixture.link->state(), State::Connecting);

    State stateAtPing = State::Connecting;
    QString statusAtPing;
    fixture.pinger->onPing([&] {
        stateAtPing = fixture.link->state();
        statusAtPing = fixture.status();
    });
    fixture.pinger->script({-1});

    // The tick returns at once instead of waiting for the attempt on this thread.
    fixture.link->runLivenessTick();
    QCOMPARE(fixture.pinger->calls(), 0);
    QCOMPARE(fixture.link->state(), State::Connecting);

    hanging.release();
    QTRY_COMPARE_WITH_TIMEOUT(fixture.pinger->calls(), 1, attemptTimeoutMs);
    QCOMPARE(stateAtPing, State::Connected);
    QCOMPARE(statusAtPing, connectedText);
    QCOMPARE(fixture.link->pingFailureCount(), 1);
}

void TestHostLink::linkGoneDuringAttempt_data()
{
    QTest::addColumn<bool>("shutDownFirst");
    QTest::addColumn<bool>("attemptSucceeds");

    QTest::newRow("destroyed, attempt succeeds") << false << true;
    QTest::newRow("destroyed, attempt refused") << false << false;
    QTest::newRow("shut down and destroyed, attempt succeeds") << true << true;
}

void TestHostLink::linkGoneDuringAttempt()
{
    QFETCH(bool, shutDownFirst);
    QFETCH(bool, attemptSucceeds);

    HangingListener hanging;
    QVERIFY(hanging.isValid());
    {
        LinkFixture fixture;
        fixture.portText = QByteArray::number(hanging.port());
        fixture.link->toggleConnection();
        // A second attempt waits behind the first for the link lock.
        fixture.link->toggleConnection();
        fixture.link->toggleConnection();
        QCOMPARE(HostLink::runningConnectWorkers(), 2);
        if (shutDownFirst) {
            fixture.link->shutDown();
            fixture.link->toggleConnection();
            fixture.link->runLivenessTick();
            QCOMPARE(HostLink::runningConnectWorkers(), 2);
        }
    }

    if (attemptSucceeds)
        hanging.release();
    else
        hanging.refuse();
    // Under the sanitizers this also shows that the workers touch nothing that is gone.
    QTRY_COMPARE_WITH_TIMEOUT(HostLink::runningConnectWorkers(), 0, 2 * attemptTimeoutMs);
}

QTEST_GUILESS_MAIN(TestHostLink)
#include "tst_host_link.moc"
