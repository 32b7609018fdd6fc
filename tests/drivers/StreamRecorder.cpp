#include "tests/drivers/StreamRecorder.h"

#include "drivers/common/SampleCodec.h"
#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace {
std::atomic<StreamRecorder*> current{nullptr};
} // namespace

StreamRecorder::StreamRecorder(const ASIOBufferInfo* infos, int count, int bufferSize, ASIOSampleType type,
                               Signal play)
    : Infos(infos), Count(count), BufferSize(bufferSize), Type(type), Play(play)
{
    for (std::vector<float>& input : Inputs)
        input.assign(static_cast<std::size_t>(kKeptBuffers) * static_cast<std::size_t>(bufferSize), 0.0f);
    current = this;
}

StreamRecorder::~StreamRecorder()
{
    current = nullptr;
}

const ASIOCallbacks* StreamRecorder::Callbacks() const
{
    static const ASIOCallbacks callbacks = {BufferSwitch, RateChanged, Message, BufferSwitchTimeInfo};
    return &callbacks;
}

void StreamRecorder::BufferSwitch(std::int32_t index, ASIOBool)
{
    if (StreamRecorder* recorder = current.load())
        recorder->Switch(index);
}

ASIOTime* StreamRecorder::BufferSwitchTimeInfo(ASIOTime*, std::int32_t index, ASIOBool direct)
{
    BufferSwitch(index, direct);
    return nullptr;
}

std::int32_t StreamRecorder::Message(std::int32_t selector, std::int32_t value, void*, double*)
{
    switch (selector) {
    case kAsioSelectorSupported:
        return value == kAsioResetRequest || value == kAsioSupportsTimeInfo ? 1 : 0;
    case kAsioSupportsTimeInfo:
        return 1;
    case kAsioResetRequest:
        if (StreamRecorder* recorder = current.load())
            ++recorder->Resets;
        return 1;
    default:
        return 0;
    }
}

void StreamRecorder::RateChanged(ASIOSampleRate) {}

void StreamRecorder::Switch(int index)
{
    const int buffer = SwitchCount.load(std::memory_order_relaxed);
    const int bytes = SampleCodec::BytesPerSample(Type);
    for (int c = 0; c < Count; ++c) {
        const ASIOBufferInfo& info = Infos[c];
        auto* slot = static_cast<std::uint8_t*>(info.buffers[index]);
        if (info.isInput) {
            if (buffer >= kKeptBuffers || info.channelNum > 1)
                continue;
            float* kept = &Inputs[info.channelNum][static_cast<std::size_t>(buffer) * BufferSize];
            for (int i = 0; i < BufferSize; ++i)
                kept[i] = SampleCodec::Decode(Type, slot + i * bytes);
        } else {
            const std::int64_t first = std::int64_t{buffer} * BufferSize;
            for (int i = 0; i < BufferSize; ++i)
                SampleCodec::Encode(Type, Play(info.channelNum, first + i), slot + i * bytes);
        }
    }
    LastSwitch = platform::SteadySeconds();
    SwitchCount.store(buffer + 1, std::memory_order_release);
}

const float* StreamRecorder::Input(int channel, int buffer) const
{
    return &Inputs[channel][static_cast<std::size_t>(buffer) * BufferSize];
}

float StreamRecorder::Played(int channel, int buffer, int frame) const
{
    return Play(channel, std::int64_t{buffer} * BufferSize + frame);
}

bool StreamRecorder::WaitForSwitches(int count, double timeoutSeconds) const
{
    const double end = platform::SteadySeconds() + timeoutSeconds;
    while (Switches() < count) {
        if (platform::SteadySeconds() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
