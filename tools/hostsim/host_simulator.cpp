#include "host_simulator.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>

namespace hostsim {

namespace {

constexpr unsigned char learnStart = 0xE0;
constexpr unsigned char learnStop = 0xE2;
constexpr unsigned char firstChannel = 0xE3;
constexpr unsigned char lastChannel = 0xEA;
constexpr qsizetype firstFragmentSize = 22;

} // namespace

QByteArray learnedCode()
{
    // A made-up carrier/timing record: header, a few timing pairs and a bit pattern. The
    // tool treats it as opaque; it only has to be long enough to come in fragments.
    static const unsigned char code[] = {0x26, 0x00, 0x30, 0x00, 0x6E, 0x22, 0x11, 0x04, 0x02, 0x31,
                                         0x02, 0x2F, 0x06, 0x8F, 0x02, 0x31, 0x5A, 0xA5, 0x00, 0xFF,
                                         0x10, 0xEF, 0x01, 0x02, 0x01, 0x02, 0x02, 0x01, 0x01, 0x01,
                                         0x02, 0x02, 0x01, 0x02, 0x01, 0x01, 0x02, 0x01, 0x02, 0x02,
                                         0x9C, 0x40, 0x23, 0x11, 0x02, 0x31, 0x00, 0x7D};
    return QByteArray(reinterpret_cast<const char *>(code), sizeof code);
}

QString spacedHex(const QByteArray &bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(bytes.size() * 3);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto value = static_cast<unsigned char>(bytes[i]);
        if (i > 0)
            out += QLatin1Char(' ');
        out += QLatin1Char(digits[value >> 4]);
        out += QLatin1Char(digits[value & 0x0F]);
    }
    return out;
}

HostSimulator::HostSimulator(const Options &options, QTextStream &log, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_log(log)
{
    connect(&m_server, &QTcpServer::newConnection, this, &HostSimulator::acceptConnections);
}

bool HostSimulator::listen()
{
    if (!m_server.listen(m_options.listenAddress, m_options.port))
        return false;
    print(QStringLiteral("listening on %1:%2")
              .arg(m_server.serverAddress().toString())
              .arg(m_server.serverPort()));
    return true;
}

void HostSimulator::acceptConnections()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        print(QStringLiteral("client %1:%2 connected")
                  .arg(socket->peerAddress().toString())
                  .arg(socket->peerPort()));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            print(QStringLiteral("client disconnected"));
            socket->deleteLater();
        });
    }
}

void HostSimulator::readFrom(QTcpSocket *socket)
{
    const QByteArray run = socket->readAll();
    if (run.isEmpty())
        return;
    print(QStringLiteral("received %1").arg(spacedHex(run)));

    // The tool sends each command in one write, so a run starts with its command byte.
    const auto command = static_cast<unsigned char>(run[0]);
    if (command == learnStart) {
        print(QStringLiteral("learning started"));
        if (m_options.floodBytes > 0)
            sendFlood(socket);
        else
            sendLearnedCode(socket);
    } else if (command == learnStop) {
        print(QStringLiteral("learning stopped"));
    } else if (command >= firstChannel && command <= lastChannel) {
        print(QStringLiteral("channel %1 frame, %2 data bytes")
                  .arg(command - firstChannel + 1)
                  .arg(run.size() - 1));
        if (m_options.acknowledge) {
            socket->write(QByteArray(1, '\0'));
            print(QStringLiteral("sent 00"));
        }
        if (m_options.closeAfterNextFrame) {
            m_options.closeAfterNextFrame = false;
            print(QStringLiteral("closing the connection"));
            socket->disconnectFromHost();
        }
    } else {
        print(QStringLiteral("unknown command"));
    }
}

void HostSimulator::sendLearnedCode(QTcpSocket *socket)
{
    QPointer<QTcpSocket> guarded(socket);
    const QByteArray code = learnedCode();
    QTimer::singleShot(m_options.learnDelayMs, this, [this, guarded, code] {
        if (!guarded || guarded->state() != QAbstractSocket::ConnectedState)
            return;
        const QByteArray first = code.left(firstFragmentSize);
        guarded->write(first);
        guarded->flush();
        print(QStringLiteral("sent %1").arg(spacedHex(first)));
        QTimer::singleShot(m_options.fragmentGapMs, this, [this, guarded, code] {
            if (!guarded || guarded->state() != QAbstractSocket::ConnectedState)
                return;
            const QByteArray rest = code.mid(firstFragmentSize);
            guarded->write(rest);
            print(QStringLiteral("sent %1").arg(spacedHex(rest)));
        });
    });
}

void HostSimulator::sendFlood(QTcpSocket *socket)
{
    QByteArray flood(m_options.floodBytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < flood.size(); ++i)
        flood[i] = static_cast<char>((i * 7 + 1) & 0xFF);
    socket->write(flood);
    print(QStringLiteral("sent %1 flood bytes").arg(flood.size()));
}

void HostSimulator::print(const QString &line)
{
    m_log << line << Qt::endl;
}

} // namespace hostsim
