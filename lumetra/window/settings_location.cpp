#include "window/settings_location.h"

#include <QStandardPaths>

namespace lumetra {

QString settingsFilePath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/Lumetra.ini");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Lumetra.ini");
#endif
}

} // namespace lumetra
