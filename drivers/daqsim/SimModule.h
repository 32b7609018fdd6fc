#pragma once
// The simulated Talvenor DAQ module itself: the state its USB control
// library changes and its audio driver reads. One per process, like the
// hardware it stands for; it keeps its state while drivers come and go.
//
// Power-up state: present, firmware not yet booted, register 0x1102 (gain
// 16, both sensor currents off), serial number 200001.

#include "audio/AsioTypes.h"

#include <atomic>
#include <cstdint>
#include <mutex>

class SimModule {
public:
    static SimModule& Instance();

    void Reset();

    // The USB control library's side (the host's GUI thread).
    std::int32_t FindDevices(void* deviceList, std::int32_t maxDevices);
    void OpenDevice();
    void CloseDevice();
    void GetDeviceInfo(void* info);
    bool IsFirmwareRunning() const;
    void BootDevice(std::int32_t mode);
    void SuspendDevice();
    bool IsLinkAlive() const;
    // 0xFFFF when the module cannot be reached.
    std::int32_t ReadRegister();
    bool WriteRegister(std::int32_t mask, std::int32_t value);
    bool ReadParameter(std::uint8_t index, std::uint32_t& value) const;

    // The audio driver's side (any thread).
    bool IsPresent() const { return Present.load(); }
    // Full-scale input of the range the register selects.
    double InputRangeVolts() const;
    bool SensorCurrentOn(int channel) const;
    ASIOSampleType SampleType() const { return SampleTypeValue.load(); }
    std::uint16_t RegisterValue() const { return Register.load(); }
    // How far the module's clock runs ahead of the steady clock.
    std::int64_t ClockAheadNanoseconds() const { return ClockAhead.load(); }

    // Test controls.
    void SetPresent(bool present);
    void SetFirmwareRunning(bool running);
    void SetRegister(std::uint16_t value);
    void SetSerialNumber(std::uint32_t serial);
    // The connection fails until the module is closed and opened again.
    void DropLink();
    void FailNextReads(std::int32_t count);
    // Register bits that keep their value whatever is written.
    void SetStuckBits(std::uint16_t mask);
    void SetSampleType(ASIOSampleType type);
    // The module's clock jumps ahead, as after a stall of the whole machine.
    void AdvanceClock(double seconds);
    std::int32_t RegisterWrites() const;
    std::int32_t Boots() const;
    std::int32_t LowPowerEntries() const;

private:
    SimModule() { Reset(); }
    bool Reachable() const;

    mutable std::mutex Mutex;
    std::atomic<bool> Present{true};
    std::atomic<std::uint16_t> Register{0};
    std::atomic<ASIOSampleType> SampleTypeValue{ASIOSTInt32LSB};
    std::atomic<std::int64_t> ClockAhead{0};
    bool FirmwareRunning = false;
    bool Opened = false;
    bool LinkAlive = true;
    std::int32_t FailingReads = 0;
    std::uint16_t StuckMask = 0;
    std::uint32_t SerialNumber = 0;
    std::int32_t Writes = 0;
    std::int32_t BootCount = 0;
    std::int32_t LowPowerCount = 0;
};
