#pragma once

#include "builder/payload_encoder.h"

#include <QByteArray>

namespace cordanex {

// Port code of the RS485 bus and device code of the VANTREL relay device in the form's lists.
inline constexpr int rs485PortCode = 8;
inline constexpr int vantrelDeviceCode = 0;

// The form as it stands when OK is clicked: the code of each list's selected entry and the
// state of the options and the input box.
struct CommandForm
{
    int portCode = 0;   // 0 to 7 for COM1 to COM8, 8 for RS485
    int baudCode = 3;   // 0 to 8, 1200 to 115200 bit/s
    int formatCode = 0; // 0 to 21, data bits, stop bits and parity
    PayloadMode payloadMode = PayloadMode::Hex;
    bool addLineBreak = false;
    bool escapedOutput = false;
    int rs485Device = vantrelDeviceCode; // 0 VANTREL, 1 other device
    int deviceCode = 1;                  // 1 to 15
    QByteArray payloadText;              // GBK
};

// The output box's new text after one click of OK, given its current text (GBK, CR LF line
// breaks). Without the escaped form the click's command, message or relay listing is appended
// to the current text; with it the box afterwards holds only what this click writes.
QByteArray BuildCommandText(const CommandForm &form, const QByteArray &outputText);

// "\x" followed by the text with every space replaced by "\x": "EE B3" becomes "\xEE\xB3".
QByteArray ToEscapedHexForm(const QByteArray &text);

} // namespace cordanex
