#include "builder/hex_digits.h"

namespace cordanex {

char *writeTwoHexDigits(char *out, int value)
{
    // The last two hexadecimal digits of a number are those of its lowest byte; a negative
    // number reads as its two's complement.
    static constexpr char digits[] = "0123456789ABCDEF";
    const unsigned lowByte = static_cast<unsigned>(value) & 0xFFu;
    out[0] = digits[lowByte >> 4];
    out[1] = digits[lowByte & 0x0Fu];
    return out + 2;
}

void appendTwoHexDigits(QByteArray &text, int value)
{
    char pair[2];
    writeTwoHexDigits(pair, value);
    text.append(pair, 2);
}

QByteArray TwoHexDigits(int value)
{
    QByteArray text(2, Qt::Uninitialized);
    writeTwoHexDigits(text.data(), value);
    return text;
}

} // namespace cordanex
