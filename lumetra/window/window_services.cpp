#include "window/window_services.h"

#include "link/pinger.h"
#include "window/settings_location.h"

#include <QDir>
#include <QFileInfo>

namespace lumetra {

WindowServices desktopServices()
{
    WindowServices services;
    services.settingsPath = settingsFilePath();
    // The file's folder may not exist yet on a fresh desktop; the file itself is created on
    // the first write.
    QDir().mkpath(QFileInfo(services.settingsPath).absolutePath());
    services.pinger = makeSystemPinger();
    return services;
}

} // namespace lumetra
