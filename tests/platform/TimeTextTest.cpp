#include "platform/TimeText.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Text(float seconds, bool withMilliseconds, bool forceHours = false)
{
    return FormatTime(seconds, withMilliseconds ? 1 : 0, forceHours ? 1 : 0);
}

TEST(TimeTextTest, ChoosesTheShortestForm)
{
    EXPECT_EQ(Text(3.5f, true), "3.500");
    EXPECT_EQ(Text(3.5f, false), "3");
    EXPECT_EQ(Text(65.25f, true), "1:05.250");
    EXPECT_EQ(Text(3725.0f, false), "01:02:05");
    EXPECT_EQ(Text(3725.125f, true), "01:02:05.125");
    EXPECT_EQ(Text(0.0f, true), "0.000");
    EXPECT_EQ(Text(0.7f, true), "0.700");
}

TEST(TimeTextTest, NegativeSpansKeepTheirSign)
{
    EXPECT_EQ(Text(-65.25f, true), "-1:05.250");
    EXPECT_EQ(Text(-3.5f, false), "-3");
    EXPECT_EQ(Text(-3725.0f, false), "-01:02:05");
    EXPECT_EQ(Text(-0.0f, false), "0");
}

TEST(TimeTextTest, ForcedHoursAndDayWrap)
{
    EXPECT_EQ(Text(5.0f, false, true), "00:00:05");
    EXPECT_EQ(Text(65.5f, true, true), "00:01:05.500");
    EXPECT_EQ(Text(25 * 3600.0f, false), "01:00:00");
    EXPECT_EQ(Text(86400.0f, false), "24:00:00");
}

TEST(TimeTextTest, SharesOneBuffer)
{
    const char* first = FormatTime(1.0f, 0, 0);
    const char* second = FormatTime(2.0f, 0, 0);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "2");
}

} // namespace
