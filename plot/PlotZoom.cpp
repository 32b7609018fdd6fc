#include "plot/PlotZoom.h"

#include <algorithm>

namespace plot_zoom {

std::optional<BinSpan> ZoomIn2x(BinSpan span)
{
    const int n = span.Last - span.First;
    if (n < kMinimumZoomBins)
        return std::nullopt;
    return BinSpan{span.First + n / 4, span.Last - n / 4};
}

std::optional<BinSpan> ZoomOut2x(BinSpan span, BinSpan data)
{
    const int n = span.Last - span.First;
    if (n >= data.Last - data.First)
        return std::nullopt;
    const int q = n / 4;
    return BinSpan{std::max(data.First, span.First - q), std::min(data.Last, span.Last + q)};
}

std::optional<BinSpan> ZoomFull(BinSpan span, BinSpan data)
{
    if (span.Last - span.First >= data.Last - data.First)
        return std::nullopt;
    return data;
}

std::optional<BinSpan> ZoomToBins(int first, int last)
{
    if (last - first < kMinimumZoomBins)
        return std::nullopt;
    return BinSpan{first, last};
}

} // namespace plot_zoom
