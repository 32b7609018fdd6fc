#include "drivers/common/TwoChannelDriver.h"

#include "drivers/common/CopyText.h"

std::int32_t TwoChannelDriver::getDriverVersion()
{
    return 1;
}

ASIOError TwoChannelDriver::getChannels(std::int32_t* numInputChannels, std::int32_t* numOutputChannels)
{
    if (!IsOpen())
        return kAsioNotPresent;
    if (numInputChannels != nullptr)
        *numInputChannels = kChannels;
    if (numOutputChannels != nullptr)
        *numOutputChannels = kChannels;
    return kAsioOk;
}

ASIOError TwoChannelDriver::getClockSources(ASIOClockSource* clocks, std::int32_t* numSources)
{
    if (clocks == nullptr || numSources == nullptr || *numSources < 1)
        return kAsioInvalidParameter;
    *clocks = ASIOClockSource{};
    clocks->associatedChannel = -1;
    clocks->associatedGroup = -1;
    clocks->isCurrentSource = ASIOTrue;
    CopyText(clocks->name, ClockName(), sizeof clocks->name);
    *numSources = 1;
    return kAsioOk;
}

ASIOError TwoChannelDriver::setClockSource(std::int32_t reference)
{
    return reference == 0 ? kAsioOk : kAsioInvalidParameter;
}

ASIOError TwoChannelDriver::getSamplePosition(ASIOSamples* samplePosition, ASIOTimeStamp* systemTime)
{
    if (samplePosition == nullptr || systemTime == nullptr)
        return kAsioInvalidParameter;
    *samplePosition = Position;
    *systemTime = Time;
    return kAsioOk;
}

ASIOError TwoChannelDriver::controlPanel()
{
    return kAsioOk;
}

ASIOError TwoChannelDriver::future(std::int32_t selector, void* opt)
{
    if (selector != kAsioGetFramesLost || opt == nullptr)
        return kAsioInvalidParameter;
    *static_cast<ASIOSamples*>(opt) = FramesLost.load(std::memory_order_relaxed);
    return kAsioOk;
}

void TwoChannelDriver::CountLostFrames(std::int64_t frames)
{
    if (frames > 0)
        FramesLost.fetch_add(frames, std::memory_order_relaxed);
}

bool TwoChannelDriver::HostTakesTimeInfo() const
{
    return Callbacks.asioMessage != nullptr && Callbacks.bufferSwitchTimeInfo != nullptr
        && Callbacks.asioMessage(kAsioSelectorSupported, kAsioSupportsTimeInfo, nullptr, nullptr) == 1
        && Callbacks.asioMessage(kAsioSupportsTimeInfo, 0, nullptr, nullptr) == 1;
}

void TwoChannelDriver::SwitchBuffers(int half, double rate)
{
    if (UseTimeInfo) {
        ASIOTime info{};
        info.timeInfo.speed = 1.0;
        info.timeInfo.systemTime = Time;
        info.timeInfo.samplePosition = Position;
        info.timeInfo.sampleRate = rate;
        info.timeInfo.flags = kSystemTimeValid | kSamplePositionValid | kSampleRateValid;
        Callbacks.bufferSwitchTimeInfo(&info, half, ASIOTrue);
    } else if (Callbacks.bufferSwitch != nullptr) {
        Callbacks.bufferSwitch(half, ASIOTrue);
    }
}

bool TwoChannelDriver::ChannelsExist(const ASIOBufferInfo* bufferInfos, std::int32_t numChannels)
{
    for (std::int32_t i = 0; i < numChannels; ++i) {
        if (bufferInfos[i].channelNum < 0 || bufferInfos[i].channelNum >= kChannels)
            return false;
    }
    return true;
}

void TwoChannelDriver::MakeBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels, std::int32_t bufferSize,
                                   int bytesPerSample)
{
    BufferSize = bufferSize;
    const auto halfBytes = static_cast<std::size_t>(bufferSize) * static_cast<std::size_t>(bytesPerSample);
    Buffers.resize(static_cast<std::size_t>(numChannels));
    for (std::int32_t i = 0; i < numChannels; ++i) {
        Buffer& buffer = Buffers[static_cast<std::size_t>(i)];
        buffer.IsInput = bufferInfos[i].isInput != ASIOFalse;
        buffer.Channel = bufferInfos[i].channelNum;
        buffer.Memory.assign(2 * halfBytes, 0);
        bufferInfos[i].buffers[0] = HalfOf(buffer, 0, bytesPerSample);
        bufferInfos[i].buffers[1] = HalfOf(buffer, 1, bytesPerSample);
    }
}

std::uint8_t* TwoChannelDriver::HalfOf(Buffer& buffer, int half, int bytesPerSample) const
{
    const std::size_t bytes = static_cast<std::size_t>(BufferSize) * static_cast<std::size_t>(bytesPerSample);
    return buffer.Memory.data() + static_cast<std::size_t>(half) * bytes;
}

ASIOError TwoChannelDriver::DescribeChannel(ASIOChannelInfo* info, ASIOSampleType type,
                                            const char* const* inputNames, const char* const* outputNames) const
{
    if (info == nullptr || info->channel < 0 || info->channel >= kChannels)
        return kAsioInvalidParameter;
    const bool isInput = info->isInput != ASIOFalse;
    info->isActive = ASIOFalse;
    for (const Buffer& buffer : Buffers) {
        if (buffer.IsInput == isInput && buffer.Channel == info->channel)
            info->isActive = ASIOTrue;
    }
    info->channelGroup = 0;
    info->type = type;
    CopyText(info->name, (isInput ? inputNames : outputNames)[info->channel], sizeof info->name);
    return kAsioOk;
}
