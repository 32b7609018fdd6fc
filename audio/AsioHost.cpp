#include "audio/AsioHost.h"

#include "audio/AsioDrivers.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

// Atomic because the driver's thread reads it from inside its buffer switch.
std::atomic<AsioDriver*> theAsioDriver{nullptr};

void CopyText(char* target, const char* text, std::size_t capacity)
{
    const std::size_t length = std::min(std::strlen(text), capacity - 1);
    std::memcpy(target, text, length);
    target[length] = '\0';
}

} // namespace

AsioDriver* CurrentAsioDriver()
{
    return theAsioDriver.load(std::memory_order_acquire);
}

void SetCurrentAsioDriver(AsioDriver* driver)
{
    theAsioDriver.store(driver, std::memory_order_release);
}

ASIOError ASIOInit(ASIODriverInfo* info)
{
    if (info == nullptr)
        return kAsioInvalidParameter;
    AsioDriver* driver = CurrentAsioDriver();
    if (driver == nullptr) {
        info->driverVersion = 0;
        CopyText(info->name, "No ASIO Driver", sizeof info->name);
        return kAsioNotPresent;
    }
    std::memset(info->errorMessage, 0, sizeof info->errorMessage);
    if (!driver->init(info->sysRef)) {
        driver->getErrorMessage(info->errorMessage);
        info->errorMessage[sizeof info->errorMessage - 1] = '\0';
        SetCurrentAsioDriver(nullptr);
        return kAsioNotPresent;
    }
    CopyText(info->errorMessage, "No ASIO Driver Error", sizeof info->errorMessage);
    std::memset(info->name, 0, sizeof info->name);
    driver->getDriverName(info->name);
    info->name[sizeof info->name - 1] = '\0';
    info->driverVersion = driver->getDriverVersion();
    return kAsioOk;
}

ASIOError ASIOExit()
{
    if (AsioDrivers* drivers = GetAsioDrivers())
        drivers->removeCurrentDriver();
    SetCurrentAsioDriver(nullptr);
    return kAsioOk;
}

ASIOError ASIOStart()
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->start() : kAsioNotPresent;
}

ASIOError ASIOStop()
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->stop() : kAsioNotPresent;
}

ASIOError ASIOGetChannels(std::int32_t* numInputChannels, std::int32_t* numOutputChannels)
{
    AsioDriver* driver = CurrentAsioDriver();
    if (driver != nullptr)
        return driver->getChannels(numInputChannels, numOutputChannels);
    if (numInputChannels != nullptr)
        *numInputChannels = 0;
    if (numOutputChannels != nullptr)
        *numOutputChannels = 0;
    return kAsioNotPresent;
}

ASIOError ASIOGetBufferSize(std::int32_t* minSize, std::int32_t* maxSize, std::int32_t* preferredSize,
                            std::int32_t* granularity)
{
    AsioDriver* driver = CurrentAsioDriver();
    if (driver != nullptr)
        return driver->getBufferSize(minSize, maxSize, preferredSize, granularity);
    for (std::int32_t* size : {minSize, maxSize, preferredSize, granularity}) {
        if (size != nullptr)
            *size = 0;
    }
    return kAsioNotPresent;
}

ASIOError ASIOCanSampleRate(ASIOSampleRate sampleRate)
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->canSampleRate(sampleRate) : kAsioNotPresent;
}

ASIOError ASIOGetSampleRate(ASIOSampleRate* currentRate)
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->getSampleRate(currentRate) : kAsioNotPresent;
}

ASIOError ASIOSetSampleRate(ASIOSampleRate sampleRate)
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->setSampleRate(sampleRate) : kAsioNotPresent;
}

ASIOError ASIOGetSamplePosition(ASIOSamples* samplePosition, ASIOTimeStamp* systemTime)
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->getSamplePosition(samplePosition, systemTime) : kAsioNotPresent;
}

ASIOError ASIOGetChannelInfo(ASIOChannelInfo* info)
{
    if (info == nullptr)
        return kAsioInvalidParameter;
    AsioDriver* driver = CurrentAsioDriver();
    if (driver != nullptr)
        return driver->getChannelInfo(info);
    info->channelGroup = -1;
    info->type = 0;
    CopyText(info->name, "None", sizeof info->name);
    return kAsioNotPresent;
}

ASIOError ASIOCreateBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels, std::int32_t bufferSize,
                            const ASIOCallbacks* callbacks)
{
    AsioDriver* driver = CurrentAsioDriver();
    if (driver != nullptr)
        return driver->createBuffers(bufferInfos, numChannels, bufferSize, callbacks);
    for (std::int32_t i = 0; bufferInfos != nullptr && i < numChannels; ++i)
        bufferInfos[i].buffers[0] = bufferInfos[i].buffers[1] = nullptr;
    return kAsioNotPresent;
}

ASIOError ASIODisposeBuffers()
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->disposeBuffers() : kAsioNotPresent;
}

ASIOError ASIOOutputReady()
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->outputReady() : kAsioNotPresent;
}

ASIOError ASIOFuture(std::int32_t selector, void* opt)
{
    AsioDriver* driver = CurrentAsioDriver();
    return driver != nullptr ? driver->future(selector, opt) : kAsioNotPresent;
}
