#pragma once

#include <QByteArray>

namespace cordanex {

// A number as the last two characters of "00" followed by its upper-case hexadecimal digits:
// 1 gives "01", 10 gives "0A", 255 gives "FF", 256 gives "00". Every code and byte that the
// assistant writes is written this way.
QByteArray TwoHexDigits(int value);

// The same two characters written at out, for text built in place; returns the position
// after them.
char *writeTwoHexDigits(char *out, int value);

// The same two characters appended to text.
void appendTwoHexDigits(QByteArray &text, int value);

} // namespace cordanex
