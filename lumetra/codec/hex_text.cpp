#include "codec/hex_text.h"

#include "gbk/gbk_text.h"

namespace lumetra {

namespace {

int nibbleValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

// The pairs of the space-free text, each preceded by prefix and followed by separator except
// the last.
QByteArray joinPairs(const QByteArray &text, const QByteArray &prefix, char separator)
{
    const QByteArray u = gbk::RemoveAllSpaces(text);
    const qsizetype pairs = u.size() / 2;
    QByteArray out;
    out.reserve(pairs * (prefix.size() + 3));
    for (qsizetype i = 0; i < pairs; ++i) {
        if (i > 0 && separator != '\0')
            out.append(separator);
        out.append(prefix);
        out.append(u.constData() + 2 * i, 2);
    }
    return out;
}

} // namespace

QByteArray HexTextToBytes(const QByteArray &text)
{
    const qsizetype count = text.size() / 2;
    QByteArray out(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i) {
        const int value = 16 * nibbleValue(text[2 * i]) + nibbleValue(text[2 * i + 1]);
        out[i] = static_cast<char>(value);
    }
    return out;
}

QByteArray BytesToHexText(const QByteArray &bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    QByteArray out(bytes.size() * 2, Qt::Uninitialized);
    char *dst = out.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *dst++ = digits[value >> 4];
        *dst++ = digits[value & 0x0F];
    }
    return out;
}

QByteArray ToEscapedHex(const QByteArray &text)
{
    return joinPairs(text, QByteArrayLiteral("\\x"), '\0');
}

QByteArray ToSpacedHex(const QByteArray &text)
{
    return joinPairs(text, QByteArray(), ' ');
}

} // namespace lumetra
