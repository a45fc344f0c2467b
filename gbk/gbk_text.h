#pragma once

// GBK (code page 936) byte-string text, the form in which both tools keep every text.
// A byte of 0x80 or above starts a two-byte character; every length, position and pair
// counts bytes. Qt's text widgets hold LF for a line break, the GBK text holds CR LF.

#include <QByteArray>
#include <QString>

namespace gbk {

// The conversion between Qt's text and GBK bytes. A character without a GBK form becomes
// '?'; bytes that are not valid GBK become U+FFFD on the way back.
QByteArray fromUnicode(const QString &text);
QString toUnicode(const QByteArray &bytes);

// The same conversion for the text of a multi-line box: LF in the widget is CR LF in the
// GBK text, and CR LF in the GBK text is LF in the widget.
QByteArray fromEditorText(const QString &text);
QString toEditorText(const QByteArray &bytes);

inline bool isLeadByte(char byte)
{
    return static_cast<unsigned char>(byte) >= 0x80;
}

// Size in bytes of the character starting at pos: 2 for a lead byte with a byte after it,
// 1 otherwise (ASCII, or a lead byte at the very end, which is one incomplete character).
inline qsizetype characterSize(const QByteArray &text, qsizetype pos)
{
    return (isLeadByte(text[pos]) && pos + 1 < text.size()) ? 2 : 1;
}

// True when a space character (ASCII 20, or the full-width A1 A1) starts at pos, which must
// be the start of a character.
bool isSpaceAt(const QByteArray &text, qsizetype pos);

// The text with every space removed, scanning by GBK characters.
QByteArray RemoveAllSpaces(const QByteArray &text);

// The text without its leading and trailing spaces, scanning by GBK characters.
QByteArray TrimSpaces(const QByteArray &text);

} // namespace gbk
