#include "audio/TSoundInput.h"

#include "audio/TASIOSoundPort.h"

#include <limits>

TSoundInput::TSoundInput(std::uint32_t device, std::uint16_t driverMode)
    : TSoundPort(kDirectionInput, device, driverMode)
{
}

bool TSoundInput::PrepareInput(TWaveFile* recording, std::uint32_t blockLength, TriggerOpts* trigger)
{
    TASIOSoundPort* port = Shared();
    if (port == nullptr || blockLength > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return false;
    return port->PrepareInput(recording, static_cast<std::int32_t>(blockLength), trigger);
}

bool TSoundInput::Start()
{
    TASIOSoundPort* port = Shared();
    return port != nullptr && port->Start();
}
