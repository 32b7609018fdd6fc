// The shared port's instance and reference count, its device list, and
// opening, format and preparation on the GUI thread.

#include "audio/TASIOSoundPort.h"

#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "platform/SmallMaths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<TASIOSoundPort*> theInstance{nullptr};
int referenceCount = 0;

// The rates the DAQ module runs at, in 2- or 3-byte samples.
constexpr std::uint32_t kDaqRates[] = {4000, 6000, 8000, 12000, 24000, 48000, 96000, 192000};

} // namespace

TASIOSoundPort* TASIOSoundPort::GetInstance()
{
    TASIOSoundPort* port = theInstance.load(std::memory_order_acquire);
    if (port == nullptr) {
        port = new TASIOSoundPort();
        theInstance.store(port, std::memory_order_release);
    }
    return port;
}

TASIOSoundPort* TASIOSoundPort::Existing()
{
    return theInstance.load(std::memory_order_acquire);
}

void TASIOSoundPort::AddReference()
{
    GetInstance();
    ++referenceCount;
}

void TASIOSoundPort::ReleaseReference()
{
    if (--referenceCount >= 1)
        return;
    referenceCount = 0;
    TASIOSoundPort* port = theInstance.load(std::memory_order_acquire);
    if (port == nullptr)
        return;
    // Halted first, so no buffer switch is left holding the instance.
    port->Stop();
    theInstance.store(nullptr, std::memory_order_release);
    delete port;
}

int TASIOSoundPort::GetReferenceCount()
{
    return referenceCount;
}

TASIOSoundPort::TASIOSoundPort()
{
    EnumerateDevices();
}

TASIOSoundPort::~TASIOSoundPort()
{
    Stop();
    Devices.Clear();
    ASIOExit();
}

void TASIOSoundPort::EnumerateDevices()
{
    FormatTarget target(*this);
    Devices.EnumerateDevices(target);
    InputDevice = -1;
    OutputDevice = -1;
}

const AsioDeviceEntry* TASIOSoundPort::EntryAt(int index) const
{
    if (index < 0 || index >= AsioDeviceList::kMaxEntries)
        return nullptr;
    return &Devices.Entry(index);
}

int TASIOSoundPort::GetDeviceCount()
{
    TASIOSoundPort* port = GetInstance();
    if (port->DriverLoaded == 0)
        port->EnumerateDevices();
    return port->Devices.Count();
}

void TASIOSoundPort::GetDeviceNameByIndex(int index, char* buffer)
{
    if (buffer == nullptr)
        return;
    buffer[0] = '\0';
    const AsioDeviceEntry* entry = GetInstance()->EntryAt(index);
    if (entry != nullptr && entry->Valid != 0)
        std::snprintf(buffer, AsioDeviceEntry::kNameLength, "%s", entry->DisplayName);
}

bool TASIOSoundPort::HasChannels(int index)
{
    const AsioDeviceEntry* entry = GetInstance()->EntryAt(index);
    return entry != nullptr && entry->Valid != 0 && entry->InputChannels > 0;
}

bool TASIOSoundPort::IsQuarnDAQ(int index)
{
    const AsioDeviceEntry* entry = GetInstance()->EntryAt(index);
    return entry != nullptr && entry->IsDAQ != 0;
}

bool TASIOSoundPort::Open(int device, int direction)
{
    if (device < 0 || device >= AsioDeviceList::kMaxEntries)
        return false;
    if (direction == kDirectionInput)
        InputDevice = device;
    else if (direction == kDirectionOutput)
        OutputDevice = device;
    if (InputDevice >= 0 && OutputDevice >= 0
        && std::strncmp(Devices.Entry(InputDevice).DriverName, Devices.Entry(OutputDevice).DriverName,
                        AsioDeviceEntry::kNameLength) != 0)
        return false;

    CurrentDevice = device;
    const AsioDeviceEntry& entry = Devices.Entry(device);
    if (entry.Valid == 0) {
        // The flag must stay true to the host: a driver still loaded would
        // otherwise be swapped out under a running stream by the next
        // enumeration.
        if (DriverLoaded != 0) {
            Stop();
            ASIOExit();
        }
        DriverLoaded = 0;
        return false;
    }
    if (entry.InputChannels + entry.OutputChannels < 1) {
        CurrentDevice = -1;
        return false;
    }
    // A stream still running would go on calling into buffers the next
    // start replaces.
    if (IsRunning())
        HaltStream();
    if (DriverLoaded == 0) {
        ModeBits.store(0, std::memory_order_release);
        if (!loadAsioDriver(entry.DriverName)) {
            CurrentDevice = -1;
            return false;
        }
        if (!InitAsioDriver()) {
            CurrentDevice = -1;
            ASIOExit();
            return false;
        }
        DriverLoaded = 1;
    }
    return true;
}

bool TASIOSoundPort::SetFormat(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytes)
{
    Format.Set(rate, channels, bytes);
    FormatSet = 1;
    DecimationRatio = 1;
    FilterTaps = 99;
    if (Format.SamplingRate < 48000) {
        DecimationRatio = std::max<std::int32_t>(1, static_cast<std::int32_t>(48000 / Format.SamplingRate));
        FilterTaps = DecimationFilterTaps(DecimationRatio);
    }
    return IsSampleRateSupported(rate, bytes, channels);
}

bool TASIOSoundPort::IsSampleRateSupported(std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels) const
{
    return IsFormatSupportedOn(CurrentDevice, rate, bytes, channels);
}

bool TASIOSoundPort::IsFormatSupportedOn(int device, std::uint32_t rate, std::uint16_t bytes, std::uint16_t) const
{
    if (device < 0 || device >= Devices.Count())
        return false;
    const AsioDeviceEntry& entry = Devices.Entry(device);
    if (entry.IsDAQ != 0) {
        return TAsioSampleCodec::IsAnalysisWidth(bytes)
            && std::find(std::begin(kDaqRates), std::end(kDaqRates), rate) != std::end(kDaqRates);
    }
    // The device runs at the whole multiple of a low analysis rate, so that
    // is the rate it must list.
    const std::uint32_t ratio = rate > 0 && rate < 48000 ? 48000 / rate : 1;
    const double deviceRate = static_cast<double>(rate) * ratio;
    const double* rates = entry.SampleRates;
    return std::find(rates, rates + entry.RateCount, deviceRate) != rates + entry.RateCount;
}

bool TASIOSoundPort::PrepareInput(TWaveFile* recording, std::int32_t n, TriggerOpts* trigger)
{
    // The driver's thread writes the ring and the recording while running.
    if (DriverLoaded == 0 || IsRunning())
        return false;
    ModeBits.fetch_or(kInputPrepared, std::memory_order_acq_rel);
    // A ring that cannot be had leaves the input running without readers.
    Input.Prepare(recording, n, trigger, Format, DecimationRatio);
    return true;
}

bool TASIOSoundPort::PreparePlayback(TWaveData* wave, bool loop, std::int64_t first, std::int64_t end)
{
    if (IsRunning() || !Output.Prepare(wave, loop, first, end))
        return false;
    ModeBits.fetch_or(kOutputPrepared, std::memory_order_acq_rel);
    return true;
}
