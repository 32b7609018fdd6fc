#include "platform/Clock.h"

#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <tuple>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;

// 2026-12-06 00:00:00 UTC: 20454 days to 2026-01-01 (56 years, 14 leap days)
// plus 339 days. 2026-01-01 is a Thursday, and 339 = 48·7 + 3: a Sunday.
constexpr std::time_t kSunday20261206 = 20793LL * 86400;

// A clock that moves on by one millisecond at every reading, so a caller that
// reads it twice sees the second turn over in between.
class SteppingClock final : public platform::Clock {
public:
    explicit SteppingClock(system_clock::time_point start) : next(start) {}
    double SteadySeconds() const override { return 0.0; }
    system_clock::time_point Now() const override
    {
        const auto now = next;
        next += milliseconds(1);
        return now;
    }

private:
    mutable system_clock::time_point next;
};

system_clock::time_point At(std::time_t seconds, int ms)
{
    return system_clock::from_time_t(seconds) + milliseconds(ms);
}

// Each test starts in UTC; nothing else in this binary reads the zone.
class ClockTest : public testing::Test {
protected:
    void SetUp() override { SetTimeZone("UTC"); }
    void TearDown() override
    {
        platform::SetClock(nullptr);
        unsetenv("TZ");
        tzset();
    }
    static void SetTimeZone(const char* tz)
    {
        setenv("TZ", tz, 1);
        tzset();
    }
};

// Year, month, day of the week, day, hour, minute, second, milliseconds.
std::array<int, 8> Fields(const TLocalTimeFields& f)
{
    return {f.Year, f.Month, f.DayOfWeek, f.Day, f.Hour, f.Minute, f.Second, f.Milliseconds};
}

TEST_F(ClockTest, TimeOfDayAndDateFieldsAreLocalAndComeFromOneReading)
{
    // A float near 50400 resolves 1/256 s; a second read at 13:59:59.999
    // would be a second off.
    const std::tuple<int, int, double> cases[] = {{13 * 3600 + 59 * 60 + 59, 999, 50399.999}, {1, 250, 1.25},
                                                  {86399, 500, 86399.5}};
    for (const auto& [seconds, ms, expected] : cases) {
        SteppingClock clock(At(kSunday20261206 + seconds, ms));
        platform::SetClock(&clock);
        EXPECT_NEAR(GetTimeOfDaySeconds(), expected, 0.004) << seconds;
    }

    SetTimeZone("XYZ-2");  // local time, two hours east of UTC
    SteppingClock local(At(kSunday20261206 + 23 * 3600, 0));
    platform::SetClock(&local);
    EXPECT_FLOAT_EQ(GetTimeOfDaySeconds(), 3600.0f);
    SetTimeZone("UTC");

    TLocalTimeFields fields;
    fields.Milliseconds = 77;
    ASSERT_TRUE(GetLocalTimeFields(kSunday20261206 + 13 * 3600 + 45 * 60 + 30, fields));
    EXPECT_EQ(Fields(fields), (std::array{2026, 12, 0, 6, 13, 45, 30, 0}));

    // The epoch itself: Thursday 1 January 1970, month 1 not 0.
    ASSERT_TRUE(GetLocalTimeFields(0, fields));
    EXPECT_EQ(Fields(fields), (std::array{1970, 1, 4, 1, 0, 0, 0, 0}));

    // Local, not UTC: two hours east turns 23:00 into the next day.
    SetTimeZone("XYZ-2");
    ASSERT_TRUE(GetLocalTimeFields(kSunday20261206 - 3600, fields));
    EXPECT_EQ(Fields(fields), (std::array{2026, 12, 0, 6, 1, 0, 0, 0}));

    // Beyond the calendar.
    EXPECT_FALSE(GetLocalTimeFields(std::numeric_limits<std::time_t>::max(), fields));
}

} // namespace
