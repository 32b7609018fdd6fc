#include "DemoPlot.h"

#include "plot/PlotMarkLines.h"

#include <QPainter>
#include <QPaintDevice>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

QRect ToQRect(const PlotRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

} // namespace

DemoPlot::DemoPlot(int paneCount)
{
    m_Margins.Left = 62;
    m_Margins.Right = 40;
    m_XLabelWidth = 90;
    m_YLabelWidth = 58;
    m_XFormat = 4;
    m_YFormat = 2;
    m_XUnit = " Hz";
    // The level readout carries no unit, as the spectrum plot's does not.
    SetPaneCount(paneCount);
    resize(720, 440);
    InitResources();
}

float DemoPlot::LevelAt(int pane, float hz) const
{
    // A tone 40 Hz wide at 1 kHz (1.5 kHz in pane 2) over a -100 dB floor.
    const double offset = (hz - (pane == 1 ? 1000.0 : 1500.0)) / 40.0;
    return static_cast<float>(10.0 * std::log10(1e-10 + 0.25 * std::exp(-offset * offset)));
}

float DemoPlot::HzPerPixel(const PlotRect& pane) const
{
    return pane.Width() > 0 ? kTopHz / pane.Width() : 0.0f;
}

int DemoPlot::ColumnOf(const PlotRect& pane, float hz) const
{
    const float perPixel = HzPerPixel(pane);
    return perPixel > 0.0f ? static_cast<int>(std::lround(hz / perPixel)) : 0;
}

int DemoPlot::RowOf(const PlotRect& pane, float db) const
{
    const float fraction = std::clamp((kTopDb - db) / kRangeDb, 0.0f, 1.0f);
    return pane.top + static_cast<int>(fraction * (pane.Height() - 1));
}

float DemoPlot::GetXValueAt(int x, int y)
{
    const PlotRect pane = GetPlotRectAt(x, y);
    return pane.IsEmpty() ? 0.0f : (x - pane.left) * HzPerPixel(pane);
}

float DemoPlot::GetYValueAt(int x, int y)
{
    const PlotRect pane = GetPlotRectAt(x, y);
    if (pane.IsEmpty() || pane.Height() < 2)
        return 0.0f;
    return kTopDb - (y - pane.top) * kRangeDb / (pane.Height() - 1);
}

void DemoPlot::SnapCursorPoint(PlotPoint& point)
{
    // Onto the trace, as the spectrum plot's pull to the trace does.
    const PlotRect pane = GetPlotRectAt(point.x, point.y);
    if (pane.IsEmpty())
        return;
    const int index = pane == m_Areas.Pane2 && m_PaneCount == 2 ? 2 : 1;
    point.y = RowOf(pane, LevelAt(index, GetXValueAt(point.x, point.y)));
}

void DemoPlot::ZoomToRect(const PlotRect& zoomRect)
{
    Zoomed.push_back(zoomRect);
    TPlotBase::ZoomToRect(zoomRect);
}

void DemoPlot::UpdateSpan()
{
    // Keeps the span the scroll bar chose; 0 … 100 until it chooses one.
    ++SpanUpdates;
    if (m_SpanEnd <= m_SpanStart) {
        m_SpanStart = 0;
        m_SpanEnd = 100;
    }
}

void DemoPlot::UpdateScrollRange()
{
    m_ScrollMax = 400;
}

void DemoPlot::Redraw(QPainter& dc, bool flag, const PlotRect& clip)
{
    if (m_Printing)
        Printed.push_back({m_LabelFontHeight, m_Printing, m_Areas});
    DrawPane(dc, m_Areas.Pane1, 1);
    if (m_PaneCount == 2)
        DrawPane(dc, m_Areas.Pane2, 2);
    TPlotBase::Redraw(dc, flag, clip);
    DrawWatermark(dc, m_Areas.Plot, clip);
}

void DemoPlot::DrawPane(QPainter& dc, const PlotRect& pane, int index)
{
    if (pane.IsEmpty())
        return;
    // The trace: the level at each pixel column.
    QPolygonF points;
    for (int c = 0; c < pane.Width(); ++c)
        points << QPointF(pane.left + c + 0.5, RowOf(pane, LevelAt(index, c * HzPerPixel(pane))) + 0.5);
    dc.save();
    dc.fillRect(ToQRect(pane), m_Printing ? QColor(Qt::white) : QColor(Qt::black));
    dc.setClipRect(ToQRect(pane));
    dc.setPen(m_Printing ? QColor(Qt::black) : QColor(0, 230, 0));
    dc.drawPolyline(points);
    dc.restore();
}

void DemoPlot::LayoutPlotAreas(QPainter& dc, PrintOpts options)
{
    // A page layout in the spirit of the spectrum plot's: the margins in
    // inches, a little more room for the axes.
    QPaintDevice* page = dc.device();
    const int x = page->logicalDpiX();
    const int y = page->logicalDpiY();
    const PlotRect plot{static_cast<int>(options.MarginLeft * x + 0.75 * x),
                        static_cast<int>(options.MarginTop * y + 1.2 * y),
                        static_cast<int>(page->width() - options.MarginRight * x - 1.5 * x),
                        static_cast<int>(page->height() - options.MarginBottom * y - 0.5 * y)};
    m_Areas.Plot = plot;
    m_Areas.Pane1 = plot;
    if (m_PaneCount == 2) {
        const int h = plot.Height() - (plot.Height() / 2 + y / 10);
        m_Areas.Pane1 = {plot.left, plot.top, plot.right, plot.top + h};
        m_Areas.Pane2 = {plot.left, plot.bottom - h, plot.right, plot.bottom};
    }
}
