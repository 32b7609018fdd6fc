// Number and time texts and the small maths helpers, against the C library
// and hand figures.

#include "platform/NumberText.h"
#include "platform/SmallMaths.h"
#include "platform/TimeText.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace {

using platform::FormatFixed;
using platform::FormatInteger;
using platform::ParseFloatPrefix;
using platform::ParseIntegerPrefix;

TEST(NumberTextTest, TextsMatchPrintfAtoiAndAtofInTheCLocale)
{
    for (const double value : {0.0, 0.5, -6.0, 94.0, 0.0001, 0.012, 95000.0, 1.0 / 3.0, 2.5e-7, -0.0000004,
                               123456789.125, static_cast<double>(0.1f), 3.4e38}) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%f", value);
        EXPECT_EQ(FormatFixed(value), expected) << value;
    }
    EXPECT_EQ(FormatFixed(2.345, 2), "2.35");
    EXPECT_EQ(FormatInteger(-2147483648LL), "-2147483648");
    EXPECT_EQ(FormatInteger(65536), "65536");

    for (const char* text : {"42", "  \t-17xyz", "+8", "1.5", "", "abc", "- 5", "  -1.5e3 Hz", "2E-2", "0,5", "x"}) {
        EXPECT_EQ(ParseIntegerPrefix(text), std::atoi(text)) << text;
        EXPECT_DOUBLE_EQ(ParseFloatPrefix(text), std::atof(text)) << text;
    }
    // Out of range: saturated, where atoi's result is undefined.
    EXPECT_EQ(ParseIntegerPrefix("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseIntegerPrefix("-99999999999999999999"), -2147483647 - 1);
}

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

TEST(SmallMathsTest, EqualToDecimalsTruncatesTowardsZero)
{
    EXPECT_TRUE(EqualToDecimals(1.234f, 1.2349f, 3));
    EXPECT_FALSE(EqualToDecimals(1.234f, 1.2349f, 4));
    EXPECT_TRUE(EqualToDecimals(7.9f, 7.1f, 0));
    EXPECT_FALSE(EqualToDecimals(7.9f, 8.0f, 0));
    // Truncation, not rounding, and towards zero on both sides of it.
    EXPECT_TRUE(EqualToDecimals(-0.4f, 0.4f, 0));
    EXPECT_TRUE(EqualToDecimals(3.0f, 3.0f, 40));
}

TEST(TimeTextTest, ShortestFormSignForcedHoursAndDayWrap)
{
    struct Case {
        float seconds;
        bool milliseconds;
        bool forceHours;
        const char* text;
    } cases[] = {
        {3.5f, true, false, "3.500"},
        {65.25f, true, false, "1:05.250"},
        {3725.0f, false, false, "01:02:05"},
        {3725.125f, true, false, "01:02:05.125"},
        {0.7f, true, false, "0.700"},
        // Negative spans keep their sign.
        {-65.25f, true, false, "-1:05.250"},
        {-3.5f, false, false, "-3"},
        {-3725.0f, false, false, "-01:02:05"},
        {-0.0f, false, false, "0"},
        {5.0f, false, true, "00:00:05"},
        {65.5f, true, true, "00:01:05.500"},
        {25 * 3600.0f, false, false, "01:00:00"},
        {86400.0f, false, false, "24:00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(FormatTime(c.seconds, c.milliseconds ? 1 : 0, c.forceHours ? 1 : 0)), c.text)
            << c.seconds;
}

} // namespace
