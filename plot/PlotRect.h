#pragma once
// A rectangle of client pixels counted the way the plot's layout and hit
// tests expect: left and top lie inside, right and bottom just outside. So
// width = right - left, and a point on the right or bottom edge is outside.

#include "plot/PlotPoint.h"

#include <algorithm>

struct PlotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // All four edges zero: the state of a rectangle that was just emptied.
    bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool Contains(PlotPoint p) const { return Contains(p.x, p.y); }

    // True when the two share at least one pixel.
    bool Intersects(const PlotRect& other) const
    {
        return std::max(left, other.left) < std::min(right, other.right) &&
               std::max(top, other.top) < std::min(bottom, other.bottom);
    }

    // Left not greater than right, top not greater than bottom.
    PlotRect Normalized() const
    {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }

    PlotRect Inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }
    PlotRect ExtendedDown(int d) const { return {left, top, right, bottom + d}; }

    // The nearest pixel inside a non-empty rectangle.
    PlotPoint Clamp(PlotPoint p) const
    {
        if (IsEmpty())
            return p;
        return {std::clamp(p.x, left, right - 1), std::clamp(p.y, top, bottom - 1)};
    }

    bool operator==(const PlotRect&) const = default;
};
