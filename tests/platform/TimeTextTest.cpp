#include "platform/TimeText.h"

#include <string>

#include <gtest/gtest.h>

namespace {

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
