#pragma once
// The run control's view of the DAQ module, over the frame's DaqDevice.

#include "app/core/DaqControl.h"
#include "audio/DaqDevice.h"

class DaqDeviceControl final : public DaqControl {
public:
    explicit DaqDeviceControl(DaqDevice& device) : m_Device(device) {}

    void Reopen() override { m_Device.Reopen(); }
    bool ConfigureInput(const DaqOpts& options, int inputDevice, int outputDevice, bool keepVolumes) override
    {
        return m_Device.ConfigureInput(options, inputDevice, outputDevice, keepVolumes);
    }

private:
    DaqDevice& m_Device;
};
