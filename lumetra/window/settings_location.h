#pragma once

#include <QString>

namespace lumetra {

// The one settings file of the tool on this machine.
QString settingsFilePath();

} // namespace lumetra
