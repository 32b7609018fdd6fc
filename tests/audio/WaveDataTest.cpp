#include "audio/TWaveData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ZeroFilledArray.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Stored(const TWaveData& data, std::size_t bytes)
{
    return Bytes(data.GetBuffer(), data.GetBuffer() + bytes);
}

TEST(WaveData, ABufferWithoutFramesRefusesEveryAccessAndTheCursorNeverLeavesOne)
{
    TWaveData data(0, TWaveFormat(48000, 1, 1));
    std::uint8_t byte = 0;
    EXPECT_EQ(data.GetBuffer(), nullptr);
    EXPECT_EQ(data.GetSample(0, 0, false), 127.0);
    EXPECT_FALSE(data.PutSample(1, 0, 0) || data.WriteData(&byte, 1) || data.ReadData(&byte, 1)
                 || data.GetFrames(&byte, 0, 0, 0));
    EXPECT_FALSE(data.Failed);
    EXPECT_TRUE(data.Modified);

    // Counts reach beyond four gigabytes: an hour at 192 kHz, stereo, 24-bit.
    const TWaveData wide(0, TWaveFormat(192000, 2, 3));
    EXPECT_EQ((std::vector<std::uint64_t>{wide.SecondsToFrames(3600.0), wide.FramesToBytes(691200000u),
                                          wide.BytesToFrames(4147200000u)}),
              (std::vector<std::uint64_t>{691200000u, 4147200000u, 691200000u}));
    EXPECT_DOUBLE_EQ(wide.FramesToSeconds(691200000u), 3600.0);

    TWaveData cursor(10, TWaveFormat(1000, 2, 2));
    EXPECT_EQ((std::vector<std::uint64_t>{cursor.SetPosition(4), cursor.SetPosition(11), cursor.Advance(100),
                                          cursor.Rewind(), cursor.SecondsToFrames(0.99999)}),
              (std::vector<std::uint64_t>{4, 4, 10, 0, 999}));
    EXPECT_FLOAT_EQ(cursor.SetPositionSeconds(0.0075), 0.007f);

    // Writing the right channel leaves the cursor; the left moves it on,
    // whatever frame it wrote, but never past the end.
    EXPECT_TRUE(cursor.PutSample(5, 0, 1));
    EXPECT_EQ(cursor.GetPosition(), 7u);
    EXPECT_TRUE(cursor.PutSample(5, 0, 0));
    EXPECT_EQ(cursor.GetPosition(), 8u);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(cursor.PutSample(5, 9, 0));
    EXPECT_EQ(cursor.GetPosition(), 10u);
    EXPECT_EQ(cursor.GetDataFrames(), 10u);
    EXPECT_FALSE(cursor.PutSample(5, 10, 0));
}

