#include "plot/PlotColours.h"

#include <QPainter>
#include <QPrinter>

bool IsColourPage(QPainter& dc)
{
    const auto* printer = dynamic_cast<const QPrinter*>(dc.device());
    return printer == nullptr || printer->colorMode() == QPrinter::Color;
}

Qt::PenStyle MonochromeTraceStyle(int traceId)
{
    switch (traceId) {
    case 0: return Qt::DashLine;
    case 1: return Qt::DotLine;
    case 2: return Qt::DashDotLine;
    case 3: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

Qt::PenStyle MonochromeOverlayStyle(int row)
{
    constexpr Qt::PenStyle kStyles[] = {Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine,
                                        Qt::DashLine, Qt::DotLine, Qt::DashDotDotLine};
    return row >= 0 && row < 7 ? kStyles[row] : Qt::SolidLine;
}
