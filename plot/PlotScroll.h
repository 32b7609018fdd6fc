#pragma once
// Where a scroll bar notice moves the visible span of a plot.

#include <cstdint>
#include <optional>

namespace plot_scroll {

// The notice codes of a horizontal scroll bar.
inline constexpr int kLineLeft = 0;
inline constexpr int kLineRight = 1;
inline constexpr int kPageLeft = 2;
inline constexpr int kPageRight = 3;
inline constexpr int kThumbPosition = 4;
inline constexpr int kThumbTrack = 5;

} // namespace plot_scroll

// The scroll bar's new position for a notice at position p with a visible
// span of s units: a line is one unit, a page a quarter of the span, a
// released thumb the notice's position, any other code p itself. A thumb
// still being dragged moves nothing: no answer.
std::optional<std::int64_t> ScrollTargetPosition(int code, int p, std::uint32_t span, int thumbPosition);

// A scroll bar's position stays within 0 … maximum.
int ClampScrollPosition(std::int64_t position, int maximum);
