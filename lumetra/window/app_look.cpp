#include "window/app_look.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyleFactory>

#include <array>

namespace lumetra {

namespace {

// The sixteen colours of the icon; the first is the transparent background.
constexpr std::array<QRgb, 16> iconColours = {
    0x00000000, 0xFF000000, 0xFF404048, 0xFF707078, 0xFFA8A8B0, 0xFFE0E0E8, 0xFFFF0000, 0xFF800000,
    0xFFFFFF00, 0xFF00C000, 0xFF0060FF, 0xFFFFFFFF, 0xFF00FFFF, 0xFFFF8000, 0xFF8000FF, 0xFF008080,
};

enum Colour : std::size_t {
    Outline = 1,
    Body = 2,
    Key = 3,
    Edge = 4,
    Light = 5,
    Red = 6,
    DarkRed = 7,
    Green = 9,
    Blue = 10,
    White = 11,
};

QColor colour(Colour index)
{
    return QColor::fromRgba(iconColours[index]);
}

QImage drawIcon()
{
    QImage canvas(32, 32, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);

        // The remote control, standing a little to the left.
        painter.setPen(colour(Outline));
        painter.setBrush(colour(Body));
        painter.drawRoundedRect(4, 10, 13, 21, 2, 2);
        painter.setPen(colour(Edge));
        painter.drawLine(5, 12, 5, 28);
        painter.fillRect(7, 7, 7, 3, colour(DarkRed));
        painter.fillRect(8, 7, 5, 2, colour(Red));
        painter.fillRect(7, 13, 3, 2, colour(Red));
        painter.fillRect(12, 13, 3, 2, colour(Green));
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column)
                painter.fillRect(7 + column * 3, 17 + row * 3, 2, 2,
                                 row == 3 && column == 1 ? colour(Blue) : colour(Light));
        }
        painter.fillRect(7, 28, 8, 1, colour(Key));

        // The beam: three arcs spreading up and to the right from the emitter.
        painter.setBrush(Qt::NoBrush);
        for (int ring = 0; ring < 3; ++ring) {
            const int radius = 6 + ring * 5;
            painter.setPen(QPen(ring == 1 ? colour(DarkRed) : colour(Red), 2));
            painter.drawArc(QRect(10 - radius, 8 - radius, 2 * radius, 2 * radius), 0 * 16,
                            80 * 16);
        }
        painter.setPen(colour(White));
        painter.drawPoint(9, 7);
    }

    QImage icon(32, 32, QImage::Format_Indexed8);
    icon.setColorTable(QList<QRgb>(iconColours.begin(), iconColours.end()));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb pixel = canvas.pixel(x, y);
            std::size_t best = 0;
            if (qAlpha(pixel) != 0) {
                int bestDistance = INT_MAX;
                for (std::size_t i = 1; i < iconColours.size(); ++i) {
                    const QRgb c = iconColours[i];
                    const int distance = std::abs(qRed(c) - qRed(pixel)) +
                                         std::abs(qGreen(c) - qGreen(pixel)) +
                                         std::abs(qBlue(c) - qBlue(pixel));
                    if (distance < bestDistance) {
                        bestDistance = distance;
                        best = i;
                    }
                }
            }
            icon.setPixel(x, y, uint(best));
        }
    }
    return icon;
}

} // namespace

QIcon applicationIcon()
{
    return QIcon(QPixmap::fromImage(drawIcon()));
}

void applySilverLook()
{
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);

    QPalette silver;
    silver.setColor(QPalette::Window, QColor(0xE3, 0xE3, 0xE8));
    silver.setColor(QPalette::WindowText, QColor(0x10, 0x10, 0x18));
    silver.setColor(QPalette::Base, Qt::white);
    silver.setColor(QPalette::AlternateBase, QColor(0xF2, 0xF2, 0xF5));
    silver.setColor(QPalette::Button, QColor(0xEC, 0xEC, 0xF0));
    silver.setColor(QPalette::ButtonText, QColor(0x10, 0x10, 0x18));
    silver.setColor(QPalette::Light, Qt::white);
    silver.setColor(QPalette::Midlight, QColor(0xF4, 0xF4, 0xF7));
    silver.setColor(QPalette::Mid, QColor(0xB4, 0xB4, 0xBE));
    silver.setColor(QPalette::Dark, QColor(0x9C, 0x9C, 0xA8));
    silver.setColor(QPalette::Shadow, QColor(0x60, 0x60, 0x6C));
    silver.setColor(QPalette::Highlight, QColor(0x9C, 0xA4, 0xBC));
    silver.setColor(QPalette::HighlightedText, Qt::black);
    silver.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    silver.setColor(QPalette::ToolTipText, Qt::black);
    QApplication::setPalette(silver);
}

} // namespace lumetra
