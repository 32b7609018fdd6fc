#include "plot/PlotScroll.h"

#include <algorithm>

std::optional<std::int64_t> ScrollTargetPosition(int code, int p, std::uint32_t span, int thumbPosition)
{
    const std::int64_t page = span / 4;
    switch (code) {
    case plot_scroll::kLineLeft:
        return std::int64_t{p} - 1;
    case plot_scroll::kLineRight:
        return std::int64_t{p} + 1;
    case plot_scroll::kPageLeft:
        return p - page;
    case plot_scroll::kPageRight:
        return p + page;
    case plot_scroll::kThumbPosition:
        return thumbPosition;
    case plot_scroll::kThumbTrack:
        return std::nullopt;
    default:
        return p;
    }
}

int ClampScrollPosition(std::int64_t position, int maximum)
{
    return static_cast<int>(std::clamp<std::int64_t>(position, 0, std::max(0, maximum)));
}
