#include "builder/command_builder.h"

#include "builder/hex_digits.h"
#include "builder/relay_listing.h"

#include <algorithm>

namespace cordanex {

namespace {

QByteArray buildSendCommand(const CommandForm &form, const QByteArray &payload)
{
    // Built in place: every byte text is two digits and a space, so the size is known.
    static constexpr char head[] = "EE B3 ";
    static constexpr char tail[] = "FF FC FF FF\r\n";
    static constexpr char lineBreakTail[] = "0D 0A FF FC FF FF\r\n";
    const char *const end = form.addLineBreak ? lineBreakTail : tail;
    const qsizetype endSize = form.addLineBreak ? sizeof lineBreakTail - 1 : sizeof tail - 1;

    QByteArray command(sizeof head - 1 + 3 * (3 + payload.size()) + endSize, Qt::Uninitialized);
    char *out = std::copy_n(head, sizeof head - 1, command.data());
    for (const int code : {form.portCode, form.baudCode, form.formatCode}) {
        out = writeTwoHexDigits(out, code);
        *out++ = ' ';
    }
    for (const char byte : payload) {
        out = writeTwoHexDigits(out, static_cast<unsigned char>(byte));
        *out++ = ' ';
    }
    std::copy_n(end, endSize, out);
    return command;
}

} // namespace

QByteArray ToEscapedHexForm(const QByteArray &text)
{
    QByteArray escaped;
    escaped.reserve(2 + text.size() + text.count(' '));
    escaped.append("\\x");
    for (const char c : text) {
        if (c == ' ')
            escaped.append("\\x");
        else
            escaped.append(c);
    }
    return escaped;
}

QByteArray BuildCommandText(const CommandForm &form, const QByteArray &outputText)
{
    // The escaped form is meant to be copied as one command, so it starts from an empty box.
    QByteArray text = form.escapedOutput ? QByteArray() : outputText;

    if (form.portCode == rs485PortCode && form.rs485Device == vantrelDeviceCode) {
        text.append(
            BuildRelayListing(form.portCode, form.baudCode, form.formatCode, form.deviceCode));
        return text;
    }

    const EncodedPayload payload = EncodePayload(form.payloadText, form.payloadMode);
    if (!payload.isValid()) {
        text.append(payload.message);
        return text;
    }

    const QByteArray command = buildSendCommand(form, payload.bytes);
    if (form.escapedOutput)
        return ToEscapedHexForm(command);
    text.append(command);
    return text;
}

} // namespace cordanex
