#pragma once
// The DAQ module's front end as the run control reaches it: a fresh USB
// session before a run and the input configuration from the frame's options.

#include "audio/DaqOpts.h"

class DaqControl {
public:
    virtual ~DaqControl() = default;
    virtual void Reopen() = 0;
    // keepVolumes: leave the device volumes as they are.
    virtual bool ConfigureInput(const DaqOpts& options, int inputDevice, int outputDevice, bool keepVolumes) = 0;
};
