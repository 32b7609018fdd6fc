// Both port adapters: each owns the audio layer's port of its direction.

#include "app/core/AsioSoundInput.h"
#include "app/core/AsioSoundOutput.h"

AsioSoundInput::AsioSoundInput(int device, int driverMode)
    : m_Port(std::make_unique<TSoundInput>(static_cast<std::uint32_t>(device), static_cast<std::uint16_t>(driverMode)))
{
}

AsioSoundOutput::AsioSoundOutput(int device, int driverMode)
    : m_Port(std::make_unique<TSoundOutput>(static_cast<std::uint32_t>(device),
                                             static_cast<std::uint16_t>(driverMode)))
{
}
