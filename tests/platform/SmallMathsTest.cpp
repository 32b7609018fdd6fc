#include "platform/SmallMaths.h"

#include <cmath>
#include <limits>
#include <utility>

#include <gtest/gtest.h>

namespace {

TEST(SmallMathsTest, DecimationTapsAndIntegerPowersMatchHandFigures)
{
    // 50 taps per step of the factor less one, from 99 at 2 up to 499 at 10.
    const std::pair<int, int> taps[] = {{-3, 99}, {1, 99}, {2, 99}, {3, 149}, {4, 199}, {9, 449}, {10, 499}, {12, 499}};
    for (const auto& [factor, count] : taps)
        EXPECT_EQ(DecimationFilterTaps(factor), count) << factor;

    // Integer powers match repeated multiplication.
    struct Case {
        double base;
        int exponent;
        double power;
    } cases[] = {{2.0, 10, 1024.0},  {10.0, 9, 1e9},    {-3.0, 3, -27.0},
                 {5.0, 0, 1.0},      {2.0, -3, 0.125},  {-2.0, -1, -0.5},
                 {0.0, -1, std::numeric_limits<double>::infinity()},
                 {2.0, std::numeric_limits<std::int32_t>::min(), 0.0}};
    for (const Case& c : cases)
        EXPECT_EQ(PowInt(c.base, c.exponent), c.power) << c.base << "^" << c.exponent;
    EXPECT_DOUBLE_EQ(PowInt(10.0, -2), 0.01);
}

TEST(SmallMathsTest, EqualToDecimalsTruncatesAndFloatWrappersAgreeWithTheLibrary)
{
    EXPECT_TRUE(EqualToDecimals(1.234f, 1.2349f, 3));
    EXPECT_FALSE(EqualToDecimals(1.234f, 1.2349f, 4));
    EXPECT_TRUE(EqualToDecimals(7.9f, 7.1f, 0));
    EXPECT_FALSE(EqualToDecimals(7.9f, 8.0f, 0));
    // Truncation, not rounding, and towards zero on both sides of it.
    EXPECT_TRUE(EqualToDecimals(-0.4f, 0.4f, 0));
    EXPECT_TRUE(EqualToDecimals(3.0f, 3.0f, 40));

    EXPECT_FLOAT_EQ(PowF(2.0f, 0.5f), std::sqrt(2.0f));
    EXPECT_EQ(FabsF(-2.5f), 2.5f);
}

} // namespace
