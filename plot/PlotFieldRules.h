#pragma once
// What typing into the tool strip's plot-top and plot-range fields does: the
// number is read, stored in the display record within the limits of the
// amplitude scale, and the field's spinner is set up to step from it.

#include "plot/ToolStripFields.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plot_fields {

// The characters of each field that are read.
constexpr std::size_t kTopFieldChars = 20;
constexpr std::size_t kRangeFieldChars = 40;

// A linear top steps by a decade below the value, so the spinner moves the
// value's leading digit.
float LinearTopStep(float value);
// Enough decimals to show one step.
int DecimalsForStep(float step);

struct FieldChange {
    SpinSetup Spin;
    bool SpinChanged = false;
    // The record's new value; nothing when the field stores nothing.
    std::optional<float> Stored;
    // Text the field is rewritten to, when the typed value was raised.
    std::optional<std::string> FieldText;
};

// ampScale: 0 linear, 1 dB, 2 log. A text that is no finite number stores
// nothing.
FieldChange PlotTopChanged(std::uint16_t ampScale, std::string_view text, float plotRange);
FieldChange PlotRangeChanged(std::uint16_t ampScale, std::string_view text, float plotTop);

} // namespace plot_fields
