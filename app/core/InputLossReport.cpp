#include "app/core/InputLossReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/Clock.h"

namespace {

// "m:ss", or "h:mm:ss" from an hour on.
std::string RunTime(double seconds)
{
    const auto whole = static_cast<long long>(std::max(0.0, seconds));
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

// "1.5 seconds" (or "1.5 s" when short) from a second on; below it in
// milliseconds, so an xrun of a few never reads as "0.0".
std::string Amount(double seconds, bool shortUnit)
{
    char text[48];
    const double ms = seconds * 1000.0;
    if (std::round(ms) >= 1000.0)
        std::snprintf(text, sizeof text, "%.1f %s", seconds, shortUnit ? "s" : "seconds");
    else if (ms >= 9.95)
        std::snprintf(text, sizeof text, "%.0f ms", ms);
    else if (ms >= 0.995)
        std::snprintf(text, sizeof text, "%.1f ms", ms);
    else
        std::snprintf(text, sizeof text, "%.2g ms", ms);
    return text;
}

} // namespace

void InputLossReport::Start(double now, std::chrono::system_clock::time_point wall, std::int64_t framesLost,
                            std::uint32_t rate, bool recording, bool logging)
{
    m_Recording = recording;
    m_Logging = logging;
    m_Active = true;
    m_Start = now;
    m_Wall = wall;
    m_Rate = rate;
    m_Counted = framesLost;
    m_Lost = 0;
    m_Stretches.clear();
    m_RecentDue.clear();
    m_Schedule[0] = m_Schedule[1] = Schedule{};
}

void InputLossReport::Note(double now, std::int64_t framesLost)
{
    if (!m_Active || framesLost <= m_Counted || m_Rate == 0)
        return;
    const std::int64_t added = framesLost - m_Counted;
    m_Counted = framesLost;
    m_Lost += added;
    const double seconds = static_cast<double>(added) / m_Rate;
    const double end = now - m_Start;
    Stretch stretch{std::max(0.0, end - seconds), seconds};
    stretch.LogMissed = DueWithin(stretch.StartSeconds - m_EdgeMargin, end + m_EdgeMargin);
    m_Stretches.push_back(stretch);
}

// The step after the loss may have taken a record due inside it before the
// count was read; due times no step has reached yet come from the schedule.
bool InputLossReport::DueWithin(double from, double to) const
{
    if (std::any_of(m_RecentDue.begin(), m_RecentDue.end(), [&](double due) { return due >= from && due <= to; }))
        return true;
    return std::any_of(std::begin(m_Schedule), std::end(m_Schedule), [&](const Schedule& s) {
        if (!s.Known)
            return false;
        double first = s.Next;
        if (first < from) {
            if (s.Interval <= 0.0)
                return false;
            // The first due time from `from` on.
            first += std::ceil((from - first) / s.Interval) * s.Interval;
        }
        return first <= to;
    });
}

void InputLossReport::NoteLogRecordDue(double due)
{
    if (!m_Active)
        return;
    const double at = due - m_Start;
    if (m_RecentDue.size() == kRecentDueTimes)
        m_RecentDue.erase(m_RecentDue.begin());
    m_RecentDue.push_back(at);
    // Stretches are noted as they end, so only the latest can hold it.
    for (auto s = m_Stretches.rbegin(); s != m_Stretches.rend() && s->StartSeconds + s->Seconds + m_EdgeMargin >= at;
         ++s)
        if (at >= s->StartSeconds - m_EdgeMargin)
            s->LogMissed = true;
}

void InputLossReport::NoteLogSchedule(int channel, double next, double interval)
{
    if (m_Active && (channel == 0 || channel == 1))
        m_Schedule[channel] = Schedule{true, next - m_Start, interval};
}

double InputLossReport::GetLostSeconds() const
{
    return m_Rate != 0 ? static_cast<double>(m_Lost) / m_Rate : 0.0;
}

std::string InputLossReport::Place(const Stretch& stretch) const
{
    // To the nearest second, the same second on both clocks.
    const double at = std::round(stretch.StartSeconds);
    std::string text = Amount(stretch.Seconds, true) + " from " + RunTime(at) + " into the run";
    const auto wall = m_Wall + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                   std::chrono::duration<double>(at));
    TLocalTimeFields fields;
    if (GetLocalTimeFields(std::chrono::system_clock::to_time_t(wall), fields)) {
        char clock[24];
        std::snprintf(clock, sizeof clock, "%02u:%02u:%02u", unsigned(fields.Hour), unsigned(fields.Minute),
                      unsigned(fields.Second));
        text += std::string(" (") + clock + ")";
    }
    return text;
}

std::string InputLossReport::Finish(double now, std::int64_t framesLost, const std::string& device)
{
    Note(now, framesLost);
    const bool lost = m_Active && m_Lost > 0;
    m_Active = false;
    if (!lost)
        return {};

    const std::string total = Amount(GetLostSeconds(), false);
    const std::string name = device.empty() ? "the input device" : "\"" + device + "\"";
    std::string text = "Input was lost: " + total + " of sound from " + name
        + " never arrived during this run.\n\nLost: ";
    for (std::size_t i = 0; i < m_Stretches.size() && i < kNamedStretches; ++i)
        text += (i == 0 ? "" : "; ") + Place(m_Stretches[i]);
    if (m_Stretches.size() > kNamedStretches) {
        const std::size_t more = m_Stretches.size() - kNamedStretches;
        text += "; and " + std::to_string(more) + (more == 1 ? " more stretch" : " more stretches");
    }
    text += ".\n\n" + WhatMissesThem(total);
    text += "\n\nThe machine was too busy, or the program was held up, to take the sound as it came.";
    return text;
}

// The recording misses every stretch it was running through; the data log
// only those a record fell due in.
std::string InputLossReport::WhatMissesThem(const std::string& total) const
{
    const std::size_t count = m_Stretches.size();
    const auto logMissed = static_cast<std::size_t>(
        std::count_if(m_Stretches.begin(), m_Stretches.end(), [](const Stretch& s) { return s.LogMissed; }));
    const bool one = count == 1;
    const std::string these = one ? "that stretch" : "these stretches";
    const std::string them = one ? "it" : "them";
    const std::string recording =
        "The recording misses " + these + ": it is " + total + " shorter than the time it covered.";
    if (!m_Logging)
        return m_Recording ? recording : "The analysis did not see " + these + ".";
    if (logMissed == count)
        return m_Recording ? "The recording and the data log miss " + these + ": the recording is " + total
                                 + " shorter than the time it covered, and the log has no records for " + them + "."
                           : "The data log misses " + these + ": it has no records for " + them + ".";
    if (logMissed == 0)
        return (m_Recording ? recording : "The analysis did not see " + these + ".") + " No data-log record fell due in "
            + them + ", so the log has every record.";
    const std::string some = "The data log misses " + std::to_string(logMissed) + " of " + these
        + ": it has no records for " + (logMissed == 1 ? "that one" : "those") + "; no record fell due in the others.";
    return m_Recording ? recording + " " + some : some;
}
