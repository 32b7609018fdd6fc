#pragma once
// The sound input port: streams its device into the shared port's ring.

#include "audio/TSoundPort.h"

#include <cstdint>

class TWaveFile;
struct TriggerOpts;

class TSoundInput : public TSoundPort {
public:
    TSoundInput(std::uint32_t device, std::uint16_t driverMode);

    // recording: a file that receives every block as it arrives, or null;
    // it and the trigger record must outlive the run. The ring is sized for
    // reads of blockLength frames. Refused while the stream runs.
    bool PrepareInput(TWaveFile* recording, std::uint32_t blockLength, TriggerOpts* trigger);
    // Starts the stream with whatever input and output were prepared.
    bool Start();
};
