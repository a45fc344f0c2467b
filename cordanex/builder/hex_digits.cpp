#include "builder/hex_digits.h"

namespace cordanex {

void appendTwoHexDigits(QByteArray &text, int value)
{
    // The last two hexadecimal digits of a number are those of its lowest byte; a negative
    // number reads as its two's complement.
    static constexpr char digits[] = "0123456789ABCDEF";
    const unsigned lowByte = static_cast<unsigned>(value) & 0xFFu;
    text.append(digits[lowByte >> 4]);
    text.append(digits[lowByte & 0x0Fu]);
}

QByteArray TwoHexDigits(int value)
{
    QByteArray text;
    text.reserve(2);
    appendTwoHexDigits(text, value);
    return text;
}

} // namespace cordanex
