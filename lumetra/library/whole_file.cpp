#include "library/whole_file.h"

#include <QFile>
#include <QSaveFile>

namespace lumetra {

QByteArray readWholeFile(const QString &path)
{
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeWholeFile(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The bytes go out at the flush; a failure there (disk full) sets the device's error but
    // does not stop commit() from putting the short file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace lumetra
