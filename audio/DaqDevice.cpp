#include "audio/DaqDevice.h"

#include "audio/ShippedDrivers.h"
#include "platform/Registry.h"
#include "platform/Trace.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr std::uint16_t kNothingWritten = 9999;
constexpr std::uint32_t kSerialNumberParameter = 4;

// Register fields: input range in bits 0-1, sensor current in bits 8-11
// (left) and 12-15 (right).
constexpr std::int32_t kRangeBits = 0x0003;
constexpr std::int32_t kSensorBits = 0xFF00;
constexpr std::int32_t kSensorOn = 5;
constexpr std::int32_t kSensorOff = 1;

void SleepFor(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

DaqDevice::DaqDevice() : DaqDevice(std::string{}) {}

DaqDevice::DaqDevice(std::string libraryPath)
    : LibraryPath(std::move(libraryPath)),
      Wait(SleepFor),
      DeviceList(static_cast<std::size_t>(kDaqMaxDevices) * kDaqDeviceRecordSize)
{
}

DaqDevice::~DaqDevice()
{
    Shutdown();
}

void DaqDevice::SetWait(WaitFunction wait)
{
    Wait = wait ? std::move(wait) : WaitFunction(SleepFor);
}

DaqOpts DaqDevice::EmptyCache()
{
    return DaqOpts{kNothingWritten, 0, 0, 0, 0};
}

const DaqUsbApi* DaqDevice::Api()
{
    if (Library.Api() != nullptr)
        return Library.Api();
    std::string path = LibraryPath;
    if (path.empty()) {
        EnsureShippedDriversRegistered();
        platform::CurrentRegistry().QueryValue(platform::RegistryHive::LocalMachine, kDaqUsbLibraryKey,
                                               kDaqUsbLibraryValue, path);
    }
    if (path.empty() || !Library.Load(path))
        return nullptr;
    return Library.Api();
}

void DaqDevice::Settle()
{
    Wait(Library.Api() != nullptr ? Library.Api()->SettleMilliseconds : 0);
}

void DaqDevice::Open()
{
    if (OpenFlag)
        return;
    const DaqUsbApi* api = Api();
    DeviceCount = api != nullptr ? api->FindDevices(kDaqVendorId, kDaqProductId, DeviceList.data(), kDaqMaxDevices)
                                 : 0;
    if (DeviceCount > 0) {
        api->OpenDevice(DeviceList.data());
        OpenFlag = true;
        std::uint8_t info[kDaqDeviceInfoSize] = {};
        api->GetDeviceInfo(info);
        if (!Booted)
            Boot();
    } else {
        std::fill(DeviceList.begin(), DeviceList.end(), 0);
        DeviceCount = 0;
        OpenFlag = false;
    }
}

void DaqDevice::Boot()
{
    const DaqUsbApi* api = Api();
    Booted = false;
    if (api->IsFirmwareRunning() == 0) {
        platform::Trace("AfxBootDevice Starting\n");
        api->BootDevice(0);
        platform::Trace("AfxBootDevice Completed\n");
        Settle();
    }
    Booted = true;
    // Opened afresh, whether the firmware was just booted or already running.
    Reopen();
}

void DaqDevice::Reopen()
{
    if (OpenFlag && DeviceCount > 0)
        Api()->CloseDevice();
    std::fill(DeviceList.begin(), DeviceList.end(), 0);
    DeviceCount = 0;
    OpenFlag = false;
    Open();
}

void DaqDevice::ResetCachedConfig()
{
    CachedConfig = EmptyCache();
}

bool DaqDevice::ConfigureInput(DaqOpts options, int, int, bool)
{
    return SetInputConfig(options);
}

bool DaqDevice::SetInputConfig(DaqOpts options)
{
    if (!OpenFlag)
        Open();
    const DaqUsbApi* api = Api();
    if (api == nullptr)
        return false;
    // A lost link needs the module opened anew; Open alone would return at
    // once because the open flag is still set.
    if (api->IsLinkAlive() == 0)
        Reopen();
    if (DeviceCount <= 0)
        return false;
    if (options == CachedConfig)
        return true;

    const std::int32_t read = api->ReadInputConfig() & 0xFFFF;
    if (read == kDaqFailedRead)
        return false;
    std::int32_t value = read & ~kSensorBits;
    value |= (options.DAQ_IEPE_Left != 0 ? kSensorOn : kSensorOff) << 8;
    value |= (options.DAQ_IEPE_Right != 0 ? kSensorOn : kSensorOff) << 12;
    switch (options.DAQ_InputGain) {
    case 1: value = (value & ~kRangeBits) | 0; break;
    case 4: value = (value & ~kRangeBits) | 1; break;
    case 16: value = (value & ~kRangeBits) | 2; break;
    case 64: value = (value & ~kRangeBits) | 3; break;
    default: break;  // an unknown code leaves the range as read
    }
    // The write's own answer is not trusted; only the read-back counts.
    api->WriteInputConfig(kDaqRegisterMask, value);
    if ((api->ReadInputConfig() & 0xFFFF) != value)
        return false;
    CachedConfig = options;
    return true;
}

bool DaqDevice::ReadParameter(std::uint32_t index, std::uint32_t& value)
{
    const DaqUsbApi* api = Api();
    if (api == nullptr)
        return false;
    std::uint8_t request[2] = {3, static_cast<std::uint8_t>(index & 0xFF)};
    std::uint8_t reply[4] = {};
    if (api->VendorRequest(2, 0, 0, 3, kDaqParameterRequest, request, 2, reply, 4) == 0)
        return false;
    value = std::uint32_t{reply[0]} | std::uint32_t{reply[1]} << 8 | std::uint32_t{reply[2]} << 16
        | std::uint32_t{reply[3]} << 24;
    return true;
}

std::uint32_t DaqDevice::ReadSerialNumber()
{
    std::uint32_t serial = 0;
    if (!OpenFlag || !ReadParameter(kSerialNumberParameter, serial))
        return 0;
    return serial;
}

void DaqDevice::Shutdown()
{
    const DaqUsbApi* api = Library.Api();
    if (api == nullptr)
        return;
    if (CachedConfig.DAQ_PowerDownFlag == 1 && api->IsFirmwareRunning() != 0) {
        platform::Trace("Calling SuspendDevice()\n");
        api->SuspendDevice();
        api->BootDevice(1);
        Settle();
    }
    if (OpenFlag && DeviceCount > 0)
        api->CloseDevice();
    DeviceCount = 0;
    OpenFlag = false;
    // A second Shutdown (the destructor's after the owner's) finds nothing to do.
    CachedConfig = EmptyCache();
}

float DaqDevice::InputRangeForGain(std::uint16_t gain)
{
    switch (gain) {
    case 4: return 2.5f;
    case 16: return 0.625f;
    case 64: return 0.15625f;
    default: return 10.0f;
    }
}
