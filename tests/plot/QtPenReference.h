#pragma once
// The picture a wide trace should give: the points drawn as one polyline by
// Qt's own stroker with a 2-pixel pen, clipped as the plot clips its pane.

#include "plot/PlotPoint.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRect>

#include <vector>

inline void DrawWithQtPen(QImage& image, const std::vector<PlotPoint>& points, const QRect& clip, QRgb ink)
{
    QPainter dc(&image);
    dc.setClipRect(clip);
    QPen pen(QColor::fromRgb(ink));
    pen.setWidth(2);
    dc.setPen(pen);
    QPolygon polygon;
    for (const PlotPoint& p : points)
        polygon << QPoint(p.x, p.y);
    dc.drawPolyline(polygon);
}
