#pragma once
// The values and records that pass between the program and an audio driver.
// Drivers are plugins built against this header and AsioDriver.h only, so
// everything here is plain data with fixed-width fields.

#include <cstdint>

using ASIOError = std::int32_t;
using ASIOBool = std::int32_t;
using ASIOSampleRate = double;
// Frames since the stream started.
using ASIOSamples = std::int64_t;
// Nanoseconds of a steady clock.
using ASIOTimeStamp = std::int64_t;
using ASIOSampleType = std::int32_t;

inline constexpr ASIOBool ASIOFalse = 0;
inline constexpr ASIOBool ASIOTrue = 1;

// Result codes. Host calls answer 0 for success and kAsioNotPresent when no
// driver is loaded; the driver list answers the three kDrvErr codes.
inline constexpr ASIOError kAsioOk = 0;
inline constexpr ASIOError kAsioNotPresent = -1000;
inline constexpr ASIOError kAsioHardwareMalfunction = -999;
inline constexpr ASIOError kAsioInvalidParameter = -998;
inline constexpr ASIOError kAsioInvalidMode = -997;
inline constexpr ASIOError kAsioNoClock = -995;
inline constexpr ASIOError kAsioNoMemory = -994;
inline constexpr ASIOError kDrvErrInvalidParam = -5001;
inline constexpr ASIOError kDrvErrDeviceAlreadyOpen = -5002;
inline constexpr ASIOError kDrvErrDeviceNotFound = -5003;
// Why an in-process creation failed: the plugin file did not load, it has no
// factory, or its factory does not make the class asked for.
inline constexpr ASIOError kDrvErrPluginNotLoaded = -5010;
inline constexpr ASIOError kDrvErrNoFactory = -5011;
inline constexpr ASIOError kDrvErrClassNotAvailable = -5012;

// Sample types of a channel; the host takes these three.
inline constexpr ASIOSampleType ASIOSTInt16LSB = 16;
inline constexpr ASIOSampleType ASIOSTInt24LSB = 17;
inline constexpr ASIOSampleType ASIOSTInt32LSB = 18;

// Lengths of the texts a driver writes, terminator included.
inline constexpr int kAsioDriverNameLength = 32;
inline constexpr int kAsioErrorMessageLength = 124;
inline constexpr int kAsioChannelNameLength = 32;

// Selectors of the host's asioMessage callback.
inline constexpr std::int32_t kAsioSelectorSupported = 1;
inline constexpr std::int32_t kAsioEngineVersion = 2;
// The driver asks to be stopped and set up again; a driver also sends it
// when its device or server has gone away.
inline constexpr std::int32_t kAsioResetRequest = 3;
inline constexpr std::int32_t kAsioBufferSizeChange = 4;
inline constexpr std::int32_t kAsioResyncRequest = 5;
inline constexpr std::int32_t kAsioLatenciesChanged = 6;
inline constexpr std::int32_t kAsioSupportsTimeInfo = 7;
inline constexpr std::int32_t kAsioSupportsTimeCode = 8;
inline constexpr std::int32_t kAsioSupportsInputMonitor = 10;

// Selectors of a driver's future slot. The frames lost since the stream
// started (overruns, xruns, a stalled schedule): opt points to an ASIOSamples
// the driver fills. A driver that does not count answers kAsioInvalidParameter.
inline constexpr std::int32_t kAsioGetFramesLost = 0x10001;

struct ASIODriverInfo {
    std::int32_t asioVersion;  // set by the host
    std::int32_t driverVersion;
    char name[kAsioDriverNameLength];
    char errorMessage[kAsioErrorMessageLength];
    void* sysRef;
};

struct ASIOClockSource {
    std::int32_t index;
    std::int32_t associatedChannel;
    std::int32_t associatedGroup;
    ASIOBool isCurrentSource;
    char name[32];
};

// 52 bytes: the host asks with channel and isInput set.
struct ASIOChannelInfo {
    std::int32_t channel;
    ASIOBool isInput;
    ASIOBool isActive;
    std::int32_t channelGroup;
    ASIOSampleType type;
    char name[kAsioChannelNameLength];
};
static_assert(sizeof(ASIOChannelInfo) == 52);

// One created channel: the host fills isInput and channelNum, the driver
// the two halves of the double buffer.
struct ASIOBufferInfo {
    ASIOBool isInput;
    std::int32_t channelNum;
    void* buffers[2];
};

inline constexpr std::uint32_t kSystemTimeValid = 1;
inline constexpr std::uint32_t kSamplePositionValid = 2;
inline constexpr std::uint32_t kSampleRateValid = 4;

struct AsioTimeInfo {
    double speed;
    ASIOTimeStamp systemTime;
    ASIOSamples samplePosition;
    ASIOSampleRate sampleRate;
    std::uint32_t flags;
    char reserved[12];
};

struct ASIOTime {
    std::int32_t reserved[4];
    AsioTimeInfo timeInfo;
};

// The host's entry points, called on the driver's thread.
struct ASIOCallbacks {
    void (*bufferSwitch)(std::int32_t doubleBufferIndex, ASIOBool directProcess);
    void (*sampleRateDidChange)(ASIOSampleRate sRate);
    std::int32_t (*asioMessage)(std::int32_t selector, std::int32_t value, void* message, double* opt);
    ASIOTime* (*bufferSwitchTimeInfo)(ASIOTime* params, std::int32_t doubleBufferIndex,
                                      ASIOBool directProcess);
};
