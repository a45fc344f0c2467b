#include "codec/channel_panel.h"

#include "codec/hex_text.h"
#include "gbk/gbk_text.h"
#include "link/host_link.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>

namespace lumetra {

ChannelPanel::ChannelPanel(HostLink &link, const ChannelControls &controls, ChannelMemory &memory,
                           QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_controls(controls)
    , m_memory(memory)
{
    for (int channel = 1; channel <= channelCount; ++channel) {
        connect(m_controls.channelButtons[size_t(channel - 1)], &QAbstractButton::clicked, this,
                [this, channel] { runChannelStep(channel); });
    }
    // The double click lands on the viewport; taking it here also keeps the box from
    // selecting a word just before it is emptied.
    m_controls.sendBox->viewport()->installEventFilter(this);
}

void ChannelPanel::runChannelStep(int channel)
{
    const QAbstractButton *button = m_controls.channelButtons[size_t(channel - 1)];
    m_memory.lastCaption = gbk::fromUnicode(button->text());

    const QByteArray text =
        ChannelCodeText(channel) + gbk::fromEditorText(m_controls.sendBox->toPlainText());
    SendHexIfConnected(text);

    // The code goes to the clipboard also when nothing was sent.
    const QByteArray code =
        m_controls.copyCodeBox->isChecked() ? ToEscapedHex(text) : ToSpacedHex(text);
    QGuiApplication::clipboard()->setText(gbk::toUnicode(code));
}

void ChannelPanel::SendHexIfConnected(const QByteArray &text)
{
    if (m_controls.connectButton->text() == QStringLiteral("连接"))
        return;
    // Fire and forget: a send that fails (no connection yet while "连接中") is not reported.
    m_link.send(HexTextToBytes(gbk::RemoveAllSpaces(text)));
}

bool ChannelPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.sendBox->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        m_controls.sendBox->clear();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumetra
