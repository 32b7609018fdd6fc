#include "plot/QuarnPlotLayout.h"

#include "settings/PrintOpts.h"
#include "settings/SpectrumOpts.h"

#include <cmath>

using namespace quarn_layout;

int QuarnRightMargin(const SpectrumOpts& options)
{
    int margin = kBaseRightMargin;
    if (options.ShowOverlayControls != 0)
        margin += kLegendCharWidth * options.OverlayLegendSize;
    if (options.ShowPowerMeter != 0)
        margin += kPowerMeterWidth;
    return margin;
}

PlotMargins QuarnScreenMargins(const SpectrumOpts& options)
{
    PlotMargins margins;
    margins.ToolStripHeight = options.ShowToolbar != 0 ? kToolStripHeight : 0;
    margins.Top = margins.ToolStripHeight + kTitleBand;
    margins.Bottom = 33;
    margins.Left = kLeftMargin;
    margins.Right = QuarnRightMargin(options);
    margins.PaneGap = kPaneGap;
    return margins;
}

PlotAreas PrintedPlotAreas(int pageWidth, int pageHeight, int dotsPerInchX, int dotsPerInchY,
                           const PrintOpts& options, int paneCount)
{
    const double X = dotsPerInchX;
    const double Y = dotsPerInchY;
    const int marginLeft = static_cast<int>(options.MarginLeft * X);
    const int marginRight = static_cast<int>(options.MarginRight * X);
    const int marginTop = static_cast<int>(options.MarginTop * Y);
    const int marginBottom = static_cast<int>(options.MarginBottom * Y);

    PlotAreas areas;
    PlotRect& plot = areas.Plot;
    plot.top = static_cast<int>(marginTop + 1.2 * Y);
    plot.bottom = static_cast<int>(pageHeight - marginBottom - 0.5 * Y);
    plot.left = static_cast<int>(marginLeft + 0.75 * X);
    plot.right = static_cast<int>(pageWidth - marginRight - 1.5 * X);
    if (paneCount != 2) {
        areas.Pane1 = plot;
        return areas;
    }
    const int height = plot.Height() - (plot.Height() / 2 + dotsPerInchY / 10);
    areas.Pane1 = {plot.left, plot.top, plot.right, plot.top + height};
    areas.Pane2 = {plot.left, plot.bottom - height, plot.right, plot.bottom};
    return areas;
}

int ToolButtonX(std::uint32_t id)
{
    switch (id) {
    case 401: return 2;
    case 403: return 32;
    case 404: return 62;
    case 402: return 92;
    case 471: return 129;
    case 473: return 159;
    case 472: return 189;
    case 420: return 226;
    case 511: return 256;
    case 480: return 293;
    default: return -1;
    }
}

int OverlayColumnX(const PlotRect& plot, bool powerMeter)
{
    return plot.right + 8 + (powerMeter ? kPowerMeterWidth : 0);
}

int OverlayRowY(const PlotRect& pane, int row)
{
    return pane.top + kOverlayRowTop + kOverlayRowStep * row;
}

PlotRect ToolStripCornerButton(const PlotRect& client, int toolStripHeight)
{
    const int x = client.left + 4;
    const int y = client.top + toolStripHeight + 4;
    return {x, y, x + kCornerButtonSize, y + kCornerButtonSize};
}

PlotRect PowerMeterCornerButton(const PlotRect& client, const PlotRect& plot)
{
    const int x = plot.right + 16;
    const int y = client.bottom - 12;
    return {x, y, x + kCornerButtonSize, y + kCornerButtonSize};
}

PlotRect OverlayCornerButton(const PlotRect& client, const PlotRect& plot, int rightMargin)
{
    const int x = plot.right + rightMargin - 12;
    const int y = client.bottom - 12;
    return {x, y, x + kCornerButtonSize, y + kCornerButtonSize};
}
