#pragma once
// What the measurement cursor and the zoom selection ask of their plot: the
// panes, the values under a pixel, where harmonics and sidebands fall, and
// what a finished selection does. TPlotBase answers with neutral values; a
// derived plot fills them in from its data.

#include "plot/PlotPoint.h"
#include "plot/PlotRect.h"

#include <cstdint>
#include <string>

enum class PlotAxis { X, Y };

class PlotCursorHooks {
public:
    virtual ~PlotCursorHooks() = default;

    // The pane under the point, empty when there is none (a point on a
    // pane's right or bottom edge is outside it).
    virtual PlotRect GetPlotRectAt(int x, int y) const = 0;
    // The whole plotting area, which a zoom selection spans from top to bottom.
    virtual PlotRect GetPlotRect() const = 0;

    virtual float GetXValueAt(int x, int y) = 0;
    // May also change the y readout's format to suit the value.
    virtual float GetYValueAt(int x, int y) = 0;
    // How many harmonics of the x value at the point fit the visible range.
    virtual std::uint16_t GetHarmonicCount(int x, int y) = 0;
    // Pane-relative pixel of harmonic n.
    virtual PlotPoint GetHarmonicPoint(std::uint16_t n, int x, int y) = 0;
    // Pane-relative pixels of the carrier at (x1, y1) plus or minus n times
    // its distance to (x2, y2).
    virtual PlotPoint GetUpperSidebandPoint(std::uint16_t n, int x1, int y1, int x2, int y2) = 0;
    virtual PlotPoint GetLowerSidebandPoint(std::uint16_t n, int x1, int y1, int x2, int y2) = 0;
    // 0: marks are vertical lines at x positions; 1: horizontal lines at y.
    virtual std::uint16_t GetCursorAxis() = 0;
    // May move the point, for example onto the trace.
    virtual void SnapCursorPoint(PlotPoint& point) = 0;

    // The readout label's text for a value on one axis.
    virtual std::string ReadoutText(PlotAxis axis, float value) = 0;

    // Moves the zoom selection to x.
    virtual void TrackSelection(int x, int y) = 0;
    // A finished zoom selection, normalised.
    virtual void ZoomToRect(const PlotRect& zoomRect) = 0;
    // Empties the zoom selection and leaves zoom mode.
    virtual void ClearSelection() = 0;
};
