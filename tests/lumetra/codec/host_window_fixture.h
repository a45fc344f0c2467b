#pragma once

// What the window tests of the channel send and the receive path share: the real main window
// on a temporary settings file with a pinger that always answers, and a loopback listener that
// plays the host controller.

#include "link/host_link.h"
#include "link/pinger.h"
#include "window/ipv4_address_edit.h"
#include "window/main_window.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace lumetra::test {

class AnsweringPinger final : public Pinger
{
public:
    int ping(const QString &, int) override { return 1; }
};

class HostWindowFixture
{
public:
    HostWindowFixture()
    {
        WindowServices services;
        services.settingsPath = m_dir.filePath(QStringLiteral("Lumetra.ini"));
        services.pinger = std::make_shared<AnsweringPinger>();
        m_window = std::make_unique<MainWindow>(std::move(services));
    }

    MainWindow &window() { return *m_window; }

    template<typename T>
    T *control(const QString &name) const
    {
        return m_window->findChild<T *>(name);
    }
    QAbstractButton *button(const QString &name) const { return control<QAbstractButton>(name); }
    QString status() const { return control<QLabel>(QStringLiteral("statusPart0"))->text(); }
    QString connectCaption() const { return button(QStringLiteral("连接主机"))->text(); }

    // Connects the window by typing the listener's address and port and clicking "连接", the
    // way a user does. True once both ends have the connection.
    bool connectToHost(quint16 port)
    {
        control<Ipv4AddressEdit>(QStringLiteral("IP编辑框1"))
            ->setAddress(QStringLiteral("127.0.0.1"));
        auto *portBox = control<QLineEdit>(QStringLiteral("主机端口"));
        portBox->clear();
        QTest::keyClicks(portBox, QString::number(port));
        QTest::mouseClick(button(QStringLiteral("连接主机")), Qt::LeftButton);
        return QTest::qWaitFor([this] { return connectCaption() == QStringLiteral("断 开"); },
                               10000);
    }

    // Plays the host on a listener of our own.
    bool connectToLoopbackHost()
    {
        if (!m_server.listen(QHostAddress::LocalHost, 0) || !connectToHost(m_server.serverPort()))
            return false;
        if (!m_server.hasPendingConnections() && !m_server.waitForNewConnection(10000))
            return false;
        m_host = m_server.nextPendingConnection();
        QObject::connect(m_host, &QTcpSocket::readyRead, m_host,
                         [this] { m_onHost += m_host->readAll(); });
        return true;
    }

    // The bytes the host has received since the last take, once there are at least atLeast
    // (or what there is after a time-out, for the caller's comparison to show).
    QByteArray takeReceivedOnHost(qsizetype atLeast)
    {
        [[maybe_unused]] const bool enough =
            QTest::qWaitFor([&] { return m_onHost.size() >= atLeast; }, 5000);
        return std::exchange(m_onHost, QByteArray());
    }
    QByteArray receivedOnHost() const { return m_onHost; }

    void hostSends(const QByteArray &bytes)
    {
        m_host->write(bytes);
        m_host->flush();
    }

    bool waitForHostToSeeClose()
    {
        return QTest::qWaitFor(
            [this] { return m_host->state() == QAbstractSocket::UnconnectedState; }, 5000);
    }

    void disconnectFromHost()
    {
        QTest::mouseClick(button(QStringLiteral("连接主机")), Qt::LeftButton);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    QTcpServer m_server;
    QTcpSocket *m_host = nullptr;
    QByteArray m_onHost;
};

} // namespace lumetra::test
