// Number and time texts, the small maths helpers and the clock, against the
// C library and hand figures.

#include "platform/Clock.h"
#include "platform/NumberText.h"
#include "platform/SmallMaths.h"
#include "platform/TimeText.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <tuple>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace {

using platform::FormatFixed;
using platform::FormatInteger;
using platform::ParseFloatPrefix;
using platform::ParseIntegerPrefix;

TEST(NumberTextTest, TextsMatchPrintfAtoiAndAtofInTheCLocaleAndTimesTakeTheirShortestForm)
{
    for (const double value : {0.0, 0.5, -6.0, 94.0, 0.0001, 0.012, 95000.0, 1.0 / 3.0, 2.5e-7, -0.0000004,
                               123456789.125, static_cast<double>(0.1f), 3.4e38}) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%f", value);
        EXPECT_EQ(FormatFixed(value), expected) << value;
    }
    EXPECT_EQ(FormatFixed(2.345, 2), "2.35");
    EXPECT_EQ(FormatInteger(-2147483648LL), "-2147483648");

    for (const char* text : {"42", "  \t-17xyz", "+8", "1.5", "", "abc", "- 5", "  -1.5e3 Hz", "2E-2", "0,5", "x"}) {
        EXPECT_EQ(ParseIntegerPrefix(text), std::atoi(text)) << text;
        EXPECT_DOUBLE_EQ(ParseFloatPrefix(text), std::atof(text)) << text;
    }
    // Out of range: saturated, where atoi's result is undefined.
    EXPECT_EQ(ParseIntegerPrefix("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseIntegerPrefix("-99999999999999999999"), -2147483647 - 1);

    // Times in their shortest form, signed, with hours forced, past a day.
    // Seconds, with milliseconds, hours forced, the text.
    const std::tuple<float, int, int, const char*> times[] = {
        {3.5f, 1, 0, "3.500"},
        {65.25f, 1, 0, "1:05.250"},
        // Whole minutes of sixty seconds: ten, and the last of an hour.
        {600.0f, 0, 0, "10:00"},
        {3599.0f, 0, 0, "59:59"},
        {3725.125f, 1, 0, "01:02:05.125"},
        // Negative spans keep their sign.
        {-65.25f, 1, 0, "-1:05.250"},
        {-3.5f, 0, 0, "-3"},
        {-0.0f, 0, 0, "0"},
        {5.0f, 0, 1, "00:00:05"},
        {25 * 3600.0f, 0, 0, "01:00:00"},
        {86400.0f, 0, 0, "24:00:00"},
    };
    for (const auto& [seconds, milliseconds, forceHours, text] : times)
        EXPECT_EQ(std::string(FormatTime(seconds, milliseconds, forceHours)), text) << seconds;
}

TEST(SmallMathsTest, DecimationTapsIntegerPowersAndTruncatedDecimalsMatchHandFigures)
{
    // 50 taps per step of the factor less one, from 99 at 2 up to 499 at 10.
    const std::pair<int, int> taps[] = {{-3, 99}, {2, 99}, {3, 149}, {10, 499}, {12, 499}};
    for (const auto& [factor, count] : taps)
        EXPECT_EQ(DecimationFilterTaps(factor), count) << factor;

    // Integer powers match repeated multiplication.
    const std::tuple<double, int, double> powers[] = {{2.0, 10, 1024.0},  {10.0, 9, 1e9},    {-3.0, 3, -27.0},
                 {5.0, 0, 1.0},      {2.0, -3, 0.125},  {-2.0, -1, -0.5},
                 {0.0, -1, std::numeric_limits<double>::infinity()},
                 {2.0, std::numeric_limits<std::int32_t>::min(), 0.0}};
    for (const auto& [base, exponent, power] : powers)
        EXPECT_EQ(PowInt(base, exponent), power) << base << "^" << exponent;
    EXPECT_DOUBLE_EQ(PowInt(10.0, -2), 0.01);

    // Decimals compared by truncation towards zero, not rounding.
    EXPECT_TRUE(EqualToDecimals(1.234f, 1.2349f, 3));
    EXPECT_FALSE(EqualToDecimals(1.234f, 1.2349f, 4));
    EXPECT_FALSE(EqualToDecimals(7.9f, 8.0f, 0));
    EXPECT_TRUE(EqualToDecimals(-0.4f, 0.4f, 0));
    EXPECT_TRUE(EqualToDecimals(3.0f, 3.0f, 40));
}

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
    const std::tuple<int, int, double> cases[] = {{13 * 3600 + 59 * 60 + 59, 999, 50399.999}, {86399, 500, 86399.5}};
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
