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
    static const ASIOCallbacks callbacks = {
        [](std::int32_t index, ASIOBool) {
            if (StreamRecorder* recorder = current.load())
                recorder->Switch(index);
        },
        [](ASIOSampleRate) {},
        [](std::int32_t selector, std::int32_t value, void*, double*) -> std::int32_t {
            if (selector == kAsioResetRequest && current.load() != nullptr)
                ++current.load()->Resets;
            return selector == kAsioSelectorSupported ? value == kAsioResetRequest : selector == kAsioResetRequest;
        },
        nullptr};
    return &callbacks;
}

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
