// The build's random stream: the C runtime's generator, reproduced.

#include <gtest/gtest.h>

#include <cmath>

#include "utilities/siggen/TSigGenRandom.h"

TEST(SigGenRandom, FirstOutputsAreTheRuntimeGeneratorsFromStateOne)
{
    TSigGenRandom random;
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    EXPECT_EQ(random.Next(), 26500);
}

TEST(SigGenRandom, DitherIsTriangularOverOneStepEachSide)
{
    TSigGenRandom random;
    const int count = 200000;
    double sum = 0.0, squares = 0.0;
    int inner = 0;
    for (int i = 0; i < count; ++i) {
        const float d = random.TpdfDither();
        ASSERT_GE(d, -1.0f);
        ASSERT_LE(d, 1.0f);
        sum += d;
        squares += double(d) * d;
        inner += std::fabs(d) < 0.5f ? 1 : 0;
    }
    // The sum of two uniform values: mean 0, variance 1/6, and three
    // quarters of the mass within half a step of 0.
    EXPECT_NEAR(sum / count, 0.0, 0.005);
    EXPECT_NEAR(squares / count, 1.0 / 6.0, 0.003);
    EXPECT_NEAR(double(inner) / count, 0.75, 0.005);
}
