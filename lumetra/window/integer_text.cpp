#include "window/integer_text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumetra {

namespace {

bool isAsciiWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isFullWidthSpace(const QByteArray &text, qsizetype pos)
{
    return pos + 1 < text.size() && static_cast<unsigned char>(text[pos]) == 0xA1 &&
           static_cast<unsigned char>(text[pos + 1]) == 0xA1;
}

// The digit value at pos and the number of bytes it takes, or -1 when no digit starts there.
int digitAt(const QByteArray &text, qsizetype pos, qsizetype *size)
{
    const char c = text[pos];
    if (c >= '0' && c <= '9') {
        *size = 1;
        return c - '0';
    }
    if (pos + 1 < text.size() && static_cast<unsigned char>(c) == 0xA3) {
        const auto second = static_cast<unsigned char>(text[pos + 1]);
        if (second >= 0xB0 && second <= 0xB9) {
            *size = 2;
            return second - 0xB0;
        }
    }
    return -1;
}

} // namespace

int textToInteger(const QByteArray &text)
{
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (isAsciiWhiteSpace(text[pos]))
            ++pos;
        else if (isFullWidthSpace(text, pos))
            pos += 2;
        else
            break;
    }

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    constexpr std::int64_t limit = std::int64_t(std::numeric_limits<int>::max()) + 1;
    std::int64_t value = 0;
    qsizetype size = 0;
    for (int digit; pos < text.size() && (digit = digitAt(text, pos, &size)) >= 0; pos += size)
        value = std::min(value * 10 + digit, limit);

    if (negative)
        return static_cast<int>(-value);
    return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

} // namespace lumetra
