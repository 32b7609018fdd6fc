#pragma once
// How long each signal's buffer is. Repeating signals fill more than one
// second with whole patterns, so that a loop never restarts mid-pattern;
// one-shot signals (single sweep, single step, one-shot pulse) keep their
// exact length.
//
// Lengths are 64-bit frame counts, capped at kMaxSeconds of output: a
// settings file can describe a step sequence of days, which no buffer
// should try to hold.

#include <cstdint>

#include "format/TWaveFormat.h"
#include "settings/SigGenSettings.h"

class TSigGenLength {
public:
    static constexpr std::uint32_t kMaxSeconds = 600;

    static std::uint64_t MaxFrames(std::uint32_t rate) { return std::uint64_t{kMaxSeconds} * rate; }

    // Frames of one channel. `pinkWords` is the pink-noise recording's loop
    // length (0 without a recording); `userFrames` the user file's length
    // (0 when it did not open or was refused, which is also what a user-file
    // channel gives then).
    static std::uint64_t GetChannelLength(const SigGenChannelSettings& settings, const TWaveFormat& output,
                                          std::uint64_t pinkWords, std::uint64_t userFrames);

    // n below 1 gives `rate`; below `rate`, the smallest multiple of n above
    // it (also when n divides it); otherwise n.
    static std::uint64_t ExtendToOneSecond(std::uint64_t n, std::uint32_t rate);

    // The tone buffers end on a period boundary of frequency f, where the
    // loop restarts; the result is even. Frequencies up to 0.1 Hz keep n.
    static std::uint64_t TrimToWholePeriods(std::uint64_t n, std::uint32_t rate, float f);

    // trunc(milliseconds × rate / 1000) within 0 … MaxFrames (0 for a
    // negative or undefined time).
    static std::uint64_t FramesOfMilliseconds(double milliseconds, std::uint32_t rate);
    // A count computed in floating point, truncated, within 0 … MaxFrames.
    static std::uint64_t ClampFrames(double frames, std::uint32_t rate);

    // Frames per period of the shaped signals (sawtooth, triangle, square):
    // trunc(rate / f), at least 2 so a frequency above Nyquist plays at
    // Nyquist; 0 (refused) for a frequency of 0 or less.
    static std::uint64_t ShapedPeriod(float f, std::uint32_t rate);
};
