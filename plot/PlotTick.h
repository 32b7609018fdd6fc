#pragma once
// One tick of a plot axis: its pixel position counted from the pane's left
// (frequency) or top (amplitude) edge, and its label. An empty label is a
// tick without text (thinned out so that neighbours stay readable); the
// tick and its grid line remain.

#include <string>
#include <vector>

struct PlotTick {
    int Pos = 0;
    std::string Label;

    bool operator==(const PlotTick&) const = default;
};

using PlotTicks = std::vector<PlotTick>;
