#pragma once
// The host side of a driver stream for tests: callbacks that count buffer
// switches, keep the first buffers of each input channel, play a chosen
// signal on the outputs and count reset requests. The callbacks are plain
// functions, so they reach the latest recorder made.

#include "audio/AsioTypes.h"

#include <atomic>
#include <cstdint>
#include <vector>

class StreamRecorder {
public:
    using Signal = float (*)(int channel, std::int64_t frame);

    // Buffers kept per input channel.
    static constexpr int kKeptBuffers = 128;

    // infos must stay alive while the stream runs.
    StreamRecorder(const ASIOBufferInfo* infos, int count, int bufferSize, ASIOSampleType type, Signal play);
    ~StreamRecorder();

    const ASIOCallbacks* Callbacks() const;

    int Switches() const { return SwitchCount.load(std::memory_order_acquire); }
    int ResetRequests() const { return Resets.load(); }
    // Steady seconds of the latest switch.
    double LastSwitchSeconds() const { return LastSwitch.load(); }
    // Input samples of buffer b (b < kKeptBuffers, counted from the first).
    const float* Input(int channel, int buffer) const
    {
        return &Inputs[channel][static_cast<std::size_t>(buffer) * BufferSize];
    }

    // Waits (bounded) until the count of switches reaches count.
    bool WaitForSwitches(int count, double timeoutSeconds) const;

private:
    void Switch(int index);

    const ASIOBufferInfo* Infos;
    int Count;
    int BufferSize;
    ASIOSampleType Type;
    Signal Play;
    std::vector<float> Inputs[2];
    std::atomic<int> SwitchCount{0};
    std::atomic<int> Resets{0};
    std::atomic<double> LastSwitch{0.0};
};
