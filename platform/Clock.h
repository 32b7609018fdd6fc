#pragma once
// The program's clock: a steady millisecond counter for arrival times and
// time budgets, and the wall-clock time for time-of-day stamps and file names.
// Tests install their own clock to drive both.

#include <chrono>
#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds of a steady counter that never jumps (not at midnight, not when
    // the wall clock is set): block intervals, hold times, time budgets.
    virtual double SteadySeconds() const = 0;
    // The current wall-clock time.
    virtual std::chrono::system_clock::time_point Now() const = 0;
};

class SystemClock final : public Clock {
public:
    double SteadySeconds() const override;
    std::chrono::system_clock::time_point Now() const override;
};

// The clock every caller uses. SetClock(nullptr) restores the system clock.
const Clock& CurrentClock();
void SetClock(const Clock* clock);

// Steady seconds of the current clock.
inline double SteadySeconds() { return CurrentClock().SteadySeconds(); }
// Milliseconds of the steady counter; wraps like a 32-bit tick count.
std::uint32_t Milliseconds();

} // namespace platform

// Calendar fields of a local time.
struct TLocalTimeFields {
    std::uint16_t Year = 0;
    std::uint16_t Month = 0;      // 1 to 12
    std::uint16_t DayOfWeek = 0;  // 0 = Sunday
    std::uint16_t Day = 0;        // day of the month
    std::uint16_t Hour = 0;
    std::uint16_t Minute = 0;
    std::uint16_t Second = 0;
    std::uint16_t Milliseconds = 0;
};

// Local time of day in seconds since midnight, with milliseconds.
double GetTimeOfDaySeconds();

// Fills fields from the local time of a time value (milliseconds 0);
// false when the value has no local time.
bool GetLocalTimeFields(std::time_t time, TLocalTimeFields& fields);
