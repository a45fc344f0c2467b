#pragma once

// The channel buttons: each sends the send box's IR code out of its channel when the link is
// not down, and puts the same frame on the clipboard as the central-control code.

#include "codec/channel_send.h"

#include <QObject>

#include <array>

class QAbstractButton;
class QPlainTextEdit;

namespace lumetra {

class HostLink;

// The window's controls the channel step works with; the panel does not own them.
struct ChannelControls
{
    QAbstractButton *connectButton = nullptr; // its caption is the link state
    std::array<QAbstractButton *, channelCount> channelButtons{};
    QPlainTextEdit *sendBox = nullptr;
    QAbstractButton *copyCodeBox = nullptr; // ticked: escaped form, else the spaced form
};

class ChannelPanel : public QObject
{
    Q_OBJECT

public:
    ChannelPanel(HostLink &link, const ChannelControls &controls, ChannelMemory &memory,
                 QObject *parent = nullptr);

    // The channel step for channel 1 to 8.
    void runChannelStep(int channel);

    // Sends the bytes of the hex text unless the connect button reads "连接".
    void SendHexIfConnected(const QByteArray &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HostLink &m_link;
    ChannelControls m_controls;
    ChannelMemory &m_memory;
};

} // namespace lumetra
