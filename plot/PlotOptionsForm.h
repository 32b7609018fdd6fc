#pragma once
// What one page of the plot options shows, as plain values: filled from a
// plot's display record, reset by Defaults, and checked and written back on
// OK. The Qt page only moves these values in and out of its controls.

#include "plot/ToolStripFields.h"

#include <cstdint>
#include <string>

struct SpectrumOpts;

struct PlotOptionsForm {
    static constexpr int kThickCount = 4;

    std::uint16_t PlotType = 0;
    bool GridX = false;
    bool GridY = false;
    bool ShowToolbar = false;
    bool ShowOverlayControls = false;
    bool GrabCursor = false;
    bool PowerMeter = false;
    // Spectrum, peak hold, overlays, markers.
    bool Thick[kThickCount] = {};
    std::string Top;
    std::string Range;
    std::string Start;
    std::string Stop;
    bool SpecificInterval = false;
    std::string Interval;
    std::uint16_t PeakHold = 0;

    bool operator==(const PlotOptionsForm&) const = default;
};

// How the Plot Top and Plot Range fields of the page edit for a scale.
struct PlotOptionsAmplitudeFields {
    int TopDecimals = 0;
    SpinSetup TopSpin;
    // Linear scaling shows "N/A", with the field and its spin disabled.
    bool RangeEnabled = false;
    int RangeDecimals = 0;
    SpinSetup RangeSpin;
    // "Plot Range", or "Plot Bottom" on a log axis.
    std::string RangeLabel;
};

namespace plot_options {

inline constexpr SpinSetup kIntervalSpin = {3600.0f, 0.1f, 0.1f, false, 2};

PlotOptionsAmplitudeFields AmplitudeFields(std::uint16_t ampScale);

PlotOptionsForm Fill(const SpectrumOpts& opts, std::uint16_t ampScale);

// The Defaults button: colours go into the record at once, the rest into
// the form.
void ApplyDefaults(PlotOptionsForm& form, SpectrumOpts& opts, int channel);

// Checks the whole form; only when it passes is the record written.
// Returns the message of the first refusal, empty when stored.
std::string Validate(const PlotOptionsForm& form, std::uint16_t ampScale, SpectrumOpts& opts);

} // namespace plot_options
