#pragma once
// A trace drawn with a wide pen, filled straight into 32-bit pixels. Qt's
// raster engine strokes a pen wider than one pixel through its general path
// stroker and polygon filler, which costs several times the drawing itself
// for a trace of a few hundred points at every frame. This fills the same
// outline (square caps at the two ends, bevel joins between segments) with
// the same rule, a pixel set when its centre lies inside: the pixels match
// Qt's but for a rare one on an edge that runs through a pixel centre.

#include "plot/PlotPoint.h"
#include "plot/PlotRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Rows of 32-bit pixels: row y starts at Bits + y * Stride.
struct PixelRows {
    std::uint32_t* Bits = nullptr;
    std::ptrdiff_t Stride = 0;
};

// Where the points land in pixels: x' = Scale * x + Dx, the same for y
// (a device pixel ratio and a painter's translation).
struct PixelMapping {
    double Scale = 1.0;
    double Dx = 0.0;
    double Dy = 0.0;
};

// Fills the outline of the polyline through points stroked with a pen of
// width penWidth (before Scale) with pixel, inside clip (device pixels;
// right and bottom outside). Repeated points are skipped; a polyline of one
// distinct point draws nothing.
void FillWidePolyline(const std::vector<PlotPoint>& points, const PixelMapping& mapping, double penWidth,
                      const PlotRect& clip, std::uint32_t pixel, PixelRows rows);
