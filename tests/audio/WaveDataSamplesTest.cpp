// One channel's codes out of a wave (from memory and from a streamed file's
// working file), and the cursor as recording and playback show it.
#include "audio/TWaveData.h"
#include "audio/TWaveFile.h"
#include "platform/TempFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Codes = std::vector<std::int32_t>;

// A wave of the format whose frames hold the given codes (right: stereo).
void Fill(TWaveData& wave, const Codes& left, const Codes& right)
{
    for (std::size_t f = 0; f < left.size(); ++f) {
        if (!right.empty()) {
            ASSERT_TRUE(wave.PutSample(right[f], f, 1));
        }
        ASSERT_TRUE(wave.PutSample(left[f], f, 0));
    }
}

Codes Read(TWaveData& wave, std::uint64_t first, std::uint64_t count, int channel)
{
    Codes codes(count, -7);
    EXPECT_TRUE(wave.GetSamples(codes.data(), first, count, channel));
    return codes;
}

// Each row: a width and channel count, the stored codes, and what a read of
// one channel gives: codes about the zero offset, so an 8-bit 127 is 0.
TEST(WaveDataSamples, OneChannelsCodesComeOutAboutZeroAtEveryWidth)
{
    struct Row {
        std::uint16_t bytes, channels;
        Codes left, right;
        std::uint64_t first, count;
        int channel;
        Codes expected;
    } rows[] = {
        {1, 1, {0, 127, 255, 200}, {}, 0, 4, 0, {-127, 0, 128, 73}},
        {1, 1, {0, 127, 255, 200}, {}, 1, 2, 1, {0, 128}},  // mono: channel 1 is channel 0
        {1, 2, {10, 20, 30}, {127, 128, 0}, 0, 3, 1, {0, 1, -127}},
        {2, 2, {1, -2, 32767}, {-32768, 5, 0}, 0, 3, 1, {-32768, 5, 0}},
        {2, 2, {1, -2, 32767}, {-32768, 5, 0}, 1, 2, 0, {-2, 32767}},
        {3, 1, {-1, 2, -3, 8388607, -8388608}, {}, 0, 5, 0, {-1, 2, -3, 8388607, -8388608}},
        {3, 2, {-8388608, 1}, {8388607, -1}, 0, 2, 1, {8388607, -1}},
        {4, 2, {-2147483647 - 1, 7}, {2147483647, -9}, 0, 2, 0, {-2147483647 - 1, 7}},
        {4, 2, {-2147483647 - 1, 7}, {2147483647, -9}, 1, 1, 1, {-9}},
        {2, 1, {4, 5, 6}, {}, 2, 1, 1, {6}},  // the last frame alone
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.bytes << " bytes, " << row.channels << " channels, from "
                                        << row.first << " count " << row.count << " channel " << row.channel);
        TWaveData wave(row.left.size(), TWaveFormat(8000, row.channels, row.bytes));
        Fill(wave, row.left, row.right);
        EXPECT_EQ(Read(wave, row.first, row.count, row.channel), row.expected);
    }

    // A range that leaves the buffer reads nothing.
    TWaveData wave(3, TWaveFormat(8000, 2, 2));
    Codes codes(2, -7);
    EXPECT_FALSE(wave.GetSamples(codes.data(), 2, 2, 0));
    EXPECT_FALSE(wave.GetSamples(codes.data(), 4, 0, 0));
    EXPECT_FALSE(wave.GetSamples(nullptr, 0, 1, 0));
    EXPECT_EQ(codes, (Codes{-7, -7}));
}

// A streamed file's frames lie in its working file; reading them leaves its
// cursor where recording left it.
TEST(WaveDataSamples, AStreamedFileGivesItsChannelFromTheWorkingFile)
{
    TWaveFile file(TWaveFormat(8000, 2, 3), false, platform::SystemTempFolder());
    ASSERT_EQ(file.Failed.load(), 0);
    // Frames (L, R): (1, −1), (2, −2), (3, −3) as 24-bit little-endian.
    const std::uint8_t frames[] = {1, 0, 0, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0xFE, 0xFF, 0xFF, 3, 0, 0, 0xFD, 0xFF, 0xFF};
    ASSERT_TRUE(file.WriteData(frames, sizeof frames));
    ASSERT_EQ(file.GetPosition(), 3u);
    EXPECT_EQ(Read(file, 1, 2, 1), (Codes{-2, -3}));
    EXPECT_EQ(Read(file, 0, 3, 0), (Codes{1, 2, 3}));
    EXPECT_EQ(file.GetPosition(), 3u);
    Codes beyond(2, 0);
    EXPECT_FALSE(file.GetSamples(beyond.data(), 2, 2, 0));
}

// The cursor in seconds stops at the data's end: a memory recording keeps
// room ahead of what it has recorded.
TEST(WaveDataSamples, TheCursorReadsInSecondsUpToTheDataItHolds)
{
    TWaveData wave(10, TWaveFormat(1000, 1, 2));
    EXPECT_FLOAT_EQ(wave.GetCursorSeconds(), 0.0f);
    const std::int16_t four[4] = {1, 2, 3, 4};
    ASSERT_TRUE(wave.WriteData(four, sizeof four));
    // Recording: the cursor is the data's end, 4 frames at 1 kHz.
    EXPECT_FLOAT_EQ(wave.GetCursorSeconds(), 0.004f);
    // Playing from frame 2.
    wave.SetPosition(2);
    EXPECT_FLOAT_EQ(wave.GetCursorSeconds(), 0.002f);
    // Placed in the room beyond the data: the position reads 8 ms, the
    // cursor stops at the data's 4.
    wave.SetPosition(8);
    EXPECT_FLOAT_EQ(wave.GetPositionSeconds(), 0.008f);
    EXPECT_FLOAT_EQ(wave.GetCursorSeconds(), 0.004f);
}

} // namespace
