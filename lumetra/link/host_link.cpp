#include "link/host_link.h"

#include "link/native_connect.h"
#include "link/pinger.h"
#include "window/integer_text.h"

#include <QSemaphore>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <QTimer>

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

namespace lumetra {

namespace {

std::atomic<int> g_runningWorkers{0};

} // namespace

// What a link and its connect workers share. A worker keeps it alive, so a window closed
// during an attempt leaves the worker nothing dangling to touch.
struct LinkShared
{
    // The link lock: one connect attempt or one liveness tick at a time. A semaphore rather
    // than a mutex because an attempt's lock is taken on the worker thread and handed to the
    // GUI thread with the outcome, which releases it after updating the state.
    QSemaphore lock{1};
    std::mutex receiverMutex;
    HostLink *receiver = nullptr;
};

// One attempt's outcome on its way to the GUI thread. Whoever drops it last, the link that
// applied it or Qt discarding the queued call of a link that is gone, releases the lock and
// closes a descriptor nobody took.
struct AttemptOutcome
{
    AttemptOutcome(std::shared_ptr<LinkShared> shared, qintptr descriptor)
        : m_shared(std::move(shared))
        , m_descriptor(descriptor)
    {}
    ~AttemptOutcome()
    {
        closeDescriptor(m_descriptor);
        releaseLock();
    }
    AttemptOutcome(const AttemptOutcome &) = delete;
    AttemptOutcome &operator=(const AttemptOutcome &) = delete;

