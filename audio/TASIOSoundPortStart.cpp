// Starting and stopping the shared port's stream (GUI thread).

#include "audio/TASIOSoundPort.h"

#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "platform/MessageBox.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace {

const ASIOCallbacks kCallbacks = {TASIOSoundPort::BufferSwitch, TASIOSoundPort::SampleRateDidChange,
                                  TASIOSoundPort::AsioMessage, TASIOSoundPort::BufferSwitchTimeInfo};

} // namespace

bool TASIOSoundPort::InitAsioDriver()
{
    ASIODriverInfo info{};
    info.asioVersion = 2;
    return ASIOInit(&info) == kAsioOk;
}

bool TASIOSoundPort::Start()
{
    if (DriverLoaded == 0)
        return false;
    if (IsRunning())
        return true;
    if (!TAsioSampleCodec::IsAnalysisWidth(Format.BytesPerSample)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "TASIOSoundPort - %d-byte samples are not supported: the analysis format needs 2 or 3 "
                      "bytes per sample",
                      static_cast<int>(Format.BytesPerSample));
        platform::ShowMessageBox(text, platform::MessageIcon::Error);
        return false;
    }
    HaltStream();
    FramesLostAtStop = 0;
    // A reset the old driver asked for is answered by the reload.
    ResetRequested.store(0, std::memory_order_release);
    if (!ReloadDriver() || !CreateBuffers() || !PrepareStreamBuffers())
        return false;

    if ((StreamModes & kOutputPrepared) != 0) {
        FillOutput(0);
        if (StreamOutputReady)
            ASIOOutputReady();
    }
    // Everything above is published to the driver's thread by this store;
    // it comes before the start so that no early buffer is skipped.
    Stopping.store(0, std::memory_order_seq_cst);
    Running.store(1, std::memory_order_release);
    if (ASIOStart() != kAsioOk) {
        Running.store(0, std::memory_order_release);
        Stopping.store(1, std::memory_order_seq_cst);
        return false;
    }
    return true;
}

bool TASIOSoundPort::ReloadDriver()
{
    const AsioDeviceEntry* entry = EntryAt(CurrentDevice);
    if (entry == nullptr)
        return false;
    ASIOStop();
    DisposeBuffers();
    ASIOExit();
    if (!loadAsioDriver(entry->DriverName)) {
        CurrentDevice = -1;
        DriverLoaded = 0;
        return false;
    }
    if (!InitAsioDriver()) {
        CurrentDevice = -1;
        ASIOExit();
        DriverLoaded = 0;
        return false;
    }
    // The rate goes to the instance that streams, and is read back: a driver
    // that keeps another rate would make every frequency on the axis wrong.
    const double rate = static_cast<double>(GetDeviceRate());
    ASIOSampleRate actual = 0;
    if (ASIOSetSampleRate(rate) != kAsioOk || ASIOGetSampleRate(&actual) != kAsioOk || actual != rate) {
        char text[128];
        std::snprintf(text, sizeof text, "TASIOSoundPort - device runs at %.0f Hz instead of %.0f Hz\n", actual, rate);
        platform::Trace(text);
        return false;
    }
    std::int32_t minimum = 0, maximum = 0, preferred = 0, granularity = 0;
    if (ASIOGetBufferSize(&minimum, &maximum, &preferred, &granularity) != kAsioOk || preferred <= 0)
        return false;
    BufferFrames = preferred;
    return true;
}

