#include "plot/PlotMarkPainter.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace {

QRect ToQRect(const PlotRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// The pixels a line covers from its start up to, not including, its end.
PlotRect AxisAlignedPixels(const PlotMarkLine& line)
{
    const PlotPoint a = line.From;
    const PlotPoint b = line.To;
    if (a.y == b.y) {
        const int first = a.x < b.x ? a.x : b.x + 1;
        const int last = a.x < b.x ? b.x : a.x + 1;
        return {first, a.y, last, a.y + 1};
    }
    const int first = a.y < b.y ? a.y : b.y + 1;
    const int last = a.y < b.y ? b.y : a.y + 1;
    return {a.x, first, a.x + 1, last};
}

PlotRect Intersection(const PlotRect& a, const PlotRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

} // namespace

void InvertMarkLines(QPainter& painter, const PlotMarkLines& lines)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    for (const PlotMarkLine& line : lines) {
        if (line.From == line.To)
            continue;
        if (line.From.x == line.To.x || line.From.y == line.To.y) {
            // Filled as whole pixels, so the line stays one crisp pixel at
            // any screen density.
            PlotRect pixels = AxisAlignedPixels(line);
            if (!line.Clip.IsEmpty())
                pixels = Intersection(pixels, line.Clip);
            if (!pixels.IsEmpty())
                painter.fillRect(ToQRect(pixels), Qt::black);
            continue;
        }
        painter.save();
        if (!line.Clip.IsEmpty())
            painter.setClipRect(ToQRect(line.Clip));
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(line.From.x, line.From.y, line.To.x, line.To.y);
        painter.restore();
    }
    painter.restore();
}

void DrawReadoutLabel(QPainter& painter, const PlotRect& rect, const QString& text, const QFont& font)
{
    if (rect.IsEmpty())
        return;
    painter.save();
    const QRect outer = ToQRect(rect);
    painter.fillRect(outer, Qt::black);
    painter.fillRect(outer.adjusted(1, 1, -1, -1), Qt::white);
    painter.setClipRect(outer);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(outer.adjusted(0, 1, 0, 0), Qt::AlignHCenter | Qt::AlignTop, text);
    painter.restore();
}
