#pragma once
// The program's audio system: ports on the devices of the shared audio
// port's device list, and the search for the DAQ module among them.

#include "app/core/AudioSystem.h"

struct DaqSearchResult {
    bool found = false;
    // The last device recognised as the module, else 0.
    int device = 0;
};

class AsioAudioSystem final : public AudioSystem {
public:
    std::unique_ptr<SoundInputPort> CreateInput(int device, int driverMode) override;
    std::unique_ptr<SoundOutputPort> CreateOutput(int device, int driverMode) override;
    // Devices with input channels.
    int GetInputDeviceCount() override;
    int FindDaqInputDevice() override { return FindDaq().device; }

    // Every listed device with inputs is asked whether it is the module.
    static DaqSearchResult FindDaq();
};
