#include "drivers/daqsim/SimModule.h"

#include "audio/DaqUsbApi.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr std::uint16_t kPowerUpRegister = 0x1102;
constexpr std::uint32_t kPowerUpSerial = 200001;
constexpr std::uint8_t kSerialParameter = 4;
constexpr double kRangeVolts[4] = {10.0, 2.5, 0.625, 0.15625};
} // namespace

SimModule& SimModule::Instance()
{
    static SimModule module;
    return module;
}

void SimModule::Reset()
{
    std::lock_guard lock(Mutex);
    Present = true;
    Register = kPowerUpRegister;
    SampleTypeValue = ASIOSTInt32LSB;
    ClockAhead = 0;
    FirmwareRunning = false;
    Opened = false;
    LinkAlive = true;
    FailingReads = 0;
    StuckMask = 0;
    SerialNumber = kPowerUpSerial;
    Writes = 0;
    BootCount = 0;
    LowPowerCount = 0;
}

bool SimModule::Reachable() const
{
    return Present && Opened && LinkAlive && FirmwareRunning;
}

std::int32_t SimModule::FindDevices(void* deviceList, std::int32_t maxDevices)
{
    std::lock_guard lock(Mutex);
    if (!Present || deviceList == nullptr || maxDevices < 1)
        return 0;
    auto* record = static_cast<std::uint8_t*>(deviceList);
    std::memset(record, 0, kDaqDeviceRecordSize);
    std::snprintf(reinterpret_cast<char*>(record), kDaqDeviceRecordSize, "sim:%04x:%04x", kDaqVendorId,
                  kDaqProductId);
    return 1;
}

void SimModule::OpenDevice()
{
    std::lock_guard lock(Mutex);
    if (!Present)
        return;
    Opened = true;
    LinkAlive = true;
}

void SimModule::CloseDevice()
{
    std::lock_guard lock(Mutex);
    Opened = false;
}

void SimModule::GetDeviceInfo(void* info)
{
    if (info == nullptr)
        return;
    std::memset(info, 0, kDaqDeviceInfoSize);
    std::snprintf(static_cast<char*>(info), kDaqDeviceInfoSize, "Talvenor DAQ (simulated)");
}

bool SimModule::IsFirmwareRunning() const
{
    std::lock_guard lock(Mutex);
    return Present && FirmwareRunning;
}

void SimModule::BootDevice(std::int32_t mode)
{
    std::lock_guard lock(Mutex);
    if (!Present)
        return;
    if (mode == 0) {
        FirmwareRunning = true;
        ++BootCount;
    } else if (!FirmwareRunning) {
        ++LowPowerCount;
    }
}

void SimModule::SuspendDevice()
{
    std::lock_guard lock(Mutex);
    FirmwareRunning = false;
}

bool SimModule::IsLinkAlive() const
{
    std::lock_guard lock(Mutex);
    return Present && Opened && LinkAlive;
}

std::int32_t SimModule::ReadRegister()
{
    std::lock_guard lock(Mutex);
    if (!Reachable())
        return kDaqFailedRead;
    if (FailingReads > 0) {
        --FailingReads;
        return kDaqFailedRead;
    }
    return Register;
}

bool SimModule::WriteRegister(std::int32_t mask, std::int32_t value)
{
    std::lock_guard lock(Mutex);
    if (!Reachable())
        return false;
    ++Writes;
    const auto writable = static_cast<std::uint16_t>(mask & ~StuckMask);
    Register = static_cast<std::uint16_t>((Register & ~writable) | (value & writable));
    return true;
}

bool SimModule::ReadParameter(std::uint8_t index, std::uint32_t& value) const
{
    std::lock_guard lock(Mutex);
    if (!Reachable())
        return false;
    value = index == kSerialParameter ? SerialNumber : 0;
    return true;
}

double SimModule::InputRangeVolts() const
{
    return kRangeVolts[Register.load() & 3];
}

bool SimModule::SensorCurrentOn(int channel) const
{
    return ((Register.load() >> (channel == 0 ? 8 : 12)) & 0xF) == 5;
}

void SimModule::SetPresent(bool present)
{
    std::lock_guard lock(Mutex);
    Present = present;
    if (!present)
        Opened = false;
}

void SimModule::SetFirmwareRunning(bool running)
{
    std::lock_guard lock(Mutex);
    FirmwareRunning = running;
}

void SimModule::SetRegister(std::uint16_t value)
{
    Register = value;
}

void SimModule::SetSerialNumber(std::uint32_t serial)
{
    std::lock_guard lock(Mutex);
    SerialNumber = serial;
}

void SimModule::DropLink()
{
    std::lock_guard lock(Mutex);
    LinkAlive = false;
}

void SimModule::FailNextReads(std::int32_t count)
{
    std::lock_guard lock(Mutex);
    FailingReads = count;
}

void SimModule::SetStuckBits(std::uint16_t mask)
{
    std::lock_guard lock(Mutex);
    StuckMask = mask;
}

void SimModule::SetSampleType(ASIOSampleType type)
{
    SampleTypeValue = type;
}

std::int32_t SimModule::RegisterWrites() const
{
    std::lock_guard lock(Mutex);
    return Writes;
}

std::int32_t SimModule::Boots() const
{
    std::lock_guard lock(Mutex);
    return BootCount;
}

std::int32_t SimModule::LowPowerEntries() const
{
    std::lock_guard lock(Mutex);
    return LowPowerCount;
}

void SimModule::AdvanceClock(double seconds)
{
    ClockAhead += static_cast<std::int64_t>(seconds * 1e9);
}
