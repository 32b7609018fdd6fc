#include "DemoPlot.h"

#include "plot/QuarnPlotLayout.h"

#include <QPaintDevice>
#include <QPainter>

DemoPlot::DemoPlot(int paneCount)
{
    m_Margins.Left = 62;
    m_Margins.Right = 40;
    m_XLabelWidth = 90;
    m_YLabelWidth = 58;
    SetPaneCount(paneCount);
    resize(720, 440);
    InitResources();
}

void DemoPlot::SnapCursorPoint(PlotPoint& point)
{
    const PlotRect pane = GetPlotRectAt(point.x, point.y);
    if (!pane.IsEmpty())
        point.y = pane.top + kPulledRow;
}

void DemoPlot::UpdateSpan()
{
    // Keeps the span the scroll bar chose; 0 … 100 until it chooses one.
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
    static int prints = 0;
    if (m_Printing)
        Printed.push_back({m_LabelFontHeight, m_Areas, ++prints});
    TPlotBase::Redraw(dc, flag, clip);
}

void DemoPlot::LayoutPlotAreas(QPainter& dc, PrintOpts options)
{
    // As the spectrum plot lays out its page.
    QPaintDevice* page = dc.device();
    m_Areas = PrintedPlotAreas(page->width(), page->height(), page->logicalDpiX(), page->logicalDpiY(), options,
                               m_PaneCount);
}
