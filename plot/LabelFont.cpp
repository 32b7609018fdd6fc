#include "plot/LabelFont.h"

#include <QFontMetrics>
#include <QPaintDevice>

QFont CreateLabelFont(int cellHeight, QPaintDevice* device)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    const int height = std::max(1, cellHeight);
    // The stand-in fonts of Linux desktops have taller lines than Arial for
    // the same size, so step the size down until the line fits the cell.
    int size = height;
    for (; size > 1; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics = device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
        if (metrics.height() <= height)
            break;
    }
    font.setPixelSize(size);
    return font;
}
