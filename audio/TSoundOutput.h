#pragma once
// The sound output port: plays a wave-data buffer through the shared port.

#include "audio/TSoundPort.h"

#include <cstdint>

class TWaveData;

class TSoundOutput : public TSoundPort {
public:
    TSoundOutput(std::uint32_t device, std::uint16_t driverMode);

    // firstFrame −1: the wave's cursor; endFrame −1: its frame count. The
    // wave must stay alive until the stream stops. Refused for a range
    // outside the wave and while the stream runs.
    bool PreparePlayback(TWaveData* wave, bool loop, std::int64_t firstFrame, std::int64_t endFrame);
    // Starts the stream with whatever input and output were prepared.
    bool Start();
};
