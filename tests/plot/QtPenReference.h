#pragma once
// The picture a trace should give: the points drawn as one polyline by Qt's
// own stroker (a 2-pixel pen unless told), clipped as the plot clips its pane.

#include "plot/PlotPoint.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRect>

#include <vector>

inline void DrawWithQtPen(QImage& image, const std::vector<PlotPoint>& points, const QRect& clip, QRgb ink,
                          int width = 2)
{
    QPainter dc(&image);
    dc.setClipRect(clip);
    QPen pen(QColor::fromRgb(ink));
    pen.setWidth(width);
    dc.setPen(pen);
    QPolygon polygon;
    for (const PlotPoint& p : points)
        polygon << QPoint(p.x, p.y);
    dc.drawPolyline(polygon);
}

// Within `area`: the pixels of `ink` in the reference, and the pixels where
// the picture and the reference disagree about that ink.
struct InkAgreement {
    int inked = 0;
    int differ = 0;
};

inline InkAgreement CompareInk(const QImage& shown, const QImage& reference, const QRect& area, QRgb ink)
{
    InkAgreement a;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const bool expected = reference.pixel(x, y) == ink;
            a.inked += expected ? 1 : 0;
            a.differ += expected != (shown.pixel(x, y) == ink) ? 1 : 0;
        }
    return a;
}