bool TASIOSoundPort::CreateBuffers()
{
    StreamModes = ModeBits.load(std::memory_order_acquire);
    const AsioDeviceEntry& current = Devices.Entry(CurrentDevice);
    const AsioDeviceEntry& inputEntry = InputDevice >= 0 ? Devices.Entry(InputDevice) : current;
    const AsioDeviceEntry& outputEntry = OutputDevice >= 0 ? Devices.Entry(OutputDevice) : current;
    // A device with fewer channels than the format streams what it has.
    InputChannels = (StreamModes & kInputPrepared) != 0 ? std::min<std::int32_t>(Format.NumChannels, inputEntry.InputChannels) : 0;
    OutputChannels =
        (StreamModes & kOutputPrepared) != 0 ? std::min<std::int32_t>(Format.NumChannels, outputEntry.OutputChannels) : 0;
    const std::int32_t total = InputChannels + OutputChannels;
    if (total < 1 || !BufferInfos.Allocate(static_cast<std::size_t>(total)))
        return false;
    for (std::int32_t i = 0; i < total; ++i) {
        const bool isInput = i < InputChannels;
        ASIOBufferInfo& info = BufferInfos[static_cast<std::size_t>(i)];
        info.isInput = isInput ? ASIOTrue : ASIOFalse;
        info.channelNum = isInput ? i + inputEntry.FirstChannel : i - InputChannels + outputEntry.FirstChannel;
    }
    if (ASIOCreateBuffers(BufferInfos.data(), total, BufferFrames, &kCallbacks) != kAsioOk) {
        BufferInfos.Free();
        return false;
    }

    // Sample types from the records of the channels actually created.
    const ASIOChannelInfo* inputInfo =
        InputChannels > 0 ? current.ChannelInfoAt(BufferInfos[0].channelNum) : nullptr;
    const ASIOChannelInfo* outputInfo = OutputChannels > 0
        ? current.ChannelInfoAt(current.InputChannels + BufferInfos[static_cast<std::size_t>(InputChannels)].channelNum)
        : nullptr;
    InputSize = TAsioSampleCodec::GetSampleSize(inputInfo != nullptr ? inputInfo->type : 0);
    OutputSize = TAsioSampleCodec::GetSampleSize(outputInfo != nullptr ? outputInfo->type : 0);
    StreamOutputReady = current.OutputReady != 0;
    return true;
}

bool TASIOSoundPort::PrepareStreamBuffers()
{
    StreamBytes = Format.BytesPerSample;
    bool ready = true;
    if ((StreamModes & kInputPrepared) != 0)
        ready = Input.Build(BufferFrames, Format, DecimationRatio, FilterTaps);
    if (ready && (StreamModes & kOutputPrepared) != 0)
        ready = Output.Reserve(BufferFrames);
    if (!ready)
        DisposeBuffers();
    return ready;
}

void TASIOSoundPort::HaltStream()
{
    // Stopping is raised before the wait (both sequentially consistent, as
    // the buffer switch counts itself in before it reads stopping): a switch
    // either sees it and does nothing, or is counted and waited for.
    Stopping.store(1, std::memory_order_seq_cst);
    Running.store(0, std::memory_order_release);
    while (InCallback.load(std::memory_order_acquire) != 0)
        std::this_thread::yield();
    ASIOStop();
    if (const std::int64_t lost = AskFramesLost(); lost > FramesLostAtStop)
        FramesLostAtStop = lost;
}

std::int64_t TASIOSoundPort::AskFramesLost()
{
    ASIOSamples lost = 0;
    return ASIOFuture(kAsioGetFramesLost, &lost) == kAsioOk && lost > 0 ? lost : 0;
}

std::int64_t TASIOSoundPort::GetFramesLost() const
{
    const std::int64_t lost = IsRunning() ? std::max(AskFramesLost(), FramesLostAtStop) : FramesLostAtStop;
    return lost / std::max<std::int32_t>(DecimationRatio, 1);
}

void TASIOSoundPort::DisposeBuffers()
{
    if (!BufferInfos.empty()) {
        ASIODisposeBuffers();
        BufferInfos.Free();
    }
    InputChannels = 0;
    OutputChannels = 0;
}

void TASIOSoundPort::Stop()
{
    HaltStream();
    DisposeBuffers();
    ModeBits.store(0, std::memory_order_release);
    Input.Release();
    Output.Clear();
}

void TASIOSoundPort::Close()
{
    Stop();
    ASIOExit();
    Stopping.store(1, std::memory_order_seq_cst);
    DriverLoaded = 0;
    FormatSet = 0;
    Running.store(0, std::memory_order_release);
}
