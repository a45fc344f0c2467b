#pragma once

// The hex-text codec: IR data travels as bytes on the link and as hex text in the boxes and on
// the clipboard. Every text here is GBK; lengths and pairs count bytes.

#include <QByteArray>

namespace lumetra {

// Pairs of characters from the start, the first of each pair the high nibble. A last odd
// character is ignored and every character that is not a hex digit counts as 0, so the
// conversion never fails.
QByteArray HexTextToBytes(const QByteArray &text);

// Two upper-case hex digits per byte, nothing between them.
QByteArray BytesToHexText(const QByteArray &bytes);

// The central-control code forms of a text: spaces removed (by GBK characters), then its
// pairs as they stand, each after "\x" (escaped) or joined by single spaces (spaced). A last
// odd byte is dropped; nothing is validated and lower case stays lower case.
QByteArray ToEscapedHex(const QByteArray &text);
QByteArray ToSpacedHex(const QByteArray &text);

} // namespace lumetra
