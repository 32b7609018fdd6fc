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

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
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
    m_Stretches.push_back({std::max(0.0, end - seconds), seconds});
}

double InputLossReport::GetLostSeconds() const
{
    return m_Rate != 0 ? static_cast<double>(m_Lost) / m_Rate : 0.0;
}

std::string InputLossReport::Place(const Stretch& stretch) const
{
    // To the nearest second, the same second on both clocks.
    const double at = std::round(stretch.StartSeconds);
    std::string text = Seconds(stretch.Seconds) + " s from " + RunTime(at) + " into the run";
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

    const std::string total = Seconds(GetLostSeconds());
    const std::string name = device.empty() ? "the input device" : "\"" + device + "\"";
    std::string text = "Input was lost: " + total + " seconds of sound from " + name
        + " never arrived during this run.\n\nLost: ";
    for (std::size_t i = 0; i < m_Stretches.size() && i < kNamedStretches; ++i)
        text += (i == 0 ? "" : "; ") + Place(m_Stretches[i]);
    if (m_Stretches.size() > kNamedStretches) {
        const std::size_t more = m_Stretches.size() - kNamedStretches;
        text += "; and " + std::to_string(more) + (more == 1 ? " more stretch" : " more stretches");
    }
    text += ".\n\n";
    const bool one = m_Stretches.size() == 1;
    const std::string these = one ? "that stretch" : "these stretches";
    const std::string them = one ? "it" : "them";
    if (m_Recording && m_Logging)
        text += "The recording and the data log miss " + these + ": the recording is " + total
            + " seconds shorter than the time it covered, and the log has no records for " + them + ".";
    else if (m_Recording)
        text += "The recording misses " + these + ": it is " + total + " seconds shorter than the time it covered.";
    else if (m_Logging)
        text += "The data log misses " + these + ": it has no records for " + them + ".";
    else
        text += "The analysis did not see " + these + ".";
    text += "\n\nThe machine was too busy, or the program was held up, to take the sound as it came.";
    return text;
}
