#pragma once

#include <QByteArray>
#include <QList>

namespace cordanex {

// How the input box's text is read: as plain text, one byte per byte, or as hexadecimal digits.
enum class PayloadMode { Ascii, Hex };

// The most bytes one send command may carry.
inline constexpr qsizetype maxPayloadBytes = 255;

// The payload of one send command, or the one message that tells the user why there is none.
struct EncodedPayload
{
    QByteArray bytes;   // the payload bytes, 0 to 255; empty when there is a message
    QByteArray message; // GBK text ending in CR LF; empty when the payload can be used

    bool isValid() const { return message.isEmpty(); }
    // Each payload byte as two upper-case hexadecimal digits, in order.
    QList<QByteArray> byteTexts() const;
};

// Checks a GBK payload text and turns it into payload bytes. The empty text, more than 255
// bytes (ASCII) or 510 digits (HEX), a character other than 0-9 and A-F after the spaces are
// removed, and an odd digit count each give their message; the checks run in that order.
EncodedPayload EncodePayload(const QByteArray &payloadText, PayloadMode mode);

} // namespace cordanex
