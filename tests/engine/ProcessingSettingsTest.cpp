#include "engine/TProcessingSettings.h"

#include <cstdint>
#include <utility>

#include <gtest/gtest.h>

namespace {

// A record whose fields differ from every default.
const TProcessingSettings kScrambled{
    .Format = TWaveFormat(8000, 2, 1), .FFTsize = 1024, .DecimationRatio = 8, .ApplyLowPassFilter = 1,
    .AverageType = {2, 2}, .AverageMode = {0, 0}, .AverageBlocks = {77, 78}, .AverageSpeed = {4, 3},
    .SmoothingWindow = 9, .OverlapPercent = 10, .ChannelProcessing = 11, .DelayChannel = 1,
    .DelayTimeMsec = 3.0f, .DelaySamples = 24, .ExcludeOverloadFlag = 1, .SpanFraction = 0.5f,
    .IndependentScalingAndCalibration = 2};

// The main frame's starting values, written out by hand.
const TProcessingSettings kFrame{
    .Format = TWaveFormat(192000, 1, 3), .FFTsize = 65536, .DecimationRatio = 1, .ApplyLowPassFilter = 0,
    .AverageType = {0, 0}, .AverageMode = {1, 1}, .AverageBlocks = {4, 4}, .AverageSpeed = {1, 1},
    .SmoothingWindow = 2, .OverlapPercent = 50, .ChannelProcessing = 2, .DelayChannel = 0,
    .DelayTimeMsec = 0.0f, .DelaySamples = 0, .EnableOverloadDetection = 1, .ExcludeOverloadFlag = 0,
    .SpanFraction = 1.0f, .IndependentScalingAndCalibration = 1};

}  // namespace

TEST(ProcessingSettings, FrameSheetAndFixedRunDefaultsAndDerivedValuesInRange)
{
    TProcessingSettings frame = kScrambled;
    frame.SetFrameDefaults();
    EXPECT_EQ(frame, kFrame);

    // The sheet keeps the channel mode, delay in samples and span; 75 % overlap.
    TProcessingSettings sheet = kScrambled, expected = kFrame;
    sheet.SetSheetDefaults();
    expected.OverlapPercent = 75;
    expected.ChannelProcessing = 11;
    expected.DelaySamples = 24;
    expected.SpanFraction = 0.5f;
    EXPECT_EQ(sheet, expected);

    // The frame's values, but format, averaging type, blocks and speed, channel
    // mode and span stay, and scaling is shared.
    TProcessingSettings fixed = kScrambled;
    expected = kFrame;
    fixed.ApplyFixedRunValues();
    expected.Format = kScrambled.Format;
    expected.AverageType = kScrambled.AverageType;
    expected.AverageBlocks = kScrambled.AverageBlocks;
    expected.AverageSpeed = kScrambled.AverageSpeed;
    expected.ChannelProcessing = kScrambled.ChannelProcessing;
    expected.SpanFraction = kScrambled.SpanFraction;
    expected.IndependentScalingAndCalibration = 0;
    EXPECT_EQ(fixed, expected);

    // The block hop follows the overlap and never reaches zero; the delay in
    // samples rounds and stays non-negative; the channel is clamped to two.
    TProcessingSettings s;
    s.FFTsize = 65536;
    for (auto [overlap, hop] : {std::pair<std::uint16_t, std::uint32_t>{50, 32768}, {75, 16384}, {0, 65536},
                                {99, 655}, {100, 1}, {150, 1}}) {
        s.OverlapPercent = overlap;
        EXPECT_EQ(s.BlockHop(), hop) << overlap << " %";
    }
    s.FFTsize = 0xFFFFFFFFu; // 100 × N needs more than 32 bits
    s.OverlapPercent = 0;
    EXPECT_EQ(s.BlockHop(), 0xFFFFFFFFu);

    // 0.01 ms is 0.48 samples, 0.0125 ms 0.6.
    for (auto [ms, samples] : {std::pair<float, std::int32_t>{1.5f, 72}, {0.01f, 0}, {0.0125f, 1}, {-2.0f, 0},
                               {1e30f, 2147483647}}) {
        s.DelayTimeMsec = ms;
        s.UpdateDelaySamples();
        EXPECT_EQ(s.DelaySamples, samples) << ms << " ms";
    }
    for (auto [channel, clamped] : {std::pair{-1, 0}, {1, 1}, {7, 1}})
        EXPECT_EQ(TProcessingSettings::ClampChannel(channel), clamped) << channel;
}
