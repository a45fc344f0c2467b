#pragma once

#include <QIcon>
#include <QImage>
#include <QPalette>

class QApplication;

namespace cordanex {

// The frame colour of the olive-green scheme that the assistant's controls are drawn in.
inline constexpr QRgb oliveFrameColour = qRgb(164, 185, 127);

// The controls' palette in the olive-green scheme, over the system's window colour.
QPalette olivePalette(const QPalette &systemPalette);

// Switches the whole application to the olive-green look: the Fusion style, which paints
// from the palette, with olivePalette().
void installOliveLook(QApplication &application);

// The application icon, drawn at start-up: one 128 x 128 image, 32-bit colour with alpha.
QImage applicationIconImage();
QIcon applicationIcon();

} // namespace cordanex
