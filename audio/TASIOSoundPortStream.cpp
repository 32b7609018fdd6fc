// The driver's side of the shared port: the callbacks, the buffer switch,
// and the hand-over of each buffer half to the input and the output.

#include "audio/TASIOSoundPort.h"

#include "audio/AsioHost.h"

void TASIOSoundPort::BufferSwitch(std::int32_t index, ASIOBool directProcess)
{
    ASIOTime time{};
    if (ASIOGetSamplePosition(&time.timeInfo.samplePosition, &time.timeInfo.systemTime) == kAsioOk)
        time.timeInfo.flags = kSystemTimeValid | kSamplePositionValid;
    BufferSwitchTimeInfo(&time, index, directProcess);
}

ASIOTime* TASIOSoundPort::BufferSwitchTimeInfo(ASIOTime*, std::int32_t index, ASIOBool)
{
    if (TASIOSoundPort* port = Existing())
        port->OnBufferSwitchTimeInfo(index);
    return nullptr;
}

void TASIOSoundPort::SampleRateDidChange(ASIOSampleRate) {}

std::int32_t TASIOSoundPort::AsioMessage(std::int32_t selector, std::int32_t value, void*, double*)
{
    switch (selector) {
    case kAsioSelectorSupported:
        switch (value) {
        case kAsioEngineVersion:
        case kAsioResetRequest:
        case kAsioResyncRequest:
        case kAsioLatenciesChanged:
        case kAsioSupportsTimeInfo:
        case kAsioSupportsTimeCode:
        case kAsioSupportsInputMonitor: return 1;
        default: return 0;
        }
    case kAsioEngineVersion: return 2;
    case kAsioResetRequest:
        // Noted for the GUI thread, which stops the run: the stream cannot
        // be stopped from the driver's own thread.
        if (TASIOSoundPort* port = Existing())
            port->ResetRequested.store(1, std::memory_order_release);
        return 1;
    case kAsioResyncRequest:
    case kAsioLatenciesChanged:
    case kAsioSupportsTimeInfo: return 1;
    default: return 0;
    }
}

void TASIOSoundPort::OnBufferSwitchTimeInfo(std::int32_t index)
{
    // Counted in before stopping is read; Stop raises stopping before it
    // waits for the count, so one of the two always sees the other.
    InCallback.fetch_add(1, std::memory_order_seq_cst);
    if (Stopping.load(std::memory_order_seq_cst) == 0 && Running.load(std::memory_order_acquire) != 0
        && (index == 0 || index == 1)) {
        if ((StreamModes & kInputPrepared) != 0)
            ProcessInput(index);
        if ((StreamModes & kOutputPrepared) != 0)
            FillOutput(index);
        if (StreamOutputReady)
            ASIOOutputReady();
        BufferSwitches.fetch_add(1, std::memory_order_relaxed);
    }
    InCallback.fetch_sub(1, std::memory_order_release);
}

std::int32_t TASIOSoundPort::ProcessInput(std::int32_t index)
{
    if (InputChannels < 1)
        return 0;
    const std::uint8_t* slots[2] = {};
    for (std::int32_t c = 0; c < InputChannels && c < 2; ++c)
        slots[c] = static_cast<const std::uint8_t*>(BufferInfos[static_cast<std::size_t>(c)].buffers[index]);
    return Input.Process(slots, InputChannels, InputSize);
}

void TASIOSoundPort::FillOutput(std::int32_t index)
{
    std::uint8_t* slots[2] = {};
    for (std::int32_t c = 0; c < OutputChannels && c < 2; ++c)
        slots[c] = static_cast<std::uint8_t*>(BufferInfos[static_cast<std::size_t>(InputChannels + c)].buffers[index]);
    Output.Fill(slots, OutputChannels, BufferFrames, OutputSize, StreamBytes);
}
