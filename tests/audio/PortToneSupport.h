#pragma once
// Tones played through the ports and measured where they come back.

#include "audio/TSoundInput.h"
#include "audio/TSoundOutput.h"
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

// Opens both ports at 48 kHz, 24-bit, loops a 1 kHz tone at half (left) and a
// quarter (right) of full scale, prepares reads of 8192 and starts. The tone,
// or null when a step failed.
std::unique_ptr<TWaveData> StartLoopbackTone(TSoundInput& input, TSoundOutput& output);

// The 1 kHz loopback tone came back at `gain` times what was played:
// frequency within 0.5 Hz, level within 0.1 dB.
void ExpectLoopbackTone(const std::vector<std::int32_t>& left, const std::vector<std::int32_t>& right, double gain);
