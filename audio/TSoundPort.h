#pragma once
// A sound port as the rest of the program holds one: a device of the audio
// device list and a direction. Every operation forwards to the shared port,
// whose reference count each port in driver mode 1 holds for its lifetime.
// Driver mode 0 (the wave API of the first design) has no behaviour here: a
// port built with it answers false, 0 or nothing.
//
// GUI thread only. The ports show no messages; the callers word failures.

#include "format/TWaveFormat.h"

#include <cstdint>
#include <string>

class TASIOSoundPort;

class TSoundPort {
public:
    static constexpr std::uint16_t kDirectionInput = 2;
    static constexpr std::uint16_t kDirectionOutput = 1;
    static constexpr std::uint16_t kDriverModeWave = 0;
    static constexpr std::uint16_t kDriverModeAsio = 1;

    virtual ~TSoundPort();
    TSoundPort(const TSoundPort&) = delete;
    TSoundPort& operator=(const TSoundPort&) = delete;

    // Opens the device, then sets the format whatever the open gave;
    // answers the open's result.
    bool Open(const TWaveFormat& format);
    // True when the format's rate is supported.
    bool SetFormat(const TWaveFormat& format);
    // Whether the open device takes the format; false before an open.
    bool IsSampleRateSupported(const TWaveFormat& format);
    // Whether the port's own device takes it, open or not yet.
    bool CheckFormat(std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels);
    bool IsQuarnDAQ() const;
    // Stops the one stream, input and output alike.
    void Stop();
    virtual void Close();
    virtual void CreateMMEPort() {}
    virtual void CreateASIOPort();

    std::int32_t GetSamplesAvailable();
    // Frames the input has delivered since it was prepared; 0 without a port.
    std::uint64_t GetFramesDelivered();
    // The latest n frames of each channel whose array is given, oldest first.
    bool ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right);

    // How the stream fares: buffers delivered so far (a count that wraps)
    // and whether the driver asked to be reset since the start. 0 and false
    // in driver mode 0.
    std::uint32_t GetBufferSwitchCount() const;
    bool IsResetRequested() const;
    // Input frames the driver lost in the stream last started; 0 in driver mode 0.
    std::int64_t GetFramesLost() const;
    // How long one driver buffer of the stream last started lasts; 0 in driver mode 0.
    double GetBufferSeconds() const;
    // The device's display name, "" for an invalid entry.
    std::string GetDeviceName() const;

    std::uint16_t GetDirection() const { return Direction; }
    std::uint16_t GetDriverMode() const { return DriverMode; }
    std::uint32_t GetDeviceIndex() const { return DeviceIndex; }

protected:
    TSoundPort(std::uint16_t direction, std::uint32_t device, std::uint16_t driverMode);
    // Null in driver mode 0.
    TASIOSoundPort* Shared() const { return DriverMode == kDriverModeAsio ? Port : nullptr; }

private:
    std::uint16_t Direction;
    std::uint16_t DriverMode;
    std::uint32_t DeviceIndex;
    TASIOSoundPort* Port = nullptr;
};
