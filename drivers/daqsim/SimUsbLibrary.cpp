// The simulated module's USB control library and its test controls.

#include "audio/DaqUsbApi.h"
#include "drivers/common/PluginExport.h"
#include "drivers/daqsim/DaqSimControl.h"
#include "drivers/daqsim/SimModule.h"

#include <cstring>

namespace {

// The simulated module settles at once; a short wait still lets the host's
// waiting path run.
constexpr std::uint32_t kSettleMilliseconds = 20;
constexpr std::int32_t kReadDirection = 2;

SimModule& Module()
{
    return SimModule::Instance();
}

std::int32_t FindDevices(std::int32_t vendorId, std::int32_t productId, void* list, std::int32_t maxDevices)
{
    if (vendorId != kDaqVendorId || productId != kDaqProductId)
        return 0;
    return Module().FindDevices(list, maxDevices);
}

std::int32_t OpenDevice(void*)
{
    Module().OpenDevice();
    return 1;
}

std::int32_t GetDeviceInfo(void* info)
{
    Module().GetDeviceInfo(info);
    return 1;
}

std::int32_t IsFirmwareRunning()
{
    return Module().IsFirmwareRunning() ? 1 : 0;
}

std::int32_t BootDevice(std::int32_t mode)
{
    Module().BootDevice(mode);
    return 1;
}

std::int32_t SuspendDevice()
{
    Module().SuspendDevice();
    return 1;
}

std::int32_t CloseDevice()
{
    Module().CloseDevice();
    return 1;
}

std::int32_t IsLinkAlive()
{
    return Module().IsLinkAlive() ? 1 : 0;
}

std::int32_t ReadInputConfig()
{
    return Module().ReadRegister();
}

std::int32_t WriteInputConfig(std::int32_t mask, std::int32_t value)
{
    return Module().WriteRegister(mask, value) ? 1 : 0;
}

// Only the parameter-memory read is known: request bytes 3 and the index.
std::int32_t VendorRequest(std::int32_t direction, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t request, void* data, std::int32_t dataLength, void* reply,
                           std::int32_t replyLength)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (direction != kReadDirection || request != kDaqParameterRequest || bytes == nullptr || dataLength < 2
        || bytes[0] != 3 || reply == nullptr || replyLength < 4)
        return 0;
    std::uint32_t value = 0;
    if (!Module().ReadParameter(bytes[1], value))
        return 0;
    auto* out = static_cast<std::uint8_t*>(reply);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return 1;
}

const DaqUsbApi kApi = {
    sizeof(DaqUsbApi), kSettleMilliseconds, FindDevices, OpenDevice, GetDeviceInfo, IsFirmwareRunning,
    BootDevice,        SuspendDevice,       CloseDevice, IsLinkAlive, ReadInputConfig, WriteInputConfig,
    VendorRequest,
};

const DaqSimControl kControl = {
    sizeof(DaqSimControl),
    [] { Module().Reset(); },
    [](std::int32_t present) { Module().SetPresent(present != 0); },
    [](std::int32_t running) { Module().SetFirmwareRunning(running != 0); },
    [](std::int32_t value) { Module().SetRegister(static_cast<std::uint16_t>(value)); },
    []() -> std::int32_t { return Module().RegisterValue(); },
    [](std::uint32_t serial) { Module().SetSerialNumber(serial); },
    [] { Module().DropLink(); },
    [](std::int32_t count) { Module().FailNextReads(count); },
    [](std::int32_t mask) { Module().SetStuckBits(static_cast<std::uint16_t>(mask)); },
    [](std::int32_t type) { Module().SetSampleType(type); },
    []() -> std::int32_t { return Module().RegisterWrites(); },
    []() -> std::int32_t { return Module().Boots(); },
    []() -> std::int32_t { return Module().LowPowerEntries(); },
    [](double seconds) { Module().AdvanceClock(seconds); },
};

} // namespace

TALVENOR_PLUGIN_EXPORT const DaqUsbApi* TalvenorDaqUsbApi()
{
    return &kApi;
}

TALVENOR_PLUGIN_EXPORT const DaqSimControl* TalvenorDaqSimControl()
{
    return &kControl;
}
