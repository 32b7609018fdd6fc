#include "engine/TProcessingSettings.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

namespace {

using Pair16 = std::array<std::uint16_t, 2>;

// A record whose fields differ from every default.
TProcessingSettings Scrambled()
{
    TProcessingSettings s;
    s.Format.Set(8000, 2, 1);
    s.FFTsize = 1024;
    s.DecimationRatio = 8;
    s.ApplyLowPassFilter = 1;
    s.AverageType = {2, 2};
    s.AverageMode = {0, 0};
    s.AverageBlocks = {77, 78};
    s.AverageSpeed = {4, 3};
    s.SmoothingWindow = 9;
    s.OverlapPercent = 10;
    s.ChannelProcessing = 11;
    s.DelayChannel = 1;
    s.DelayTimeMsec = 3.0f;
    s.DelaySamples = 24;
    s.ExcludeOverloadFlag = 1;
    s.SpanFraction = 0.5f;
    s.IndependentScalingAndCalibration = 2;
    return s;
}

void ExpectCommonDefaults(const TProcessingSettings& s)
{
    EXPECT_EQ(s.Format, TWaveFormat(192000, 1, 3));
    EXPECT_EQ(s.FFTsize, 65536u);
    EXPECT_EQ(s.DecimationRatio, 1);
    EXPECT_EQ(s.ApplyLowPassFilter, 0);
    EXPECT_EQ(s.AverageType, (Pair16{0, 0}));
    EXPECT_EQ(s.AverageMode, (Pair16{1, 1}));
    EXPECT_EQ(s.AverageBlocks, (std::array<std::uint32_t, 2>{4, 4}));
    EXPECT_EQ(s.AverageSpeed, (Pair16{1, 1}));
    EXPECT_EQ(s.SmoothingWindow, 2);
    EXPECT_EQ(s.DelayChannel, 0);
    EXPECT_EQ(s.DelayTimeMsec, 0.0f);
    EXPECT_EQ(s.EnableOverloadDetection, 1);
    EXPECT_EQ(s.ExcludeOverloadFlag, 0);
    EXPECT_EQ(s.IndependentScalingAndCalibration, 1);
}

}  // namespace

TEST(ProcessingSettings, FrameAndSheetDefaults)
{
    const TProcessingSettings fresh;
    EXPECT_EQ(fresh.Format, TWaveFormat(48000, 1, 2));
    EXPECT_EQ(fresh.FFTsize, 0u);

    TProcessingSettings frame = Scrambled();
    frame.SetFrameDefaults();
    ExpectCommonDefaults(frame);
    EXPECT_EQ(frame.OverlapPercent, 50);
    EXPECT_EQ(frame.ChannelProcessing, 2);
    EXPECT_EQ(frame.DelaySamples, 0);
    EXPECT_EQ(frame.SpanFraction, 1.0f);

    TProcessingSettings sheet = Scrambled();
    sheet.SetSheetDefaults();
    ExpectCommonDefaults(sheet);
    EXPECT_EQ(sheet.OverlapPercent, 75);
    EXPECT_EQ(sheet.ChannelProcessing, 11);
    EXPECT_EQ(sheet.DelaySamples, 24);
    EXPECT_EQ(sheet.SpanFraction, 0.5f);
}

TEST(ProcessingSettings, FixedRunValuesOverrideOnlyTheirFields)
{
    TProcessingSettings s = Scrambled();
    s.ApplyFixedRunValues();
    EXPECT_EQ(s.FFTsize, 65536u);
    EXPECT_EQ(s.SmoothingWindow, 2);
    EXPECT_EQ(s.OverlapPercent, 50);
    EXPECT_EQ(s.DecimationRatio, 1);
    EXPECT_EQ(s.ApplyLowPassFilter, 0);
    EXPECT_EQ(s.AverageMode, (Pair16{1, 1}));
    EXPECT_EQ(s.DelayChannel, 0);
    EXPECT_EQ(s.DelayTimeMsec, 0.0f);
    EXPECT_EQ(s.DelaySamples, 0);
    EXPECT_EQ(s.EnableOverloadDetection, 1);
    EXPECT_EQ(s.ExcludeOverloadFlag, 0);
    EXPECT_EQ(s.IndependentScalingAndCalibration, 0);
    // Fields read from the file survive.
    EXPECT_EQ(s.Format, TWaveFormat(8000, 2, 1));
    EXPECT_EQ(s.AverageSpeed, (Pair16{4, 3}));
    EXPECT_EQ(s.ChannelProcessing, 11);
}

TEST(ProcessingSettings, BlockHopFollowsOverlapAndNeverReachesZero)
{
    TProcessingSettings s;
    s.FFTsize = 65536;
    const std::pair<std::uint16_t, std::uint32_t> cases[] = {
        {50, 32768}, {75, 16384}, {0, 65536}, {99, 655}, {100, 1}, {150, 1}};
    for (auto [overlap, hop] : cases) {
        s.OverlapPercent = overlap;
        EXPECT_EQ(s.BlockHop(), hop) << overlap << " %";
    }
    s.FFTsize = 0xFFFFFFFFu;  // 100 × N needs more than 32 bits
    s.OverlapPercent = 0;
    EXPECT_EQ(s.BlockHop(), 0xFFFFFFFFu);
}

TEST(ProcessingSettings, DelaySamplesRoundsAndStaysNonNegative)
{
    TProcessingSettings s;
    const std::pair<float, std::int32_t> cases[] = {
        {1.5f, 72}, {0.01f, 0} /* 0.48 */, {0.0125f, 1} /* 0.6 */, {-2.0f, 0}, {1e30f, 2147483647}};
    for (auto [ms, samples] : cases) {
        s.DelayTimeMsec = ms;
        s.UpdateDelaySamples();
        EXPECT_EQ(s.DelaySamples, samples) << ms << " ms";
    }
}

TEST(ProcessingSettings, ChannelClampAndSpeedNames)
{
    EXPECT_EQ(TProcessingSettings::ClampChannel(-1), 0);
    EXPECT_EQ(TProcessingSettings::ClampChannel(1), 1);
    EXPECT_EQ(TProcessingSettings::ClampChannel(7), 1);
    EXPECT_EQ(std::string_view(kAverageSpeedNames[0]), "Off");
    EXPECT_EQ(std::string_view(kAverageSpeedNames[4]), "Forever");
}
