#pragma once

// Learning and the receive path: the learn buttons send their one-byte commands, and every
// run of bytes from the host becomes either the acknowledgement's status text or hex text at
// the end of the receive box.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QAbstractButton;

namespace lumetra {

class HostLink;
class ReceiveView;
struct ChannelMemory;

struct ReceiveControls
{
    QAbstractButton *learnStartButton = nullptr;
    QAbstractButton *learnStopButton = nullptr;
    QAbstractButton *clearReceiveButton = nullptr;
    ReceiveView *receiveBox = nullptr;
};

class ReceivePath : public QObject
{
    Q_OBJECT

public:
    ReceivePath(HostLink &link, const ReceiveControls &controls, const ChannelMemory &memory,
                std::function<void(const QString &)> setStatusText, QObject *parent = nullptr);

    // The receive box's text as GBK, line breaks CR LF. Every arrival is in the box as soon
    // as its handler has run, so this is always complete.
    QByteArray receivedText() const;

public slots:
    void startLearning();
    void stopLearning();
    void clearReceived();
    void handleArrival(const QByteArray &bytes);

private:
    HostLink &m_link;
    ReceiveControls m_controls;
    const ChannelMemory &m_memory;
    std::function<void(const QString &)> m_setStatusText;
};

} // namespace lumetra
