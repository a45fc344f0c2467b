#include "window/olive_look.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>

namespace cordanex {

QPalette olivePalette(const QPalette &systemPalette)
{
    const QColor frame(oliveFrameColour);
    QPalette palette = systemPalette;
    // Button faces are a light wash of the frame colour, as in the olive scheme, so that
    // black captions keep their contrast; selections and focus take the frame colour itself.
    const auto wash = [&frame](int whiteParts) {
        const int parts = whiteParts + 1;
        return QColor::fromRgb((frame.red() + whiteParts * 255) / parts,
                               (frame.green() + whiteParts * 255) / parts,
                               (frame.blue() + whiteParts * 255) / parts);
    };
    const QColor face = wash(1);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::ButtonText, Qt::black);
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Text, Qt::black);
        palette.setColor(group, QPalette::WindowText, Qt::black);
        palette.setColor(group, QPalette::Highlight, frame.darker(135));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Light, face.lighter(110));
        palette.setColor(group, QPalette::Midlight, face);
        palette.setColor(group, QPalette::Mid, frame);
        palette.setColor(group, QPalette::Dark, frame.darker(150));
    }
    palette.setColor(QPalette::Disabled, QPalette::Button, wash(3));
    return palette;
}

void installOliveLook(QApplication &application)
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion); // the application takes ownership
    application.setPalette(olivePalette(QApplication::palette()));
}

QImage applicationIconImage()
{
    constexpr int size = 128;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // An olive tile with a light output sheet on it, carrying lines of hex pairs.
    const QColor frame(oliveFrameColour);
    QLinearGradient tile(0, 0, 0, size);
    tile.setColorAt(0, frame.lighter(115));
    tile.setColorAt(1, frame.darker(140));
    painter.setPen(QPen(frame.darker(170), 3));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(4, 4, size - 8, size - 8), 20, 20);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 252, 244));
    painter.drawRoundedRect(QRectF(20, 22, 88, 84), 8, 8);

    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setBold(true);
    font.setPixelSize(19);
    painter.setFont(font);
    painter.setPen(frame.darker(220));
    painter.drawText(QRectF(20, 28, 88, 24), Qt::AlignCenter, QStringLiteral("EE B3"));
    painter.setPen(frame.darker(160));
    painter.drawText(QRectF(20, 52, 88, 24), Qt::AlignCenter, QStringLiteral("41 42"));
    painter.setPen(frame.darker(220));
    painter.drawText(QRectF(20, 76, 88, 24), Qt::AlignCenter, QStringLiteral("FF FC"));
    painter.end();

    return image.convertToFormat(QImage::Format_ARGB32);
}

QIcon applicationIcon()
{
    return QIcon(QPixmap::fromImage(applicationIconImage()));
}

} // namespace cordanex