TEST(WaveData, SequentialDataStopsAtTheEndAndAtAClosedGate)
{
    TWaveData data(4, TWaveFormat(8000, 1, 2));
    const Bytes six = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
    data.SetPosition(1);
    EXPECT_TRUE(data.WriteData(six.data(), six.size()));
    EXPECT_EQ(data.GetPosition(), 4u);
    EXPECT_EQ(data.GetDataFrames(), 4u);
    EXPECT_EQ(data.GetSample(3, 0, false), 3.0);

    data.WriteGate = 1;
    data.SetPosition(0);
    EXPECT_FALSE(data.WriteData(six.data(), 2));
    EXPECT_EQ(data.GetSample(0, 0, false), 0.0);
    EXPECT_EQ(data.GetPosition(), 0u);

    // The last frame can be read; the rest of the request is silence.
    Bytes out(6, 0xEE);
    data.SetPosition(3);
    EXPECT_TRUE(data.ReadData(out.data(), out.size()));
    EXPECT_EQ(out, (Bytes{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(data.GetPosition(), 4u);
    EXPECT_FALSE(data.ReadData(out.data(), out.size()));
}

// PutSample stores a value's low bytes when its width can hold the value;
// otherwise it stores nothing, leaves the cursor and the data length, and
// says so. Each row writes frame 0, channel 0 of a one-frame mono buffer
// whose sample starts as 0xAA bytes.
TEST(WaveData, PutSampleStoresWhatTheWidthHoldsAndRefusesTheRest)
{
    struct Row {
        std::uint16_t bytes;
        std::int32_t value;
        bool stored;
        Bytes sample;
    } rows[] = {
        // 8-bit: up to 255 either way; a negative value is its low byte.
        {1, 255, true, {0xFF}},
        {1, 256, false, {0xAA}},
        {1, -255, true, {0x01}},
        {1, -256, false, {0xAA}},
        {1, -5, true, {0xFB}},  // 251
        // 16-bit: −32768 … 32767, little-endian.
        {2, 32767, true, {0xFF, 0x7F}},
        {2, 32768, false, {0xAA, 0xAA}},
        {2, -32768, true, {0x00, 0x80}},
        {2, -32769, false, {0xAA, 0xAA}},
        {2, 40000, false, {0xAA, 0xAA}},
        // 24-bit: −8388608 … 8388607; −1 is 0xFFFFFF through EncodeSample.
        {3, 8388607, true, {0xFF, 0xFF, 0x7F}},
        {3, 8388608, false, {0xAA, 0xAA, 0xAA}},
        {3, -1, true, {0xFF, 0xFF, 0xFF}},
        {3, -8388608, true, {0x00, 0x00, 0x80}},
        {3, -8388609, false, {0xAA, 0xAA, 0xAA}},
        {3, 9000000, false, {0xAA, 0xAA, 0xAA}},
        // 32-bit holds every value.
        {4, -2147483647 - 1, true, {0x00, 0x00, 0x00, 0x80}},
        {4, 2147483647, true, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.bytes << " bytes, value " << row.value);
        TWaveData data(1, TWaveFormat(8000, 1, row.bytes));
        std::fill(data.GetBuffer(), data.GetBuffer() + row.bytes, std::uint8_t{0xAA});
        data.Modified = 0;
        EXPECT_EQ(data.PutSample(row.value, 0, 0), row.stored);
        EXPECT_EQ(Stored(data, row.bytes), row.sample);
        EXPECT_EQ(data.GetPosition(), row.stored ? 1u : 0u);
        EXPECT_EQ(data.GetDataFrames(), row.stored ? 1u : 0u);
        EXPECT_EQ(data.Modified.load(), row.stored ? 1 : 0);
    }
}

TEST(WaveData, SamplesReadBackAndScaleByTheChannelsUnitFactor)
{
    TWaveData eight(3, TWaveFormat(8000, 1, 1));
    const std::int32_t codes[] = {-5, 255, 128};
    for (std::uint64_t f = 0; f < 3; ++f)
        EXPECT_TRUE(eight.PutSample(codes[f], f, 0));
    EXPECT_EQ(Stored(eight, 3), (Bytes{251, 255, 128}));
    EXPECT_EQ(eight.GetSample(2, 0, false), 128.0);  // unsigned code, zero offset not taken off
    EXPECT_FLOAT_EQ(static_cast<float>(eight.GetSample(1, 0, true)), 128.0f / 127.5f);

    TWaveData sixteen(2, TWaveFormat(8000, 2, 2));
    sixteen.SetScale(0.0f, 0.5f);  // zero: the default of 2
    sixteen.PutSample(32767, 1, 0);
    sixteen.PutSample(-32767, 1, 1);
    EXPECT_NEAR(sixteen.GetSample(1, 0, true), 2.0, 1e-6);
    EXPECT_NEAR(sixteen.GetSample(1, 1, true), -0.5, 1e-6);
    // A new format brings its own range: full scale stays full scale.
    sixteen.SetFormat(TWaveFormat(8000, 2, 4));
    EXPECT_FLOAT_EQ(sixteen.GetUnitFactor(1), static_cast<float>(0.5 / 2147483647.0));

    TWaveData wide(1, TWaveFormat(8000, 1, 3));
    EXPECT_TRUE(wide.PutSample(-1, 0, 0));
    EXPECT_EQ(wide.GetSample(0, 1, false), -1.0);  // mono reads channel 1 as 0
}

TEST(WaveData, ResizeKeepsTheLeadingFramesAndAddsSilence)
{
    TWaveData data(2, TWaveFormat(8000, 1, 1));
    data.PutSample(10, 0, 0);
    data.PutSample(20, 1, 0);
    ASSERT_TRUE(data.Resize(4));
    EXPECT_EQ(Stored(data, 4), (Bytes{10, 20, 127, 127}));
    EXPECT_EQ(data.GetSizeBytes(), 4u);

    platform::FailNextAllocations(1);
    EXPECT_FALSE(data.Resize(1000));
    EXPECT_EQ(data.GetNumFrames(), 4u);
    EXPECT_FALSE(data.Failed);

    // Room for exactly the frames held is room enough; less is refused.
    EXPECT_TRUE(data.ReserveFrames(4));
    EXPECT_FALSE(data.ReserveFrames(3));
    ASSERT_TRUE(data.ReserveFrames(64));
    EXPECT_GE(data.GetReservedFrames(), 64u);
    // Asking again for room already there succeeds and keeps it.
    EXPECT_TRUE(data.ReserveFrames(64));
    EXPECT_TRUE(data.ReserveFrames(10));
    EXPECT_GE(data.GetReservedFrames(), 64u);
    EXPECT_EQ(Stored(data, 4), (Bytes{10, 20, 127, 127}));

    ASSERT_TRUE(data.Resize(1));
    EXPECT_EQ((std::vector<std::uint64_t>{data.GetNumFrames(), data.GetPosition(), data.GetDataFrames()}),
              (std::vector<std::uint64_t>{1, 1, 1}));
    EXPECT_EQ(data.GetSample(0, 0, false), 10.0);

    platform::FailNextAllocations(1);
    TWaveData failed(10, TWaveFormat());
    EXPECT_TRUE(failed.Failed);
    EXPECT_EQ(failed.GetNumFrames(), 0u);
}

TEST(WaveData, FramesCopyOneChannelOrWholeFrames)
{
    TWaveData data(3, TWaveFormat(8000, 2, 2));
    const Bytes left = {1, 0, 2, 0, 3, 0};
    ASSERT_TRUE(data.PutFrames(left.data(), 0, 3, 0));
    Bytes frames(12);
    ASSERT_TRUE(data.GetFrames(frames.data(), 0, 3, TWaveData::kAllChannels));
    EXPECT_EQ(frames, (Bytes{1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}));
    Bytes right(2);
    EXPECT_TRUE(data.GetFrames(right.data(), 2, 1, 1));
    EXPECT_FALSE(data.GetFrames(right.data(), 2, 2, 1) || data.GetFrames(right.data(), 4, 0, 1));
    EXPECT_TRUE(data.GetFrames(right.data(), 3, 0, 1)) << "nothing from the end";
    EXPECT_EQ(data.GetDataFrames(), 0u);  // raw copies are not recorded data
}

// Amplitude of the decimated output of a sine at `hz`, 48 kHz in, ratio 2.
double DecimatedAmplitude(double hz)
{
    TWaveData data(1000, TWaveFormat(48000, 2, 2));
    for (int f = 0; f < 1000; ++f) {
        data.PutSample(static_cast<std::int32_t>(std::lround(10000 * std::sin(2 * M_PI * hz * f / 48000))), f, 1);
        data.PutSample(20000, f, 0);  // DC on the left: the channels stay apart
    }
    data.DesignDecimationFilter(2);
    const std::uint64_t frames = data.FilterAndDecimate(2);
    EXPECT_EQ(frames, 450u);  // ceil((1000 - 99 - 1) / 2)
    double peak = 0;
    for (std::uint64_t j = 0; j < frames; ++j) {
        EXPECT_NEAR(data.GetSample(j, 0, false), 20000.0, 200.0);
        peak = std::max(peak, std::fabs(data.GetSample(j, 1, false)));
    }
    return peak;
}

TEST(WaveData, DecimationPassesTheLowBandOnlyThroughASymmetricWindowedSinc)
{
    TWaveData data(0, TWaveFormat(48000, 1, 2));
    data.DesignDecimationFilter(4);
    ASSERT_EQ(data.GetFilterTaps(), 199);
    const float* c = data.GetFilterCoefficients();
    EXPECT_FLOAT_EQ(c[99], 0.25f);
    EXPECT_NEAR(c[0], 0.0f, 1e-9f);
    double sum = 0;
    for (int i = 0; i < 199; ++i) {
        EXPECT_EQ(c[i], c[198 - i]);
        sum += c[i];
    }
    EXPECT_NEAR(sum, 1.0, 0.01);  // unit gain at DC, though not normalised

    EXPECT_NEAR(DecimatedAmplitude(1000.0), 10000.0, 150.0);
    EXPECT_LT(DecimatedAmplitude(18000.0), 100.0);
    TWaveData shortBuffer(100, TWaveFormat());
    shortBuffer.DesignDecimationFilter(2);
    EXPECT_EQ(shortBuffer.FilterAndDecimate(2), 0u);
}

}  // namespace
