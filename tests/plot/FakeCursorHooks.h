#pragma once
// A plot without a window for the cursor tests: two stacked panes, 10 Hz per
// pixel column from the pane's left edge, the y value minus the row, and a
// harmonic count the test sets.

#include "plot/PlotCursorHooks.h"
#include "plot/PlotCursorTracker.h"
#include "plot/PlotLayout.h"
#include "plot/PlotMarkLines.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

class FakeCursorHooks : public PlotCursorHooks {
public:
    FakeCursorHooks()
    {
        Areas.Plot = {20, 50, 420, 450};
        Areas.Pane1 = {20, 50, 420, 240};
        Areas.Pane2 = {20, 260, 420, 450};
    }

    PlotRect GetPlotRectAt(int x, int y) const override { return PaneAt(Areas, PaneCount, x, y); }
    PlotRect GetPlotRect() const override { return Areas.Plot; }
    float GetXValueAt(int x, int y) override { return 10.0f * (x - GetPlotRectAt(x, y).left); }
    float GetYValueAt(int, int y) override { return -static_cast<float>(y); }
    std::uint16_t GetHarmonicCount(int, int) override { return HarmonicCount; }
    PlotPoint GetHarmonicPoint(std::uint16_t n, int x, int y) override
    {
        return {n * (x - GetPlotRectAt(x, y).left), 0};
    }
    PlotPoint GetUpperSidebandPoint(std::uint16_t n, int x1, int, int x2, int) override
    {
        return {x1 - Areas.Plot.left + n * std::abs(x2 - x1), 0};
    }
    PlotPoint GetLowerSidebandPoint(std::uint16_t n, int x1, int, int x2, int) override
    {
        return {x1 - Areas.Plot.left - n * std::abs(x2 - x1), 0};
    }
    std::uint16_t GetCursorAxis() override { return 0; }
    void SnapCursorPoint(PlotPoint&) override {}
    std::string ReadoutText(PlotAxis axis, float value) override
    {
        char text[32];
        std::snprintf(text, sizeof text, "%s%.1f", axis == PlotAxis::X ? "x" : "y", value);
        return text;
    }
    // As the plot base does it.
    void TrackSelection(int x, int y) override
    {
        Tracked.push_back({x, y});
        Tracker->SetZoomRect(TrackSelectionRect(Tracker->ZoomRect(), x, Areas.Plot));
    }
    void ZoomToRect(const PlotRect& zoomRect) override { Zoomed.push_back(zoomRect); }
    void ClearSelection() override { ++Cleared; }

    PlotAreas Areas;
    int PaneCount = 2;
    std::uint16_t HarmonicCount = 0;
    std::vector<PlotPoint> Tracked;
    std::vector<PlotRect> Zoomed;
    int Cleared = 0;
    PlotCursorTracker* Tracker = nullptr;
};
