#include "engine/TProcessingSettings.h"

#include <algorithm>
#include <limits>

namespace {

// The fields the frame and the sheet's Defaults button set alike.
void SetCommonDefaults(TProcessingSettings& s)
{
    s.Format.Set(192000, 1, 3);
    s.FFTsize = 65536;
    s.DecimationRatio = 1;
    s.ApplyLowPassFilter = 0;
    s.AverageType = {0, 0};
    s.AverageMode = {1, 1};
    s.AverageBlocks = {4, 4};
    s.AverageSpeed = {1, 1};
    s.SmoothingWindow = 2;
    s.DelayChannel = 0;
    s.DelayTimeMsec = 0.0f;
    s.EnableOverloadDetection = 1;
    s.ExcludeOverloadFlag = 0;
    s.IndependentScalingAndCalibration = 1;
}

}  // namespace

void TProcessingSettings::SetFrameDefaults()
{
    SetCommonDefaults(*this);
    OverlapPercent = 50;
    ChannelProcessing = 2;
    DelaySamples = 0;
    SpanFraction = 1.0f;
}

void TProcessingSettings::SetSheetDefaults()
{
    SetCommonDefaults(*this);
    OverlapPercent = 75;
}

void TProcessingSettings::ApplyFixedRunValues()
{
    FFTsize = 65536;
    SmoothingWindow = 2;
    OverlapPercent = 50;
    DecimationRatio = 1;
    ApplyLowPassFilter = 0;
    AverageMode = {1, 1};
    DelayChannel = 0;
    DelayTimeMsec = 0.0f;
    DelaySamples = 0;
    EnableOverloadDetection = 1;
    ExcludeOverloadFlag = 0;
    IndependentScalingAndCalibration = 0;
}

std::uint32_t TProcessingSettings::BlockHop() const
{
    // An overlap above 100 would make the factor negative; in unsigned
    // arithmetic it would wrap to an enormous hop.
    if (OverlapPercent >= 100)
        return 1;
    const std::uint64_t hop = std::uint64_t{100u - OverlapPercent} * FFTsize / 100u;
    return hop == 0 ? 1 : static_cast<std::uint32_t>(hop);
}

void TProcessingSettings::UpdateDelaySamples()
{
    const double samples = static_cast<double>(Format.SamplingRate) * DelayTimeMsec / 1000.0 + 0.5;
    // The comparison is false for NaN, which therefore also gives no delay.
    if (!(samples >= 1.0)) {
        DelaySamples = 0;
        return;
    }
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    DelaySamples = static_cast<std::int32_t>(std::min(samples, kMax));
}

int TProcessingSettings::ClampChannel(int channel)
{
    return std::clamp(channel, 0, 1);
}
