#include "builder/payload_encoder.h"

#include "builder/hex_digits.h"
#include "gbk/gbk_text.h"

#include <QString>

namespace cordanex {

namespace {

// The messages are GBK text like everything else the assistant writes, converted once.
QByteArray gbkLine(const QString &text)
{
    return gbk::fromUnicode(text) + "\r\n";
}

const QByteArray &emptyPayloadMessage()
{
    static const QByteArray message = gbkLine(
        QStringLiteral(" 请先输入需要发送的数据内容，并选择要发送的数据格式，然后按《确定》"));
    return message;
}

const QByteArray &tooLongMessage()
{
    static const QByteArray message = gbkLine(
        QStringLiteral("抱歉，目前暂支持一条命令长度不超过255字节，特殊需求请联系厂家，谢谢。"));
    return message;
}

const QByteArray &notHexMessage()
{
    static const QByteArray message =
        gbkLine(QStringLiteral(" 请输入有效[0-9 A-F]的十六进制数据，然后按《确定》"));
    return message;
}

const QByteArray &oddDigitCountMessage()
{
    static const QByteArray message =
        gbkLine(QStringLiteral("请输入偶数位有效的十六进制数据0-9，A-F。"));
    return message;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower case included: the digits must be upper case
}

EncodedPayload fromMessage(const QByteArray &message)
{
    return EncodedPayload{QByteArray(), message};
}

EncodedPayload encodeHex(const QByteArray &payloadText)
{
    const QByteArray digits = gbk::RemoveAllSpaces(payloadText);
    for (const char c : digits) {
        if (hexDigitValue(c) < 0)
            return fromMessage(notHexMessage());
    }
    // The length is judged before the parity, so 511 digits are too many rather than odd.
    if (digits.size() > 2 * maxPayloadBytes)
        return fromMessage(tooLongMessage());
    if (digits.size() % 2 != 0)
        return fromMessage(oddDigitCountMessage());

    EncodedPayload payload;
    payload.bytes.resize(digits.size() / 2);
    char *out = payload.bytes.data();
    for (qsizetype i = 0; i < digits.size(); i += 2)
        *out++ = static_cast<char>(hexDigitValue(digits[i]) * 16 + hexDigitValue(digits[i + 1]));
    return payload;
}

} // namespace

QList<QByteArray> EncodedPayload::byteTexts() const
{
    QList<QByteArray> texts;
    texts.reserve(bytes.size());
    for (const char byte : bytes)
        texts.append(TwoHexDigits(static_cast<unsigned char>(byte)));
    return texts;
}

EncodedPayload EncodePayload(const QByteArray &payloadText, PayloadMode mode)
{
    if (payloadText.isEmpty())
        return fromMessage(emptyPayloadMessage());
    if (mode == PayloadMode::Hex)
        return encodeHex(payloadText);
    if (payloadText.size() > maxPayloadBytes)
        return fromMessage(tooLongMessage());
    return EncodedPayload{payloadText, QByteArray()};
}

} // namespace cordanex
