#include "link/receive_path.h"

#include "codec/channel_send.h"
#include "codec/hex_text.h"
#include "gbk/gbk_text.h"
#include "link/host_link.h"
#include "link/receive_view.h"

#include <QAbstractButton>

namespace lumetra {

namespace {

const QByteArray learnStartCommand(1, static_cast<char>(0xE0));
const QByteArray learnStopCommand(1, static_cast<char>(0xE2));

} // namespace

ReceivePath::ReceivePath(HostLink &link, const ReceiveControls &controls,
                         const ChannelMemory &memory,
                         std::function<void(const QString &)> setStatusText, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_controls(controls)
    , m_memory(memory)
    , m_setStatusText(std::move(setStatusText))
{
    connect(m_controls.learnStartButton, &QAbstractButton::clicked, this,
            &ReceivePath::startLearning);
    connect(m_controls.learnStopButton, &QAbstractButton::clicked, this,
            &ReceivePath::stopLearning);
    connect(m_controls.clearReceiveButton, &QAbstractButton::clicked, this,
            &ReceivePath::clearReceived);
    connect(&m_link, &HostLink::dataArrived, this, &ReceivePath::handleArrival);
}

QByteArray ReceivePath::receivedText() const
{
    return gbk::fromEditorText(m_controls.receiveBox->toPlainText());
}

// The learn buttons do not look at the link: with the link down the send fails silently.
void ReceivePath::startLearning()
{
    m_controls.receiveBox->clear();
    m_link.send(learnStartCommand);
}

void ReceivePath::stopLearning()
{
    m_link.send(learnStopCommand);
}

void ReceivePath::clearReceived()
{
    m_controls.receiveBox->clear();
}

// A run of exactly one byte is the host's acknowledgement when it is 00 and is dropped
// otherwise; anything longer is learned data, even when it starts with 00.
void ReceivePath::handleArrival(const QByteArray &bytes)
{
    const QByteArray hex = BytesToHexText(bytes);
    if (hex == "00") {
        m_setStatusText(gbk::toUnicode(gbk::fromUnicode(QStringLiteral("操作状态：")) +
                                       m_memory.lastCaption +
                                       gbk::fromUnicode(QStringLiteral("送成功！"))));
    }
    if (hex.size() != 2)
        m_controls.receiveBox->appendAtEnd(QString::fromLatin1(hex));
}

} // namespace lumetra
