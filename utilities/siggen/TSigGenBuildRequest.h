#pragma once
// Everything a build reads from the main frame, copied when the build
// starts: a settings change made while the worker runs cannot reach it, and
// the worker never reads the frame's records.

#include <cstdint>

#include "format/TWaveFormat.h"
#include "settings/SigGenSettings.h"

struct TSigGenBuildRequest {
    // The analyzer's format: its rate, channel count and sample width are
    // the output's unless a user file or ASIO says otherwise.
    TWaveFormat AnalyzerFormat{48000, 2, 2};
    // 1: ASIO, which runs no slower than 48000 Hz.
    std::int32_t SoundCardDriverMode = 1;
    // 1: one channel, built with the left channel's settings.
    std::uint8_t LockSignalGeneratorChannels = 0;
    SigGenOutputSettings Output;
    // Left, then right.
    SigGenChannelSettings Channel[2];
};
