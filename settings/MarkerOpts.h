#pragma once
// The eight markers of one spectrum plot and their labels.
// Belongs with the plot code; lives here until that layer exists, since the
// settings files must read and write it first.

#include <cstddef>
#include <cstdint>

struct MarkerOpts {
    static constexpr std::size_t kMarkerCount = 8;
    static constexpr std::size_t kCustomLabelSize = 30;

    // 0 none, 1 frequency, 2 amplitude, 3 frequency and amplitude, 4 custom
    enum Label : std::uint32_t { kNone = 0, kFrequency = 1, kAmplitude = 2, kFrequencyAndAmplitude = 3, kCustom = 4 };

    std::uint32_t MarkerEnable[kMarkerCount] = {};
    // Hz
    float MarkerFreq[kMarkerCount] = {1000.0f, 1000.0f, 1000.0f, 1000.0f, 1000.0f, 1000.0f, 1000.0f, 1000.0f};
    std::uint32_t LabelType[kMarkerCount] = {kAmplitude, kAmplitude, kAmplitude, kAmplitude,
                                             kAmplitude, kAmplitude, kAmplitude, kAmplitude};
    char CustomLabel[kMarkerCount][kCustomLabelSize] = {};
    // Markers read the peak-hold trace while peak hold is on.
    std::uint8_t PeakHoldFlag = 0;

    bool operator==(const MarkerOpts&) const = default;
};
