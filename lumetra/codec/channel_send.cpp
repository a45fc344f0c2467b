#include "codec/channel_send.h"

#include "codec/hex_text.h"

namespace lumetra {

QByteArray ChannelCodeText(int channel)
{
    Q_ASSERT(channel >= 1 && channel <= channelCount);
    return BytesToHexText(QByteArray(1, static_cast<char>(0xE3 + (channel - 1))));
}

} // namespace lumetra
