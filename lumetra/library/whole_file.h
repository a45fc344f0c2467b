#pragma once

// Files read and written whole, as the IR database and the settings file are.

#include <QByteArray>
#include <QString>

namespace lumetra {

// The whole content of a file; a missing or unreadable file, or an empty name, gives no bytes.
QByteArray readWholeFile(const QString &path);

// Replaces the file's content atomically: on failure the old file stays whole. Returns whether
// the new content was committed.
bool writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace lumetra
