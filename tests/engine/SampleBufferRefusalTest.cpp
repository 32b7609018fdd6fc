// A block of samples handed to a buffer that has none (its memory could not
// be had), or no block at all: nothing is written, nothing is read.
#include "engine/TSampleBuffer.h"
#include "platform/ZeroFilledArray.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SampleBufferRefusal, AFailedBufferOrAMissingBlockWritesNothing)
{
    const TWaveFormat format(48000, 1, 2);
    const std::vector<std::int32_t> block = {100, -200, 300, -400};

    platform::FailNextAllocations(1);
    TSampleBuffer starved(4, format, 1, 0);
    ASSERT_TRUE(starved.HasFailed());
    starved.PutSamples(block.data(), 4);
    EXPECT_EQ(starved.GetSamplePtr(0), nullptr);
    EXPECT_EQ(starved.GetPeakValue(), 0);

    TSampleBuffer buffer(4, format, 1, 0);
    buffer.PutSamples(block.data(), 4);
    buffer.PutSamples(nullptr, 4);
    std::vector<float> kept(4);
    buffer.CopySamples(kept.data(), 4);
    EXPECT_EQ(kept, (std::vector<float>{100, -200, 300, -400})) << "the missing block changed nothing";
}
