#pragma once
// Where sound ports come from, and what the system knows about its devices.
// The real one builds TSoundInput and TSoundOutput over the shared audio
// port; tests build fakes that synthesise their input.

#include <memory>

#include "audio/SoundInputPort.h"
#include "audio/SoundOutputPort.h"

class AudioSystem {
public:
    // The only driver mode this program builds its ports with.
    static constexpr int kAsioDriverMode = 1;

    virtual ~AudioSystem() = default;
    // Null when no port can be made.
    virtual std::unique_ptr<SoundInputPort> CreateInput(int device, int driverMode) = 0;
    virtual std::unique_ptr<SoundOutputPort> CreateOutput(int device, int driverMode) = 0;
    // Input devices the system offers; 0 when none is plugged in.
    virtual int GetInputDeviceCount() = 0;
    // The input device that is the DAQ module, or the one to use without it.
    virtual int FindDaqInputDevice() = 0;
};
