#include "app/StatusbarText.h"

#include "app/StatusbarFrame.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

std::string StatusbarText::Build(const StatusbarFrame& frame)
{
    const bool playback = frame.IsPlaybackOn();
    if (!frame.IsRunning())
        return playback ? "Playing..." : "Stopped";
    if (frame.GetFrameCounter() > 0)
        return playback ? "Playing..." : frame.IsDataLogWriting() ? "Logging..." : "Running...";

    const std::optional<std::uint32_t> available = frame.GetInputSamplesAvailable();
    if (!available)
        return "Stopped";
    const std::uint64_t fftSize = frame.GetFFTSize();
    const std::uint64_t percent = fftSize == 0 ? 100 : std::min<std::uint64_t>(100, *available * 100ull / fftSize);
    char text[64];
    std::snprintf(text, sizeof text, "Acquiring Data (%d%%)", static_cast<int>(percent));
    return text;
}
