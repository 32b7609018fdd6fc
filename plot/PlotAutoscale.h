#pragma once
// Autoscale of the spectrum plot: a top and bottom on round steps around the
// highest and lowest values shown, and the plot top and range they give for
// each amplitude scale.

#include <cstdint>
#include <optional>

namespace plot_autoscale {

struct ScaleEnds {
    float Top = 0.0f;
    float Bottom = 0.0f;
};

// Rounded ends for values between min and max on the given amplitude scale
// (0 linear, 1 dB, 2 log). A span of at most 1e-6 has no meaningful scale:
// nothing. A linear scale produces no bottom (callerBottom is kept).
std::optional<ScaleEnds> RoundedEnds(std::uint16_t ampScale, float max, float min, float callerBottom);

// The plot top and range (dB: the span; log: the bottom) the ends give.
struct PlotScale {
    float PlotTop = 0.0f;
    float PlotRange = 0.0f;
};
PlotScale ScaleFromEnds(std::uint16_t ampScale, ScaleEnds ends, float plotRange);

} // namespace plot_autoscale
