#pragma once
// What the tool strip's plot-top and plot-range fields show for each
// amplitude scale, and how their spinners step: the top in the scale's
// format, the range as a dB span, the bottom of a log axis, or "N/A" on a
// linear axis, which has no range.

#include <cstdint>
#include <string>

struct SpinSetup {
    float Maximum = 0.0f;
    float Minimum = 0.0f;
    float Step = 0.0f;
    // Multiplies by the step rather than adding it.
    bool Multiply = false;
    int Decimals = 0;

    bool operator==(const SpinSetup&) const = default;
};

struct ToolStripFields {
    std::string TopText;
    SpinSetup TopSpin;
    std::string RangeText;
    // Linear axes leave the range field disabled and its spinner as it was.
    bool RangeEnabled = false;
    bool RangeSpinChanged = false;
    SpinSetup RangeSpin;
    // "Plot Range:", or "Plot Bottom:" on a log axis.
    std::string RangeCaption;
};

// At creation a log top is shown with three decimals, later with four.
ToolStripFields FieldsForAmpScale(std::uint16_t ampScale, float plotTop, float plotRange, bool atCreation);
