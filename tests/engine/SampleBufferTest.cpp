#include "engine/TSampleBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numbers>
#include <vector>

namespace {

TWaveFormat Format(std::uint16_t bytes) { return TWaveFormat(48000, 1, bytes); }

std::uint32_t Code(std::int32_t value) { return static_cast<std::uint32_t>(value); }

constexpr std::uint32_t kOutputs = 256;

// A 16-bit buffer of kOutputs × ratio samples (plus taps), filled from
// signal(n), decimated; returns the outputs.
std::vector<double> FilterAndDecimate(std::uint32_t ratio, const std::function<double(std::uint32_t)>& signal)
{
    TSampleBuffer buffer(kOutputs * ratio, Format(2), ratio, 1);
    for (std::uint32_t n = 0; n < buffer.GetCount(); ++n)
        buffer.PutSample(n, Code(static_cast<std::int32_t>(std::lround(signal(n)))));
    buffer.Decimate();
    std::vector<double> out;
    for (std::uint32_t j = 0; j < buffer.GetDecimatedLength(); ++j)
        out.push_back(buffer.GetSample(j, false));
    return out;
}

// Gain in dB of a tone of amplitude `a` at `cycles` per input sample.
double ToneGainDb(std::uint32_t ratio, double cycles)
{
    constexpr double a = 10000;
    const auto out =
        FilterAndDecimate(ratio, [&](std::uint32_t n) { return a * std::sin(2 * std::numbers::pi * cycles * n); });
    double sum = 0;
    for (double v : out)
        sum += v * v;
    return 20 * std::log10(std::sqrt(sum / out.size()) / (a / std::sqrt(2.0)));
}

} // namespace

TEST(SampleBufferTest, PeakValueAndCalibrationFollowTheCodeRangeAndAFailedBufferDoesNothing)
{
    auto peakAfter = [](TSampleBuffer& buffer, std::uint32_t index, std::int32_t code) {
        buffer.PutSample(index, Code(code));
        return buffer.GetPeakValue();
    };
    TSampleBuffer b16(64, Format(2), 1, 0), b32(8, Format(4), 1, 0), b8(8, Format(1), 1, 0);
    EXPECT_EQ(std::pair(b16.GetPeakValue(), b8.GetPeakValue()), std::pair(0, 0));
    const std::int32_t quiet[] = {10, -10, 3, 0};
    b16.PutSamples(quiet, 4); // a block copy notes the peak too
    EXPECT_EQ(b16.GetPeakValue(), 22); // 100 × log 10 / log 32767 = 22.2
    // 100 × log 3276 / log 32767 = 77.9; the most negative 32-bit code and the
    // 8-bit code 0, 127 below the zero code, are full scale.
    EXPECT_EQ(std::vector({peakAfter(b16, 10, -3276), peakAfter(b16, 20, 32766), peakAfter(b32, 3, INT32_MIN),
                           peakAfter(b8, 1, 0)}),
              std::vector({77, 100, 100, 100}));
    b16.Fill();
    EXPECT_EQ(peakAfter(b16, 5, -32768), 100); // has no positive counterpart in 16 bits

    // Calibration scales by half the code range.
    EXPECT_FLOAT_EQ(b16.GetCalibration().CalRatio, 1.0f / 32767);
    b16.PutSample(0, Code(-16384));
    EXPECT_NEAR(b16.GetSample(0, true), -16384.0 / 32767, 1e-6);

    TChannelCalibration record = DefaultChannelCalibration(0);
    record.CalRatio = 2.0f;
    b16.SetCalibration(&record);
    EXPECT_FLOAT_EQ(b16.GetCalibration().CalRatio, 2.0f / 32767);

    b32.PutSample(0, Code(INT32_MAX)); // a span of 2^32 − 2 codes
    EXPECT_NEAR(b32.GetSample(0, true), 1.0, 1e-6);
    EXPECT_FLOAT_EQ(b8.GetCalibration().CalRatio, 1.0f / 127.5f);

    EXPECT_TRUE(TSampleBuffer(0, Format(2), 1, 0).HasFailed());
    platform::FailNextAllocations(1);
    TSampleBuffer starved(16, Format(1), 1, 0);
    EXPECT_TRUE(starved.HasFailed());
    starved.PutSample(0, 0);
    starved.Decimate();
    EXPECT_EQ(starved.GetSamplePtr(0), nullptr);
    EXPECT_EQ(std::pair(starved.GetSample(0, false), starved.GetPeakValue()), std::pair(127.0f, 0));
}

TEST(SampleBufferTest, DecimationPicksEveryRatiothOrFiltersKeepingDcRejectingAliasesAndSaturating)
{
    constexpr std::uint32_t n = 32;
    TSampleBuffer four(4 * n, Format(2), 4, 0);
    for (std::uint32_t i = 0; i < 4 * n; ++i)
        four.PutSample(i, i + 1);
    four.Decimate();
    EXPECT_EQ(four.GetDecimatedLength(), n);
    for (std::uint32_t j = 0; j < n; ++j)
        EXPECT_EQ(four.GetSample(j, false), 4.0f * j + 1) << j;

    for (auto [ratio, taps] : {std::pair{2u, 99u}, {4u, 199u}, {12u, 499u}}) {
        SCOPED_TRACE(testing::Message() << "ratio " << ratio);
        EXPECT_EQ(TSampleBuffer(kOutputs * ratio, Format(2), ratio, 1).GetCount(), kOutputs * ratio + taps);
        const auto out = FilterAndDecimate(ratio, [](std::uint32_t) { return 10000.0; });
        ASSERT_EQ(out.size(), kOutputs);
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](double v) { return std::fabs(v - 10000) <= 1; }));
        const double nyquist = 0.5 / ratio; // of the decimated rate, in cycles per input sample
        EXPECT_NEAR(ToneGainDb(ratio, 0.25 * nyquist), 0.0, 0.1);
        EXPECT_LT(ToneGainDb(ratio, 1.5 * nyquist), -40.0);
    }

    // Full-scale square wave, 32 samples per half period: the filter's ripple
    // after each edge goes beyond 32767.
    const auto input = [](std::uint32_t n) { return (n / 32) % 2 == 0 ? 32767.0 : -32767.0; };
    const auto out = FilterAndDecimate(2, input);
    constexpr std::uint32_t delay = 49; // centre of 99 taps
    int flipped = 0;
    for (std::uint32_t j = 0; j < out.size(); ++j) {
        const std::uint32_t centre = 2 * j + delay, phase = centre % 32;
        // Two samples or more from an edge the output has settled on the input's sign.
        flipped += phase >= 2 && phase <= 29 && out[j] * input(centre) < 0.9 * 32767 * 32767;
    }
    EXPECT_EQ(flipped, 0);
    EXPECT_EQ(*std::max_element(out.begin(), out.end()), 32767.0);
}

