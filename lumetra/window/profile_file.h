#pragma once

// Profile strings: one key of one section of an INI file in GBK, read or written on its own.
// Section and key names match without regard to the case of ASCII letters.

#include <QByteArray>
#include <QString>

namespace lumetra {

// The most a read yields, in bytes.
constexpr qsizetype maxProfileValueSize = 10239;

// The value of section/key, or empty text when the file, the section or the key is missing.
// A longer value is cut to maxProfileValueSize bytes, never inside a two-byte character.
QByteArray readProfileString(const QString &filePath, const QByteArray &section,
                             const QByteArray &key);

// Sets section/key to value, creating the file, the section or the key as needed. Every other
// line of the file stays as it was. False when the file cannot be read or written.
bool writeProfileString(const QString &filePath, const QByteArray &section, const QByteArray &key,
                        const QByteArray &value);

// The same two operations on the file's content.
QByteArray profileValue(const QByteArray &content, const QByteArray &section,
                        const QByteArray &key);
QByteArray withProfileValue(const QByteArray &content, const QByteArray &section,
                            const QByteArray &key, const QByteArray &value);

} // namespace lumetra
