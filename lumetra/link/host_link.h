#pragma once

// The TCP link to the host controller: the host client socket, the connect worker that opens
// it on a thread of its own, and the liveness check that pings the host while the link is up.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QTcpSocket;
class QTimer;

namespace lumetra {

class Pinger;
struct LinkShared;
struct AttemptOutcome;

class HostLink : public QObject
{
    Q_OBJECT

public:
    // The link state, shown as the connect button's caption.
    enum class State { Disconnected, Connecting, Connected };

    static constexpr int defaultLivenessPeriodMs = 3000;
    static constexpr int pingTimeoutMs = 1000;

    // livenessPeriodMs is the period of the liveness timer while it runs. Without a pinger the
    // system's ICMP echo is used.
    explicit HostLink(std::shared_ptr<Pinger> pinger,
                      int livenessPeriodMs = defaultLivenessPeriodMs, QObject *parent = nullptr);
    ~HostLink() override;

    // Where the address (dotted text) and the port text (GBK) are read, afresh at each use.
    void setEndpointSource(std::function<QString()> address, std::function<QByteArray()> portText);

    State state() const { return m_state; }
    // "连接", "连接中" or "断 开".
    static QString caption(State state);

    // Writes every byte raw. False, and nothing sent, without a connection.
    bool send(const QByteArray &bytes);

    // 0 while the liveness timer is stopped.
    int livenessPeriod() const { return m_period; }
    int pingFailureCount() const { return m_failureCount; }

    // The connect button: connects when the state is Disconnected, disconnects otherwise.
    void toggleConnection();

    // One liveness tick, as the timer runs it. While a connect attempt holds the link lock
    // the tick is deferred (the event loop keeps running) and runs once the attempt is over.
    void runLivenessTick();

    // The window is going away: the link lock is given up, the timer stops, and a connect
    // attempt still under way no longer reaches this object.
    void shutDown();

    // Connect workers still running in this process (they outlive their link when the window
    // closes during an attempt).
    static int runningConnectWorkers();

signals:
    void stateChanged(lumetra::HostLink::State state);
    void statusTextChanged(const QString &text);
    // Everything readable at one readyRead, at least one byte; no message boundaries.
    void dataArrived(const QByteArray &bytes);
    void closedByHost();

private:
    static void runConnectWorker(std::shared_ptr<LinkShared> shared, bool lockTaken,
                                 QString address, int port);
    void startConnectWorker();
    void finishAttempt(AttemptOutcome &outcome);
    void runTickLocked();
    void runDeferredTick();
    void disconnectHost();
    void setState(State state);
    void setLivenessPeriod(int periodMs);
    void readArrivedData();
    void handleSocketClosed();
    QString address() const;

    std::shared_ptr<Pinger> m_pinger;
    std::shared_ptr<LinkShared> m_shared;
    std::function<QString()> m_address;
    std::function<QByteArray()> m_portText;
    QTcpSocket *m_socket = nullptr;
    QTimer *m_livenessTimer = nullptr;
    State m_state = State::Disconnected;
    int m_runningPeriod = defaultLivenessPeriodMs;
    int m_period = 0;
    int m_failureCount = 0;
    bool m_tickDeferred = false;
    bool m_shutDown = false;
};

} // namespace lumetra
