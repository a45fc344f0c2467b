#pragma once

// The channel frame and the state the channel step leaves for the receive path.

#include <QByteArray>

namespace lumetra {

constexpr int channelCount = 8;

// What the last channel step left behind: the caption of its button ("IR1" to "IR8", GBK),
// empty until the first click. The host's acknowledgement names this channel.
struct ChannelMemory
{
    QByteArray lastCaption;
};

// The channel code as the two hex characters put in front of the send box's text: "E3" for
// channel 1 up to "EA" for channel 8.
QByteArray ChannelCodeText(int channel);

} // namespace lumetra
