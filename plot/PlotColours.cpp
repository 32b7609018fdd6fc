#include "plot/PlotColours.h"

#include <QPainter>
#include <QPrinter>

#include <cstdlib>

std::uint32_t VisibleColour(std::uint32_t colour, std::uint32_t background)
{
    constexpr int kTooClose = 0x30;
    bool close = true;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((colour >> shift) & 0xFF);
        const int b = static_cast<int>((background >> shift) & 0xFF);
        close = close && std::abs(a - b) <= kTooClose;
    }
    if (!close)
        return colour;
    // Rec. 601 luma of the background, red in the low byte.
    const int luma = (299 * static_cast<int>(background & 0xFF) + 587 * static_cast<int>((background >> 8) & 0xFF)
                      + 114 * static_cast<int>((background >> 16) & 0xFF))
                   / 1000;
    return luma < 128 ? 0xFFFFFFu : 0x000000u;
}

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
