#pragma once
// The lines of the cursor and zoom marks, as the plot inverts them over its
// image. Each line runs from its start up to, not including, its end pixel,
// so the corners of an outline are inverted once, and is clipped to its
// rectangle (none when the clip is empty).

#include "plot/PlotCursorHooks.h"
#include "plot/PlotCursorTracker.h"
#include "plot/PlotPoint.h"
#include "plot/PlotRect.h"

#include <cstdint>
#include <vector>

struct PlotMarkLine {
    PlotPoint From;
    PlotPoint To;
    PlotRect Clip;

    bool operator==(const PlotMarkLine&) const = default;
};

using PlotMarkLines = std::vector<PlotMarkLine>;

namespace plot_marks {

// Harmonic lines stop at this harmonic, however many fit.
inline constexpr std::uint16_t kLastHarmonic = 1000;
// Pairs of sideband lines around the carrier.
inline constexpr std::uint16_t kSidebandPairs = 12;

} // namespace plot_marks

// A harmonic count from the ratio of the visible range's end to the cursor's
// x value, rounded, saturated to the 16 bits the count has: a cursor near
// 0 Hz used to wrap the count around to a few harmonics or none. No ratio
// (NaN, zero or negative) gives 0.
std::uint16_t SaturatedHarmonicCount(double ratio);

// A horizontal and a vertical line through the point, across the pane.
PlotMarkLines SelectionCrossLines(const PlotRect& pane, int x, int y);

// One line across the pane per harmonic 2 … the count (at most 1000); none
// unless the count exceeds 1.
PlotMarkLines HarmonicMarkLines(PlotCursorHooks& hooks, const PlotRect& pane, int x, int y);

// Lines through the anchor and the point, then twelve pairs of sideband lines.
PlotMarkLines SidebandMarkLines(PlotCursorHooks& hooks, const PlotRect& pane, PlotPoint anchor, int x, int y);

// The outline of the zoom rectangle, clipped to the plot rectangle.
PlotMarkLines ZoomFrameLines(const PlotRect& plot, const PlotRect& zoom);

// Every mark the tracker shows now: the cursor's marks at its last point, or
// the zoom outline.
PlotMarkLines CurrentMarkLines(const PlotCursorTracker& tracker, PlotCursorHooks& hooks);

// The zoom selection after a move to x: a fresh selection starts as a
// one-pixel column at x (kept on the plot) spanning the plot's height;
// otherwise only the right edge follows x.
PlotRect TrackSelectionRect(const PlotRect& zoom, int x, const PlotRect& plot);

// Where the readout labels stand: the x label just above the pane centred on
// the cursor's column, the y label just left of the pane centred on its row.
PlotRect XReadoutRect(const PlotRect& pane, int x, int width, int height);
PlotRect YReadoutRect(const PlotRect& pane, int y, int width, int height);
