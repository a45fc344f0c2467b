#pragma once

// What the main window reaches outside itself, gathered so that a test can replace it: the
// settings file, the pinger and the period of the liveness check.

#include "library/user_dialogs.h"

#include <QString>

#include <memory>

namespace lumetra {

class Pinger;

struct WindowServices
{
    QString settingsPath;
    std::shared_ptr<Pinger> pinger;
    // Period of the liveness check while the link is up, in milliseconds.
    int livenessPeriodMs = 3000;
    // The code library's message boxes and file dialog.
    std::shared_ptr<UserDialogs> dialogs = makeDesktopDialogs();
};

// The desktop's services: the fixed settings file and the system's ICMP echo.
WindowServices desktopServices();

} // namespace lumetra
