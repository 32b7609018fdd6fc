#pragma once
// A sound output port: plays a wave-data buffer on the driver's thread.

#include <cstdint>

#include "audio/SoundPort.h"

class TWaveData;

class SoundOutputPort : public SoundPort {
public:
    // firstFrame −1: the wave's cursor; endFrame −1: its frame count. The
    // wave must stay alive while the output runs: the driver's thread reads
    // it at every buffer switch.
    virtual bool PreparePlayback(TWaveData* wave, bool loop, std::int64_t firstFrame, std::int64_t endFrame) = 0;
    virtual bool Start() = 0;
};
