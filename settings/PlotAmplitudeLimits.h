#pragma once
// What a plot's amplitude axis can draw, by amplitude scale: the plot top
// and the plot range (a dB span) or plot bottom (a log axis). Outside these
// the axis takes the log of zero or divides by a zero span. The plot
// options check typed values against them; a settings file is brought
// within them when read.

#include <cstdint>
#include <string>

struct PlotAmplitudeLimits {
    float TopMinimum = 0.0f;
    float TopMaximum = 0.0f;
    // Linear axes have no range: the field is not used and the stored
    // value stays as it was.
    bool RangeUsed = false;
    float RangeMinimum = 0.0f;
    float RangeMaximum = 0.0f;
    // A dB span must be above its minimum (0), not at it.
    bool RangeMinimumExclusive = false;
    // A log axis's bottom must lie below its top.
    bool RangeBelowTop = false;
};

PlotAmplitudeLimits AmplitudeLimitsFor(std::uint16_t ampScale);

// Empty when top and range suit the scale, else the message that says what
// is allowed ("Plot Top must be between -300 and 300.").
std::string CheckPlotAmplitude(std::uint16_t ampScale, float plotTop, float plotRange);

// For values read from a file: beyond an inclusive bound → that bound;
// otherwise unusable (not a number, a zero span, a bottom not below the
// top) → the given defaults, themselves brought within the limits.
void LimitPlotAmplitude(std::uint16_t ampScale, float& plotTop, float& plotRange, float defaultTop,
                        float defaultRange);
