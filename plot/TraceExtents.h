#pragma once
// Where a pane's traces stand, strip by strip: for each strip of columns,
// the rows from the highest to the lowest pixel a trace drawn through the
// points may set. A frame needs to erase and redraw only where the traces
// of the last frame or of this one stand; the rest of the pane (background,
// grid, still overlays) is already what a full redraw would paint.

#include "plot/PlotPoint.h"
#include "plot/PlotRect.h"

#include <vector>

class TraceExtents {
public:
    // Coarse on purpose: the union is painted and copied rectangle by
    // rectangle, and rows snapped to a grid let neighbouring strips merge.
    static constexpr int kStripWidth = 32;
    static constexpr int kRowGrid = 16;

    // Nothing known: the whole pane counts.
    void Forget() { m_Known = false; }
    // Starts a measurement of `pane` with no trace in it.
    void Start(const PlotRect& pane);
    // Adds a polyline through `points`, drawn `pad` pixels wide on each side
    // of its centre line at the most.
    void Add(const std::vector<PlotPoint>& points, int pad);

    bool Known() const { return m_Known; }
    // The rectangles, strip by strip, where either measurement has a trace;
    // the whole pane of `now` when `before` is not known or was of another pane.
    static std::vector<PlotRect> Union(const TraceExtents& before, const TraceExtents& now);

private:
    struct Rows {
        int top = 1;
        int bottom = 0; // top > bottom: no trace in the strip
    };
    int StripOf(int x) const;

    PlotRect m_Pane;
    std::vector<Rows> m_Strips;
    bool m_Known = false;
};
