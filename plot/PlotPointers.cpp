#include "plot/PlotPointers.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace {

constexpr int kSize = 32;

// Desktops cannot invert the screen under a colour pointer, so each line is
// black on a white halo to stay visible over dark and light plots alike.
class PointerCanvas {
public:
    explicit PointerCanvas(qreal ratio) : Ratio(ratio)
    {
        const int side = static_cast<int>(std::ceil(kSize * ratio));
        Pixmap = QPixmap(side, side);
        Pixmap.setDevicePixelRatio(ratio);
        Pixmap.fill(Qt::transparent);
    }

    void Line(int x0, int y0, int x1, int y1)
    {
        Halo.push_back(QRect(QPoint(x0 - 1, y0 - 1), QPoint(x1 + 1, y1 + 1)));
        Core.push_back(QRect(QPoint(x0, y0), QPoint(x1, y1)));
    }

    QCursor Cursor(int hotX, int hotY)
    {
        QPainter painter(&Pixmap);
        for (const QRect& r : Halo)
            painter.fillRect(r, Qt::white);
        for (const QRect& r : Core)
            painter.fillRect(r, Qt::black);
        painter.end();
        return QCursor(Pixmap, hotX, hotY);
    }

private:
    qreal Ratio;
    QPixmap Pixmap;
    std::vector<QRect> Halo;
    std::vector<QRect> Core;
};

} // namespace

PlotPointers CreatePlotPointers(qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    PlotPointers pointers;

    // A cross 19 pixels wide and high, centred on the hot spot (15, 15).
    PointerCanvas plot(ratio);
    plot.Line(6, 15, 24, 15);
    plot.Line(15, 6, 15, 24);
    pointers.Plot = plot.Cursor(15, 15);

    pointers.Drag = QCursor(Qt::BlankCursor);

    // A 5-pixel cross on the hot spot (4, 4) and a 20 by 20 frame below and
    // right of it, the outline of the selection to come.
    PointerCanvas zoom(ratio);
    zoom.Line(2, 4, 6, 4);
    zoom.Line(4, 2, 4, 6);
    zoom.Line(9, 9, 28, 9);
    zoom.Line(9, 28, 28, 28);
    zoom.Line(9, 9, 9, 28);
    zoom.Line(28, 9, 28, 28);
    pointers.Zoom = zoom.Cursor(4, 4);

    pointers.Arrow = QCursor(Qt::ArrowCursor);
    return pointers;
}
