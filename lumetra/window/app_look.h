#pragma once

// The tool's look: the application icon and the silver colour scheme.

#include <QIcon>

namespace lumetra {

// A 32 x 32 picture in 16 colours: a remote control sending an infrared beam.
QIcon applicationIcon();

// Switches every window of the program to the silver scheme.
void applySilverLook();

} // namespace lumetra
