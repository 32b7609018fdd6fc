#pragma once
// How samples become spectra: the one record the settings files, the
// processing-settings sheet, run control and every spectral-data object share.
// Per-channel pairs hold the left channel at index 0, the right at index 1.

#include <array>
#include <cstddef>
#include <cstdint>

#include "format/TWaveFormat.h"

// Captions of the AverageSpeed codes 0 … 4, as the settings sheet lists them.
inline constexpr std::size_t kAverageSpeedCount = 5;
inline constexpr const char* kAverageSpeedNames[kAverageSpeedCount] = {
    "Off", "Fast", "Medium", "Slow", "Forever"};

struct TProcessingSettings {
    // A fresh record is all zero apart from its format, so nothing reads an
    // indeterminate value before its owner fills the record; FFTsize 0 makes
    // any spectral object built from an unfilled record fail cleanly.
    TWaveFormat Format{48000, 1, 2};
    std::uint32_t FFTsize = 0;
    std::uint16_t DecimationRatio = 0;
    std::uint8_t ApplyLowPassFilter = 0;
    std::array<std::uint16_t, 2> AverageType{};
    std::array<std::uint16_t, 2> AverageMode{};
    std::array<std::uint32_t, 2> AverageBlocks{};
    std::array<std::uint16_t, 2> AverageSpeed{};
    std::uint16_t SmoothingWindow = 0;
    std::uint16_t OverlapPercent = 0;
    std::uint16_t ChannelProcessing = 0;
    std::uint16_t DelayChannel = 0;
    float DelayTimeMsec = 0.0f;
    std::int32_t DelaySamples = 0;
    std::uint8_t EnableOverloadDetection = 0;
    std::uint8_t ExcludeOverloadFlag = 0;
    float SpanFraction = 0.0f;
    std::uint8_t IndependentScalingAndCalibration = 0;

    // The values the main frame starts with.
    void SetFrameDefaults();
    // The sheet's Defaults button: the frame's values with 75 % overlap; the
    // channel mode, the delay in samples and the span are left as they are.
    void SetSheetDefaults();
    // What the program runs with whatever the settings file said: one
    // 65536-point Flattop block at 50 % overlap, no decimation or filter,
    // timed averaging, no delay, overload detection on, shared calibration.
    void ApplyFixedRunValues();

    // Samples between successive blocks, at least 1 (overlap of 100 % or
    // more included).
    std::uint32_t BlockHop() const;

    // DelaySamples from DelayTimeMsec at the format's rate, rounded to the
    // nearest sample, never negative.
    void UpdateDelaySamples();

    // Index of a per-channel pair: anything below 0 is the left channel,
    // anything above 1 the right.
    static int ClampChannel(int channel);

    bool operator==(const TProcessingSettings&) const = default;
};
