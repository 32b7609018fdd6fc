#pragma once
// The two input levels the status bar meters, with the levels of the
// refresh before, so that a refresh repaints only when a level moved.

#include <array>
#include <cstdint>

class StatusbarFrame;

class LevelMeters {
public:
    // A level this high or higher is an overload: the bar is drawn all red
    // and the frame's overload count of the channel goes up by one.
    static constexpr std::int32_t kOverloadLevel = 99;

    // The current levels become the previous ones; each channel then reads
    // its sample buffer's peak (0 without a buffer, both 0 while the
    // analyzer is stopped) and counts an overload with the frame.
    void Update(StatusbarFrame& frame);
    void ClearPrevious() { previous_ = {0, 0}; }
    bool Changed() const { return level_ != previous_; }

    std::int32_t Level(int channel) const { return level_[channel]; }
    std::int32_t PreviousLevel(int channel) const { return previous_[channel]; }

private:
    std::array<std::int32_t, 2> level_{0, 0};
    std::array<std::int32_t, 2> previous_{0, 0};
};
