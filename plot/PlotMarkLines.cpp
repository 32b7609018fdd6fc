#include "plot/PlotMarkLines.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::uint16_t SaturatedHarmonicCount(double ratio)
{
    if (!(ratio > 0.0))
        return 0;
    constexpr double kMax = std::numeric_limits<std::uint16_t>::max();
    return static_cast<std::uint16_t>(std::min(std::floor(ratio + 0.5), kMax));
}

PlotMarkLines SelectionCrossLines(const PlotRect& pane, int x, int y)
{
    return {{{pane.left, y}, {pane.right, y}, pane}, {{x, pane.top}, {x, pane.bottom}, pane}};
}

namespace {

// A line across the pane at a pane-relative position on the cursor axis.
PlotMarkLine AcrossPane(const PlotRect& pane, std::uint16_t axis, PlotPoint relative)
{
    if (axis == 0) {
        const int x = pane.left + relative.x;
        return {{x, pane.top}, {x, pane.bottom}, pane};
    }
    const int y = pane.bottom - relative.y;
    return {{pane.left, y}, {pane.right, y}, pane};
}

} // namespace

PlotMarkLines HarmonicMarkLines(PlotCursorHooks& hooks, const PlotRect& pane, int x, int y)
{
    PlotMarkLines lines;
    const std::uint16_t count = hooks.GetHarmonicCount(x, y);
    if (count <= 1)
        return lines;
    const std::uint16_t axis = hooks.GetCursorAxis();
    const std::uint16_t last = std::min(count, plot_marks::kLastHarmonic);
    lines.reserve(last - 1u);
    for (std::uint16_t k = 2; k <= last; ++k)
        lines.push_back(AcrossPane(pane, axis, hooks.GetHarmonicPoint(k, x, y)));
    return lines;
}

PlotMarkLines SidebandMarkLines(PlotCursorHooks& hooks, const PlotRect& pane, PlotPoint anchor, int x, int y)
{
    PlotMarkLines lines;
    const std::uint16_t axis = hooks.GetCursorAxis();
    if (axis == 0) {
        lines.push_back({{anchor.x, pane.top}, {anchor.x, pane.bottom}, pane});
        lines.push_back({{pane.left, y}, {pane.right, y}, pane});
    } else {
        lines.push_back({{pane.left, anchor.y}, {pane.right, anchor.y}, pane});
        lines.push_back({{x, pane.top}, {x, pane.bottom}, pane});
    }
    for (std::uint16_t k = 1; k <= plot_marks::kSidebandPairs; ++k) {
        lines.push_back(AcrossPane(pane, axis, hooks.GetUpperSidebandPoint(k, anchor.x, anchor.y, x, y)));
        lines.push_back(AcrossPane(pane, axis, hooks.GetLowerSidebandPoint(k, anchor.x, anchor.y, x, y)));
    }
    return lines;
}

PlotMarkLines ZoomFrameLines(const PlotRect& plot, const PlotRect& zoom)
{
    const PlotPoint bottomLeft{zoom.left, zoom.bottom};
    const PlotPoint topLeft{zoom.left, zoom.top};
    const PlotPoint topRight{zoom.right, zoom.top};
    const PlotPoint bottomRight{zoom.right, zoom.bottom};
    return {{bottomLeft, topLeft, plot}, {topLeft, topRight, plot}, {topRight, bottomRight, plot},
            {bottomRight, bottomLeft, plot}};
}

PlotMarkLines CurrentMarkLines(const PlotCursorTracker& tracker, PlotCursorHooks& hooks)
{
    if (tracker.ZoomFrameShown())
        return ZoomFrameLines(hooks.GetPlotRect(), tracker.ZoomRect());
    if (!tracker.CursorShown())
        return {};

    const PlotRect& pane = tracker.HeldPane();
    const PlotPoint p = tracker.LastPoint();
    PlotMarkLines lines;
    auto append = [&lines](PlotMarkLines more) { lines.insert(lines.end(), more.begin(), more.end()); };
    if (!tracker.SidebandMode())
        append(SelectionCrossLines(pane, p.x, p.y));
    if (tracker.HarmonicMode())
        append(HarmonicMarkLines(hooks, pane, p.x, p.y));
    if (tracker.SidebandMode())
        append(SidebandMarkLines(hooks, pane, tracker.AnchorPoint(), p.x, p.y));
    if (tracker.DeltaMode())
        lines.push_back({tracker.AnchorPoint(), p, {}});
    return lines;
}

PlotRect TrackSelectionRect(const PlotRect& zoom, int x, const PlotRect& plot)
{
    if (zoom.IsNull()) {
        const int start = std::clamp(x, plot.left, std::max(plot.left, plot.right));
        return {start, plot.top, start + 1, plot.bottom};
    }
    PlotRect tracked = zoom;
    tracked.right = x;
    return tracked;
}

PlotRect XReadoutRect(const PlotRect& pane, int x, int width, int height)
{
    const int left = x - width / 2;
    const int bottom = pane.top - 1;
    return {left, bottom - height, left + width, bottom};
}

PlotRect YReadoutRect(const PlotRect& pane, int y, int width, int height)
{
    const int right = pane.left - 1;
    const int top = y - height / 2;
    return {right - width, top, right, top + height};
}
