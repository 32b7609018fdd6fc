// The frame past the end of a wave buffer: after the buffer shrank, the old
// samples still lie beyond its end, and a read or write there must not reach them.
#include "audio/TWaveData.h"

#include <gtest/gtest.h>

#include <vector>

TEST(WaveDataEnd, AShrunkBufferReadsAndWritesNoFrameAtOrPastItsEnd)
{
    TWaveData wave(4, TWaveFormat(8000, 2, 2));
    for (std::uint64_t f = 0; f < 4; ++f) {
        ASSERT_TRUE(wave.PutSample(static_cast<std::int32_t>(100 + f), f, 0));
        ASSERT_TRUE(wave.PutSample(static_cast<std::int32_t>(200 + f), f, 1));
    }
    ASSERT_TRUE(wave.Resize(3));
    // Frames 0 … 2 stay; frame 3 is gone and reads as silence (16-bit: 0).
    std::vector<double> left, right;
    for (std::uint64_t f = 0; f < 5; ++f) {
        left.push_back(wave.GetSample(f, 0, false));
        right.push_back(wave.GetSample(f, 1, false));
    }
    EXPECT_EQ(left, (std::vector<double>{100, 101, 102, 0, 0}));
    EXPECT_EQ(right, (std::vector<double>{200, 201, 202, 0, 0}));
    EXPECT_FALSE(wave.PutSample(7, 3, 0));
    EXPECT_FALSE(wave.PutSample(7, 3, 1));
    EXPECT_EQ(wave.GetNumFrames(), 3u);
    ASSERT_TRUE(wave.Resize(4));
    EXPECT_EQ(wave.GetSample(3, 0, false), 0.0) << "a frame added back is silence, not what a write left";
}

// Frames put beyond the end, or from nowhere, are refused and change nothing.
TEST(WaveDataEnd, PuttingFramesPastTheEndOrFromNowhereIsRefused)
{
    TWaveData wave(4, TWaveFormat(8000, 1, 2));
    const std::int16_t two[2] = {7, 8};
    EXPECT_FALSE(wave.PutFrames(two, 3, 2, TWaveData::kAllChannels)) << "one frame past the end";
    EXPECT_FALSE(wave.PutFrames(two, 5, 0, TWaveData::kAllChannels)) << "starting past the end";
    EXPECT_FALSE(wave.PutFrames(nullptr, 0, 1, TWaveData::kAllChannels));
    EXPECT_EQ(wave.GetSample(3, 0, false), 0.0);
    EXPECT_TRUE(wave.PutFrames(two, 2, 2, TWaveData::kAllChannels));
    EXPECT_EQ((std::vector<double>{wave.GetSample(2, 0, false), wave.GetSample(3, 0, false)}),
              (std::vector<double>{7, 8}));
}
