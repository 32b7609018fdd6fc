#pragma once
// The interface every audio driver plugin implements, and the one function a
// plugin exports to make its drivers.
//
// The slots keep the order in which the host layer uses them. A driver object
// is deleted through its virtual destructor, which must stop its stream and
// join its threads: after it returns the plugin may be unloaded.
//
// Threads: every slot is called on the host's control thread, except
// getSamplePosition and outputReady, which the host also calls from inside
// its buffer switch on the driver's thread. The callbacks handed to
// createBuffers run on the driver's thread; none runs after stop() returns.

#include "audio/AsioClassId.h"
#include "audio/AsioTypes.h"

#include <cstdint>

class AsioDriver {
public:
    virtual ~AsioDriver() = default;

    // Connects to the device; false leaves a reason for getErrorMessage.
    virtual ASIOBool init(void* sysHandle) = 0;
    // Writes at most kAsioDriverNameLength bytes.
    virtual void getDriverName(char* name) = 0;
    virtual std::int32_t getDriverVersion() = 0;
    // Writes at most kAsioErrorMessageLength bytes.
    virtual void getErrorMessage(char* string) = 0;
    virtual ASIOError start() = 0;
    virtual ASIOError stop() = 0;
    virtual ASIOError getChannels(std::int32_t* numInputChannels, std::int32_t* numOutputChannels) = 0;
    virtual ASIOError getLatencies(std::int32_t* inputLatency, std::int32_t* outputLatency) = 0;
    virtual ASIOError getBufferSize(std::int32_t* minSize, std::int32_t* maxSize,
                                    std::int32_t* preferredSize, std::int32_t* granularity) = 0;
    virtual ASIOError canSampleRate(ASIOSampleRate sampleRate) = 0;
    virtual ASIOError getSampleRate(ASIOSampleRate* sampleRate) = 0;
    virtual ASIOError setSampleRate(ASIOSampleRate sampleRate) = 0;
    // numSources holds the capacity of clocks on entry and the count on return.
    virtual ASIOError getClockSources(ASIOClockSource* clocks, std::int32_t* numSources) = 0;
    virtual ASIOError setClockSource(std::int32_t reference) = 0;
    virtual ASIOError getSamplePosition(ASIOSamples* samplePosition, ASIOTimeStamp* systemTime) = 0;
    virtual ASIOError getChannelInfo(ASIOChannelInfo* info) = 0;
    // The callbacks record must outlive the buffers.
    virtual ASIOError createBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels,
                                    std::int32_t bufferSize, const ASIOCallbacks* callbacks) = 0;
    virtual ASIOError disposeBuffers() = 0;
    virtual ASIOError controlPanel() = 0;
    virtual ASIOError future(std::int32_t selector, void* opt) = 0;
    virtual ASIOError outputReady() = 0;
};

// Bumped whenever the slots or records change, so that a stale plugin refuses
// to make drivers instead of being called through the wrong layout.
inline constexpr std::int32_t kAsioDriverInterfaceVersion = 1;

// What a plugin exports under kAsioDriverFactoryName: a new driver of the
// given class, or null when the plugin does not provide that class or was
// built for another interface version. The caller deletes it.
using AsioDriverFactory = AsioDriver* (*)(const AsioClassId* classId, std::int32_t interfaceVersion);
inline constexpr const char* kAsioDriverFactoryName = "TalvenorCreateAsioDriver";
