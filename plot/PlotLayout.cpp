#include "plot/PlotLayout.h"

#include <algorithm>

bool ComputePlotLayout(const PlotRect& client, const PlotMargins& margins, int paneCount, int scrollBarHeight,
                       PlotAreas& areas)
{
    // The scroll bar's strip counts as margin too: without it a client area
    // a few pixels higher than the margins gave a plot of negative height.
    if (client.Width() <= margins.Left + margins.Right ||
        client.Height() <= margins.Top + margins.Bottom + scrollBarHeight)
        return false;

    const PlotRect plot{client.left + margins.Left, client.top + margins.Top, client.right - margins.Right,
                        client.bottom - (margins.Bottom + scrollBarHeight)};
    areas.Plot = plot;
    if (paneCount != 2) {
        areas.Pane1 = plot;
        return true;
    }
    // Each half is rounded down on its own, so both panes come out equally
    // high and an odd pixel goes to the gap. A plot lower than the gap gives
    // two panes of no height rather than upside-down ones.
    const int paneHeight = std::max(0, plot.Height() - (plot.Height() / 2 + margins.PaneGap / 2));
    areas.Pane1 = {plot.left, plot.top, plot.right, plot.top + paneHeight};
    areas.Pane2 = {plot.left, plot.bottom - paneHeight, plot.right, plot.bottom};
    return true;
}

PlotRect PaneAt(const PlotAreas& areas, int paneCount, int x, int y)
{
    if (paneCount != 2)
        return areas.Plot;
    if (areas.Pane1.Contains(x, y))
        return areas.Pane1;
    if (areas.Pane2.Contains(x, y))
        return areas.Pane2;
    return {};
}
