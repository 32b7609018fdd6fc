#include "app/core/AsioAudioSystem.h"

#include "app/core/AsioSoundInput.h"
#include "app/core/AsioSoundOutput.h"
#include "audio/TASIOSoundPort.h"

std::unique_ptr<SoundInputPort> AsioAudioSystem::CreateInput(int device, int driverMode)
{
    return std::make_unique<AsioSoundInput>(device, driverMode);
}

std::unique_ptr<SoundOutputPort> AsioAudioSystem::CreateOutput(int device, int driverMode)
{
    return std::make_unique<AsioSoundOutput>(device, driverMode);
}

int AsioAudioSystem::GetInputDeviceCount()
{
    const int count = TASIOSoundPort::GetDeviceCount();
    int inputs = 0;
    for (int i = 0; i < count; ++i)
        inputs += TASIOSoundPort::HasChannels(i) ? 1 : 0;
    return inputs;
}

DaqSearchResult AsioAudioSystem::FindDaq()
{
    // The list's own entries answer; a port made per device only to ask
    // would tear the shared port down and enumerate every driver again
    // each time its reference count fell back to zero.
    DaqSearchResult result;
    const int count = TASIOSoundPort::GetDeviceCount();
    for (int i = 0; i < count; ++i) {
        if (TASIOSoundPort::HasChannels(i) && TASIOSoundPort::IsQuarnDAQ(i)) {
            result.found = true;
            result.device = i;
        }
    }
    return result;
}