    bool ok() const { return m_descriptor >= 0; }
    qintptr takeDescriptor() { return std::exchange(m_descriptor, -1); }
    void releaseLock()
    {
        if (!std::exchange(m_released, true))
            m_shared->lock.release();
    }

private:
    std::shared_ptr<LinkShared> m_shared;
    qintptr m_descriptor = -1;
    bool m_released = false;
};

void HostLink::runConnectWorker(std::shared_ptr<LinkShared> shared, bool lockTaken, QString address,
                                int port)
{
    if (!lockTaken)
        shared->lock.acquire();
    auto outcome = std::make_shared<AttemptOutcome>(shared, connectBlocking(address, port));

    // Posting under the receiver mutex: the link cannot finish its destructor in between, and
    // a queued call to a link destroyed later is discarded (dropping the outcome).
    {
        const std::lock_guard guard(shared->receiverMutex);
        if (HostLink *receiver = shared->receiver) {
            QMetaObject::invokeMethod(
                receiver, [receiver, outcome] { receiver->finishAttempt(*outcome); },
                Qt::QueuedConnection);
        }
    }
    outcome.reset();
    shared.reset();
    address = QString();
    g_runningWorkers.fetch_sub(1);
}

HostLink::HostLink(std::shared_ptr<Pinger> pinger, int livenessPeriodMs, QObject *parent)
    : QObject(parent)
    , m_pinger(std::move(pinger))
    , m_shared(std::make_shared<LinkShared>())
    , m_socket(new QTcpSocket(this))
    , m_livenessTimer(new QTimer(this))
    , m_runningPeriod(livenessPeriodMs)
{
    if (!m_pinger)
        m_pinger = makeSystemPinger();
    m_shared->receiver = this;
    m_livenessTimer->setObjectName(QStringLiteral("livenessTimer"));
    connect(m_socket, &QTcpSocket::readyRead, this, &HostLink::readArrivedData);
    connect(m_socket, &QTcpSocket::disconnected, this, &HostLink::handleSocketClosed);
    connect(m_livenessTimer, &QTimer::timeout, this, &HostLink::runLivenessTick);
}

HostLink::~HostLink()
{
    shutDown();
}

void HostLink::setEndpointSource(std::function<QString()> address,
                                 std::function<QByteArray()> portText)
{
    m_address = std::move(address);
    m_portText = std::move(portText);
}

QString HostLink::caption(State state)
{
    switch (state) {
    case State::Disconnected:
        return QStringLiteral("连接");
    case State::Connecting:
        return QStringLiteral("连接中");
    case State::Connected:
        return QStringLiteral("断 开");
    }
    return {};
}

bool HostLink::send(const QByteArray &bytes)
{
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return false;
    if (m_socket->write(bytes) != bytes.size())
        return false;
    m_socket->flush();
    return true;
}

void HostLink::toggleConnection()
{
    if (m_shutDown)
        return;
    if (m_state == State::Disconnected) {
        setState(State::Connecting);
        emit statusTextChanged(QStringLiteral("状态：正在链接") + address() +
                               QStringLiteral("主机..."));
        startConnectWorker();
        return;
    }
    disconnectHost();
    setState(State::Disconnected);
    emit statusTextChanged(QStringLiteral("状态：") + address() + QStringLiteral("主机离线"));
}

void HostLink::startConnectWorker()
{
    // The worker must not read the controls, so it gets the address and port as they are now.
    const int port = textToInteger(m_portText ? m_portText() : QByteArray());
    // Taking the free lock here makes the attempt hold it from the click on, so no tick slips
    // in before the worker thread is running; when another attempt holds it, the worker waits.
    const bool lockTaken = m_shared->lock.tryAcquire();
    g_runningWorkers.fetch_add(1);
    std::thread(runConnectWorker, m_shared, lockTaken, address(), port).detach();
}

void HostLink::finishAttempt(AttemptOutcome &outcome)
{
    // Still under the link lock, which the worker handed over with the outcome.
    if (m_shutDown)
        return;
    disconnectHost();
    bool ok = outcome.ok();
    if (ok) {
        const qintptr descriptor = outcome.takeDescriptor();
        ok = m_socket->setSocketDescriptor(descriptor);
        if (!ok)
            closeDescriptor(descriptor);
    }
    const QString host = address();
    setState(ok ? State::Connected : State::Disconnected);
    emit statusTextChanged(ok ? QStringLiteral("状态：连接主机") + host + QStringLiteral("成功！")
                              : QStringLiteral("状态：连接主机") + host +
                                    QStringLiteral("失败！请检查IP和端口号。"));
    setLivenessPeriod(ok ? m_runningPeriod : 0);
    outcome.releaseLock();
    runDeferredTick();
}

void HostLink::runLivenessTick()
{
    if (m_shutDown)
        return;
    if (!m_shared->lock.tryAcquire()) {
        // An attempt holds the lock; waiting here would freeze the window for as long as the
        // system takes to give up on an unreachable host. The tick runs when the attempt ends.
        m_tickDeferred = true;
        return;
    }
    m_tickDeferred = false;
    runTickLocked();
    m_shared->lock.release();
}

void HostLink::runDeferredTick()
{
    if (m_tickDeferred)
        runLivenessTick();
}

void HostLink::runTickLocked()
{
    const QString host = address();
    if (m_pinger->ping(host, pingTimeoutMs) == -1)
        ++m_failureCount;
    if (m_failureCount > 2) {
        m_failureCount = 0;
        disconnectHost();
        setState(State::Disconnected);
        emit statusTextChanged(QStringLiteral("状态：主机") + host + QStringLiteral("离线"));
        setLivenessPeriod(0);
    }
}

void HostLink::shutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_tickDeferred = false;
    m_livenessTimer->stop();
    {
        const std::lock_guard guard(m_shared->receiverMutex);
        m_shared->receiver = nullptr;
    }
    m_shared.reset();
}

int HostLink::runningConnectWorkers()
{
    return g_runningWorkers.load();
}

void HostLink::disconnectHost()
{
    // Our own disconnect is not the host closing the link.
    const QSignalBlocker blocker(m_socket);
    m_socket->abort();
}

void HostLink::setState(State state)
{
    m_state = state;
    emit stateChanged(state);
}

void HostLink::setLivenessPeriod(int periodMs)
{
    if (periodMs == m_period)
        return;
    m_period = periodMs;
    if (periodMs == 0)
        m_livenessTimer->stop();
    else
        m_livenessTimer->start(periodMs);
}

void HostLink::readArrivedData()
{
    const QByteArray bytes = m_socket->readAll();
    if (!bytes.isEmpty())
        emit dataArrived(bytes);
}

void HostLink::handleSocketClosed()
{
    setState(State::Disconnected);
    emit closedByHost();
}

QString HostLink::address() const
{
    return m_address ? m_address() : QString();
}

} // namespace lumetra