// Each width stores what it reads back (the code less the zero code: 8-bit
// codes are unsigned around 127), sample by sample and in blocks alike, and
// both know the same peak.
TEST(SampleBufferTest, EveryWidthRoundTripsSingleAndBlockCopies)
{
    const std::vector<std::int32_t> codes[] = {
        {127, 255, 0, 200},
        {-32768, -3276, -1, 32767},
        // Long enough for the eight-sample block paths and their tail.
        {-8388607, -4194304, -1, 0, 123456, 8388607, -8388608, 5, -7, 65536, -65537, 42, -8388607, 1, 2, 3, 4,
         -5, 8388606, 0, 77, -77, 1000000, -1000000, 9},
        {-1073741824, -65536, -1, 2147483520}, // exact in float
    };
    for (std::uint16_t bytes = 1; bytes <= 4; ++bytes) {
        SCOPED_TRACE(testing::Message() << bytes << " bytes");
        const std::vector<std::int32_t>& c = codes[bytes - 1];
        const auto n = static_cast<std::uint32_t>(c.size());
        const float zero = static_cast<float>(Format(bytes).ZeroOffset);
        TSampleBuffer single(n, Format(bytes), 1, 0), block(n, Format(bytes), 1, 0);
        EXPECT_EQ(single.GetSample(0, false), 0.0f) << "a new buffer holds silence";
        for (std::uint32_t i = 0; i <= n; ++i) // one past the end: ignored
            single.PutSample(i, Code(i < n ? c[i] : 1234));
        EXPECT_EQ(single.GetSamplePtr(n), nullptr);
        block.PutSamples(c.data(), n);
        EXPECT_EQ(std::memcmp(single.GetSamplePtr(0), block.GetSamplePtr(0), std::size_t{n} * bytes), 0);
        EXPECT_EQ(block.GetPeakValue(), single.GetPeakValue());
        std::vector<float> want, read, copied(n + 2, -1.0f);
        for (std::uint32_t i = 0; i < n; ++i) {
            want.push_back(static_cast<float>(c[i]) - zero);
            read.push_back(single.GetSample(i, false));
        }
        EXPECT_EQ(read, want);
        // Stored and read back in one pass: the same bytes, peak and floats.
        TSampleBuffer fused(n, Format(bytes), 1, 0);
        std::vector<float> direct(n, -1.0f);
        fused.PutSamples(c.data(), n, direct.data());
        EXPECT_EQ(std::memcmp(fused.GetSamplePtr(0), block.GetSamplePtr(0), std::size_t{n} * bytes), 0);
        EXPECT_EQ(fused.GetPeakValue(), single.GetPeakValue());
        EXPECT_EQ(direct, want);
        block.CopySamples(copied.data(), n + 2);
        want.insert(want.end(), {zero, zero}); // past the count: the zero code
        EXPECT_EQ(copied, want);
    }
    EXPECT_EQ(TSampleBuffer(8, Format(1), 1, 0).GetSample(99, false), 127.0f);
    // A decimating buffer's samples are not the block yet: nothing is copied.
    TSampleBuffer decimating(8, Format(2), 2, 0);
    const std::int32_t values[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<float> untouched(8, -1.0f);
    decimating.PutSamples(values, 8, untouched.data());
    EXPECT_EQ(untouched, std::vector<float>(8, -1.0f));
}

// 24-bit codes whose three bytes all differ land little-endian, byte for
// byte, in blocks taken eight at a time and in the tail: code 0x0A0B0C
// (plus 0x010101 per sample, negated on odd samples) is stored 0C 0B 0A.
TEST(SampleBufferTest, TwentyFourBitBlocksStoreEveryByteOfEveryCode)
{
    constexpr std::uint32_t n = 21;
    std::vector<std::int32_t> codes(n);
    std::vector<std::uint8_t> expected;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::int32_t magnitude = 0x0A0B0C + std::int32_t(i) * 0x010101;
        codes[i] = i % 2 == 0 ? magnitude : -magnitude;
        // Two's complement in 24 bits: the negation of m is 2^24 − m.
        const std::uint32_t stored = i % 2 == 0 ? std::uint32_t(magnitude) : (1u << 24) - std::uint32_t(magnitude);
        expected.insert(expected.end(), {std::uint8_t(stored), std::uint8_t(stored >> 8), std::uint8_t(stored >> 16)});
    }
    TSampleBuffer buffer(n, Format(3), 1, 0);
    buffer.PutSamples(codes.data(), n);
    const std::uint8_t* stored = buffer.GetSamplePtr(0);
    EXPECT_EQ(std::vector<std::uint8_t>(stored, stored + 3 * n), expected);
}
