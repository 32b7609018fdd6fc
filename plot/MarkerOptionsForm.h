#pragma once
// What the marker options dialog shows, as plain values: one row per marker
// (shown, frequency text, label type, custom label) and the peak-hold box.
// OK checks every row before it writes any, so a refused OK leaves the
// record as it was.

#include "settings/MarkerOpts.h"

#include <cstdint>
#include <string>

struct MarkerRowForm {
    bool Enabled = false;
    std::string Frequency;
    std::uint32_t LabelType = 0;
    std::string CustomLabel;

    bool operator==(const MarkerRowForm&) const = default;
};

struct MarkerOptionsForm {
    MarkerRowForm Rows[MarkerOpts::kMarkerCount];
    bool PeakHold = false;

    bool operator==(const MarkerOptionsForm&) const = default;
};

namespace marker_options {

inline constexpr const char* kLabelTypes[] = {"None", "Frequency", "Amplitude", "Frequency and Amplitude", "Custom"};
inline constexpr const char* kFrequencyMessage = "Marker Frequency must be greater than zero";
// Characters a custom label keeps (its field holds one more, the end).
inline constexpr int kCustomLabelLength = static_cast<int>(MarkerOpts::kCustomLabelSize) - 1;

// A label type beyond the list (a hand-edited file) shows as the last one.
MarkerOptionsForm Fill(const MarkerOpts& opts);

// The custom-label edit is live on a shown marker labelled "Custom".
bool CustomLabelEnabled(bool enabled, std::uint32_t labelType);

// Empty when every shown marker has a frequency above 0 and at most 1 MHz
// (so that the settings file keeps it) and the record was
// written; else the message, and the record is untouched. Hidden markers
// keep their frequency, label type and label.
std::string Validate(const MarkerOptionsForm& form, MarkerOpts& opts);

} // namespace marker_options
