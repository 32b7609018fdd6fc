#pragma once
// How a plot window divides its client area: a tool strip band along the
// top, then the margins around the plot rectangle, which holds one pane or
// two stacked panes of equal height, with the scroll bar's strip kept free
// under it.

#include "plot/PlotRect.h"

struct PlotMargins {
    int ToolStripHeight = 30;
    // From the client top to the plot top, tool strip included.
    int Top = 50;
    // From the plot bottom (above the scroll bar) to the client bottom.
    int Bottom = 33;
    int Left = 20;
    int Right = 20;
    // Between two stacked panes.
    int PaneGap = 20;

    bool operator==(const PlotMargins&) const = default;
};

struct PlotAreas {
    PlotRect Plot;
    // The upper (or only) pane.
    PlotRect Pane1;
    // The lower pane when there are two.
    PlotRect Pane2;

    bool operator==(const PlotAreas&) const = default;
};

// Lays the plot and its panes out in the client rectangle. A client area
// that leaves no room inside the margins and the scroll bar's strip keeps
// the previous rectangles and answers false. With one pane, pane 1 is the
// plot rectangle and pane 2 keeps whatever it held.
bool ComputePlotLayout(const PlotRect& client, const PlotMargins& margins, int paneCount, int scrollBarHeight,
                       PlotAreas& areas);

// With one pane the plot rectangle, wherever the point lies; with two, the
// pane that contains the point, else an empty rectangle.
PlotRect PaneAt(const PlotAreas& areas, int paneCount, int x, int y);
