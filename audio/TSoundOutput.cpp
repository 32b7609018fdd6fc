#include "audio/TSoundOutput.h"

#include "audio/TASIOSoundPort.h"

TSoundOutput::TSoundOutput(std::uint32_t device, std::uint16_t driverMode)
    : TSoundPort(kDirectionOutput, device, driverMode)
{
}

bool TSoundOutput::PreparePlayback(TWaveData* wave, bool loop, std::int64_t firstFrame, std::int64_t endFrame)
{
    TASIOSoundPort* port = Shared();
    return port != nullptr && port->PreparePlayback(wave, loop, firstFrame, endFrame);
}

bool TSoundOutput::Start()
{
    TASIOSoundPort* port = Shared();
    return port != nullptr && port->Start();
}
