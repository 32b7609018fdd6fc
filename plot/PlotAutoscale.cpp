#include "plot/PlotAutoscale.h"

#include <algorithm>
#include <cmath>

namespace plot_autoscale {
namespace {

constexpr float kNoSpan = 1e-6f;

// The dB step for a span: one tenth of the span, rounded to a decade.
float DbStep(float span)
{
    if (span > 20.0f)
        return 10.0f;
    if (span > 10.0f)
        return 5.0f;
    if (span > 1.0f)
        return 1.0f;
    if (span > 0.1f)
        return 0.1f;
    return 0.01f;
}

// The next whole multiple of the value's decade above it.
float DecadeTop(float max)
{
    const double s = max > 1e-8f ? std::pow(10.0, std::trunc(std::log10(static_cast<double>(max)))) : 1.0;
    const double top = std::trunc(max / s + 1.0) * s;
    return top <= 1e-7 ? 1.0f : static_cast<float>(top);
}

} // namespace

std::optional<ScaleEnds> RoundedEnds(std::uint16_t ampScale, float max, float min, float callerBottom)
{
    if (!std::isfinite(max) || !std::isfinite(min))
        return std::nullopt;
    switch (ampScale) {
    case 1: {
        max = std::min(max, 300.0f);
        min = std::max(min, -300.0f);
        const float span = max - min;
        if (span <= kNoSpan)
            return std::nullopt;
        const double step = DbStep(span);
        double top = std::trunc(max / step) * step;
        if (max > 0.0f)
            top += step;
        double bottom = std::trunc(min / step) * step;
        if (min < 0.0f)
            bottom -= step;
        return ScaleEnds{static_cast<float>(top), static_cast<float>(bottom)};
    }
    case 2: {
        max = std::min(max, 10000.0f);
        min = std::max(min, 1e-6f);
        if (max - min <= kNoSpan)
            return std::nullopt;
        const double decade = min > 1e-8f ? std::pow(10.0, std::trunc(std::log10(static_cast<double>(min)))) : 1.0;
        // Lines at the scale's least (1e-6) give the least as the bottom: a
        // bottom of 1 would stand above most tops.
        const double bottom = decade / 10.0;
        return ScaleEnds{DecadeTop(max), bottom <= 1e-7 ? 1e-6f : static_cast<float>(bottom)};
    }
    default:
        max = std::min(max, 1e9f);
        min = std::max(min, 0.0f);
        if (max - min <= kNoSpan)
            return std::nullopt;
        return ScaleEnds{DecadeTop(max), callerBottom};
    }
}

PlotScale ScaleFromEnds(std::uint16_t ampScale, ScaleEnds ends, float plotRange)
{
    switch (ampScale) {
    case 1: {
        const float top = std::clamp(ends.Top, -300.0f, 300.0f);
        float range = top - ends.Bottom;
        if (range > 200.0f)
            range = 200.0f;
        else if (range < 1.0f)
            range = 10.0f;
        return {top, range};
    }
    case 2:
        return {std::clamp(ends.Top, 1e-5f, 10000.0f), std::clamp(ends.Bottom, 1e-6f, 1000.0f)};
    default:
        return {ends.Top, plotRange};
    }
}

} // namespace plot_autoscale
