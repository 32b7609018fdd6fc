#include "platform/Clock.h"

#include <atomic>
#include <ctime>

namespace platform {

namespace {
const SystemClock systemClock;
std::atomic<const Clock*> currentClock{&systemClock};
} // namespace

double SystemClock::SteadySeconds() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::uint32_t Milliseconds()
{
    const double ms = SteadySeconds() * 1000.0;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

std::chrono::system_clock::time_point SystemClock::Now() const
{
    return std::chrono::system_clock::now();
}

const Clock& CurrentClock()
{
    return *currentClock.load(std::memory_order_acquire);
}

void SetClock(const Clock* clock)
{
    currentClock.store(clock ? clock : &systemClock, std::memory_order_release);
}

} // namespace platform

double GetTimeOfDaySeconds()
{
    using namespace std::chrono;
    // Seconds and milliseconds come from one reading, so the value never
    // jumps back by almost a second when the second turns over between two reads.
    const auto now = platform::CurrentClock().Now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return 0.0;
    const auto sinceSecond = now - system_clock::from_time_t(seconds);
    const auto ms = duration_cast<milliseconds>(sinceSecond).count();
    const long daySeconds = local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec;
    return static_cast<double>(daySeconds) + static_cast<double>(ms) / 1000.0;
}

bool GetLocalTimeFields(std::time_t time, TLocalTimeFields& fields)
{
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr)
        return false;
    fields.Year = static_cast<std::uint16_t>(local.tm_year + 1900);
    fields.Month = static_cast<std::uint16_t>(local.tm_mon + 1);
    fields.DayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
    fields.Day = static_cast<std::uint16_t>(local.tm_mday);
    fields.Hour = static_cast<std::uint16_t>(local.tm_hour);
    fields.Minute = static_cast<std::uint16_t>(local.tm_min);
    fields.Second = static_cast<std::uint16_t>(local.tm_sec);
    fields.Milliseconds = 0;
    return true;
}
