#pragma once
// Tones played through the ports and measured where they come back.

#include "audio/TWaveData.h"

#include <cstdint>
#include <memory>
#include <vector>

struct MeasuredTone {
    double Frequency = 0;  // Hz, from the zero crossings
    double Rms = 0;        // codes, over the whole periods between them
};

// Whole periods of a sine per channel (amplitudes in codes), to be looped.
std::unique_ptr<TWaveData> MakeTone(const TWaveFormat& format, double frequency, std::uint64_t frames,
                                    double leftAmplitude, double rightAmplitude);

MeasuredTone MeasureTone(const std::vector<std::int32_t>& samples, double rate);
