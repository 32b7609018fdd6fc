#include "settings/PlotAmplitudeLimits.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// printf's "%g".
std::string Number(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string Between(const char* field, float low, float high)
{
    return std::string(field) + " must be between " + Number(low) + " and " + Number(high) + ".";
}

} // namespace

PlotAmplitudeLimits AmplitudeLimitsFor(std::uint16_t ampScale)
{
    switch (ampScale) {
    case 1:
        return {-300.0f, 300.0f, true, 0.0f, 300.0f, true, false};
    case 2:
        return {1e-5f, 10000.0f, true, 1e-6f, 100.0f, false, true};
    default:
        return {1e-9f, 1e7f, false, 0.0f, 0.0f, false, false};
    }
}

std::string CheckPlotAmplitude(std::uint16_t ampScale, float top, float range)
{
    const PlotAmplitudeLimits l = AmplitudeLimitsFor(ampScale);
    if (!(top >= l.TopMinimum && top <= l.TopMaximum))
        return Between("Plot Top", l.TopMinimum, l.TopMaximum);
    if (!l.RangeUsed)
        return {};
    if (l.RangeMinimumExclusive) {
        if (!(range > l.RangeMinimum && range <= l.RangeMaximum))
            return "Plot Range must be greater than " + Number(l.RangeMinimum) + " and at most "
                   + Number(l.RangeMaximum) + ".";
        return {};
    }
    if (!(range >= l.RangeMinimum && range <= l.RangeMaximum))
        return Between("Plot Bottom", l.RangeMinimum, l.RangeMaximum);
    if (l.RangeBelowTop && !(range < top))
        return "Plot Bottom must be less than Plot Top.";
    return {};
}

void LimitPlotAmplitude(std::uint16_t ampScale, float& top, float& range, float defaultTop, float defaultRange)
{
    const PlotAmplitudeLimits l = AmplitudeLimitsFor(ampScale);
    const auto clampOr = [](float value, float low, float high, float fallback) {
        return std::isnan(value) ? std::clamp(fallback, low, high) : std::clamp(value, low, high);
    };
    top = clampOr(top, l.TopMinimum, l.TopMaximum, defaultTop);
    if (!l.RangeUsed)
        return;
    const float fallback = std::clamp(defaultRange, l.RangeMinimum, l.RangeMaximum);
    if (l.RangeMinimumExclusive && !(range > l.RangeMinimum))
        range = fallback > l.RangeMinimum ? fallback : l.RangeMaximum;
    else
        range = clampOr(range, l.RangeMinimum, l.RangeMaximum, fallback);
    if (l.RangeBelowTop && !(range < top)) {
        // The defaults may not fit this top either: then a span of 80 dB below it.
        range = fallback < top ? fallback : std::max(l.RangeMinimum, top * 1e-4f);
        if (!(range < top))
            top = std::min(l.TopMaximum, std::max(l.TopMinimum, range * 1e4f));
    }
}
