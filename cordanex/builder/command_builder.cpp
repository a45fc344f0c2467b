#include "builder/command_builder.h"

#include "builder/hex_digits.h"
#include "builder/relay_listing.h"

namespace cordanex {

namespace {

QByteArray buildSendCommand(const CommandForm &form, const QByteArray &payload)
{
    // "EE B3 " + three codes + the payload, three characters a byte, + the longest tail.
    QByteArray command;
    command.reserve(6 + 9 + payload.size() * 3 + 19);
    command.append("EE B3 ");
    for (const int code : {form.portCode, form.baudCode, form.formatCode}) {
        appendTwoHexDigits(command, code);
        command.append(' ');
    }
    for (const char byte : payload) {
        appendTwoHexDigits(command, static_cast<unsigned char>(byte));
        command.append(' ');
    }
    command.append(form.addLineBreak ? "0D 0A FF FC FF FF\r\n" : "FF FC FF FF\r\n");
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
