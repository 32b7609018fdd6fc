#include "app/LevelMeters.h"

#include "app/StatusbarFrame.h"

#include <algorithm>

void LevelMeters::Update(StatusbarFrame& frame)
{
    previous_ = level_;
    const bool running = frame.IsRunning();
    for (int channel = 0; channel < 2; ++channel) {
        std::int32_t level = 0;
        if (running)
            level = std::clamp(frame.GetPeakValue(channel).value_or(0), 0, 100);
        level_[channel] = level;
        if (level >= kOverloadLevel)
            frame.IncrementOverloadCount(channel);
    }
}
