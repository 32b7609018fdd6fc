#pragma once
// The spectrum plot's span commands as bin arithmetic: zoom in and out by
// two, back to the full span, and the span a zoom drag selects. Each answers
// the new visible span, or nothing when the command leaves the span alone.

#include <optional>

struct BinSpan {
    int First = 0;
    int Last = 0;

    bool operator==(const BinSpan&) const = default;
};

namespace plot_zoom {

// Fewer bins than this between the ends of a drag or a span: no zoom.
constexpr int kMinimumZoomBins = 4;

// A quarter of the span off each end; spans under four bins stay.
std::optional<BinSpan> ZoomIn2x(BinSpan span);
// A quarter of the span onto each end, kept within the data's bins.
std::optional<BinSpan> ZoomOut2x(BinSpan span, BinSpan data);
std::optional<BinSpan> ZoomFull(BinSpan span, BinSpan data);
// The bins under the two edges of a drag; under four bins apart, nothing.
std::optional<BinSpan> ZoomToBins(int first, int last);

} // namespace plot_zoom
