#pragma once
// A pixel position in a plot window's client area.

struct PlotPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PlotPoint&) const = default;
};
