#pragma once
// Time as the run control sees it: a steady counter for time budgets, block
// times and playback position; the wall clock for the data log's day; the
// local time of day for log records; and a pause. Tests drive all four.

#include <chrono>
#include <cstdint>

class RunClock {
public:
    virtual ~RunClock() = default;
    // Seconds of a counter that never jumps.
    virtual double SteadySeconds() const = 0;
    virtual std::chrono::system_clock::time_point Now() const = 0;
    // Local time since midnight, seconds with milliseconds.
    virtual double TimeOfDaySeconds() const = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// The platform's clock (or the one a test installed there) and a real pause.
class SystemRunClock final : public RunClock {
public:
    double SteadySeconds() const override;
    std::chrono::system_clock::time_point Now() const override;
    double TimeOfDaySeconds() const override;
    void Sleep(std::uint32_t milliseconds) override;
};
