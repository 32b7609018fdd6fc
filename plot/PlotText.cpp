#include "plot/PlotText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

int DrawTextAt(QPainter& dc, int x, int y, TextAnchor anchor, const QString& text)
{
    const QFontMetrics metrics = dc.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    int left = x;
    if (anchor == TextAnchor::Centre)
        left = x - width / 2;
    else if (anchor == TextAnchor::Right)
        left = x - width;
    dc.drawText(QPoint(left, y + metrics.ascent()), text);
    return width;
}
