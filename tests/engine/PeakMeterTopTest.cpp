// The level meter's top: 100 only from one code below full scale; the code
// below that reads 99 (100 × log 32765 / log 32767 = 99.998, truncated).
#include "engine/TSampleBuffer.h"

#include <gtest/gtest.h>

#include <vector>

TEST(PeakMeterTop, OneCodeBelowFullScaleIsTheTopTwoCodesBelowIsNot)
{
    std::vector<int> levels;
    for (std::int32_t code : {32765, 32766, -32765, -32766}) {
        TSampleBuffer buffer(4, TWaveFormat(48000, 1, 2), 1, 0);
        const std::int32_t block[] = {0, code, 0, 0};
        buffer.PutSamples(block, 4);
        levels.push_back(buffer.GetPeakValue());
    }
    EXPECT_EQ(levels, (std::vector<int>{99, 100, 99, 100}));
}
