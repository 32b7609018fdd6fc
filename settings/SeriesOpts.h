#pragma once
// Options of a time-series plot. No window of this program draws one; the
// record is kept so the configuration file and the plot-options sheet carry
// it unchanged.
// Belongs with the plot code; lives here until that layer exists.

#include <cstdint>

struct SeriesOpts {
    std::uint16_t AmpScaleType = 0;
    std::uint16_t PlotChannel = 0;
    std::uint8_t ShowToolbar = 1;
    std::uint8_t GridYEnabled = 1;
    std::uint8_t GridXEnabled = 1;
    float PlotTop = 100.0f;
    float PlotRange = 100.0f;
    float PlotCenter = 0.0f;
    // Colours are 0x00BBGGRR.
    std::uint32_t BackgroundColor = 0xFFFFFF;
    std::uint32_t LineColor = 0x0000FF;
    std::uint32_t GridColor = 0x808080;
    // Part of the record but stored under no key, so it never changes.
    std::uint16_t Unkeyed = 1;
    float StartTime = 0.0f;
    float StopTime = 1.0f;
    std::uint32_t ThresholdMarkPercentage = 100;
    std::uint8_t DisplayMaxMinRangeAsRMS = 0;
    std::uint8_t IntervalFlag = 0;
    float IntervalSecs = 0.02f;
    std::uint8_t GrabCursorFlag = 0;

    bool operator==(const SeriesOpts&) const = default;
};
