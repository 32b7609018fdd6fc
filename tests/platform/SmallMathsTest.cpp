#include "platform/SmallMaths.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(SmallMathsTest, DecimationFilterTaps)
{
    EXPECT_EQ(DecimationFilterTaps(-3), 99);
    EXPECT_EQ(DecimationFilterTaps(1), 99);
    EXPECT_EQ(DecimationFilterTaps(2), 99);
    EXPECT_EQ(DecimationFilterTaps(3), 149);
    EXPECT_EQ(DecimationFilterTaps(4), 199);
    EXPECT_EQ(DecimationFilterTaps(9), 449);
    EXPECT_EQ(DecimationFilterTaps(10), 499);
    EXPECT_EQ(DecimationFilterTaps(12), 499);
}

TEST(SmallMathsTest, EqualToDecimals)
{
    EXPECT_TRUE(EqualToDecimals(1.234f, 1.2349f, 3));
    EXPECT_FALSE(EqualToDecimals(1.234f, 1.2349f, 4));
    EXPECT_TRUE(EqualToDecimals(7.9f, 7.1f, 0));
    EXPECT_FALSE(EqualToDecimals(7.9f, 8.0f, 0));
    // Truncation, not rounding, and towards zero on both sides of it.
    EXPECT_TRUE(EqualToDecimals(-0.4f, 0.4f, 0));
    EXPECT_TRUE(EqualToDecimals(3.0f, 3.0f, 40));
}

TEST(SmallMathsTest, PowIntMatchesRepeatedMultiplication)
{
    EXPECT_EQ(PowInt(2.0, 10), 1024.0);
    EXPECT_EQ(PowInt(10.0, 9), 1e9);
    EXPECT_EQ(PowInt(-3.0, 3), -27.0);
    EXPECT_EQ(PowInt(5.0, 0), 1.0);
    EXPECT_EQ(PowInt(2.0, -3), 0.125);
    EXPECT_EQ(PowInt(-2.0, -1), -0.5);
    EXPECT_DOUBLE_EQ(PowInt(10.0, -2), 0.01);
    EXPECT_EQ(PowInt(2.0, std::numeric_limits<std::int32_t>::min()), 0.0);
    EXPECT_EQ(PowInt(0.0, -1), std::numeric_limits<double>::infinity());
}

TEST(SmallMathsTest, FloatWrappers)
{
    EXPECT_FLOAT_EQ(PowF(2.0f, 0.5f), std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(PowF(10.0f, -1.0f), 0.1f);
    EXPECT_EQ(FabsF(-2.5f), 2.5f);
    EXPECT_EQ(FabsF(2.5f), 2.5f);
}

} // namespace
