#include "app/core/RunClock.h"

#include <thread>

#include "platform/Clock.h"

double SystemRunClock::SteadySeconds() const
{
    return platform::SteadySeconds();
}

std::chrono::system_clock::time_point SystemRunClock::Now() const
{
    return platform::CurrentClock().Now();
}

double SystemRunClock::TimeOfDaySeconds() const
{
    return GetTimeOfDaySeconds();
}

void SystemRunClock::Sleep(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
