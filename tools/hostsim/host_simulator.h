#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;
class QTextStream;

namespace hostsim {

struct Options
{
    QHostAddress listenAddress{QHostAddress::LocalHost};
    quint16 port = 8081;
    bool acknowledge = true;          // answer a channel frame with the byte 00
    bool closeAfterNextFrame = false; // drop the connection after the next channel frame
    qint64 floodBytes = 0;            // on E0 send this many bytes instead of the learned code
    int learnDelayMs = 300;           // from E0 to the first fragment of the code
    int fragmentGapMs = 60;           // between the two fragments of the code
};

// The learned code the simulator hands out after E0, sent as two fragments.
QByteArray learnedCode();

// Plays the host controller on one TCP listener: learning, channel frames and their
// acknowledgement, with options to misbehave.
class HostSimulator : public QObject
{
    Q_OBJECT

public:
    HostSimulator(const Options &options, QTextStream &log, QObject *parent = nullptr);

    bool listen();
    quint16 serverPort() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }

private:
    void acceptConnections();
    void readFrom(QTcpSocket *socket);
    void sendLearnedCode(QTcpSocket *socket);
    void sendFlood(QTcpSocket *socket);
    void print(const QString &line);

    Options m_options;
    QTextStream &m_log;
    QTcpServer m_server;
};

// Spaced upper-case hex of a run of bytes, for the log.
QString spacedHex(const QByteArray &bytes);

} // namespace hostsim
