#pragma once
// The host side of a driver stream for tests: both inputs and both outputs,
// with callbacks that count buffer switches, keep the first buffers of each input channel, play a chosen
// signal on the outputs and count reset requests. Each of the first switches
// keeps its arrival (steady seconds) and the driver's sample position; one
// switch can be held up, as a host that stalls. The callbacks are plain
// functions, so they reach the latest recorder made.

#include "audio/AsioHost.h"
#include "audio/AsioTypes.h"
#include "drivers/common/SampleCodec.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

class StreamRecorder {
public:
    using Signal = float (*)(int channel, std::int64_t frame);

    // Buffers kept per input channel.
    static constexpr int kKeptBuffers = 128;
    // Switches whose arrival and position are kept.
    static constexpr int kKeptSwitches = 8192;
    // Buffer switches so far, reset requests, and the steady seconds of the latest switch.
    std::atomic<int> Switches{0};
    std::atomic<int> Resets{0};
    std::atomic<double> LastSwitch{0.0};
    // The switch with this number (counted from 0) waits HoldMilliseconds first.
    std::atomic<int> HoldAt{-1};
    std::atomic<int> HoldMilliseconds{0};
    // True while that switch waits.
    std::atomic<bool> Holding{false};

    StreamRecorder(int bufferSize, ASIOSampleType type, Signal play) : BufferSize(bufferSize), Type(type), Play(play)
    {
        for (int i = 0; i < 4; ++i)
            Infos[i] = ASIOBufferInfo{i < 2 ? ASIOTrue : ASIOFalse, i % 2, {nullptr, nullptr}};
        for (std::vector<float>& input : Inputs)
            input.assign(static_cast<std::size_t>(kKeptBuffers) * static_cast<std::size_t>(bufferSize), 0.0f);
        Arrivals.assign(kKeptSwitches, 0.0);
        Positions.assign(kKeptSwitches, 0);
        Current = this;
    }
    ~StreamRecorder() { Current = nullptr; }

    ASIOError CreateBuffers()
    {
        static const ASIOCallbacks callbacks = {
            [](std::int32_t index, ASIOBool) {
                if (StreamRecorder* recorder = Current.load())
                    recorder->Switch(index);
            },
            [](ASIOSampleRate) {},
            [](std::int32_t selector, std::int32_t value, void*, double*) -> std::int32_t {
                if (selector == kAsioResetRequest && Current.load() != nullptr)
                    ++Current.load()->Resets;
                return selector == kAsioSelectorSupported ? value == kAsioResetRequest : selector == kAsioResetRequest;
            },
            nullptr};
        return ASIOCreateBuffers(Infos, 4, BufferSize, &callbacks);
    }

    // Input samples of buffer b (b < kKeptBuffers, counted from the first).
    const float* Input(int channel, int buffer) const
    {
        return &Inputs[channel][static_cast<std::size_t>(buffer) * BufferSize];
    }

    // Arrival (steady seconds) and the driver's sample position of switch k
    // (k < kKeptSwitches, counted from 0); read once the stream has stopped.
    double ArrivalOf(int k) const { return Arrivals[static_cast<std::size_t>(k)]; }
    ASIOSamples PositionOf(int k) const { return Positions[static_cast<std::size_t>(k)]; }

    // Waits (bounded) until the count of switches reaches count.
    bool WaitForSwitches(int count, double timeoutSeconds) const
    {
        const double end = platform::SteadySeconds() + timeoutSeconds;
        while (Switches < count) {
            if (platform::SteadySeconds() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

private:
    void Switch(int index)
    {
        const int buffer = Switches.load(std::memory_order_relaxed);
        if (buffer == HoldAt.load()) {
            Holding = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(HoldMilliseconds.load()));
            Holding = false;
        }
        if (buffer < kKeptSwitches) {
            ASIOTimeStamp stamp = 0;
            ASIOGetSamplePosition(&Positions[static_cast<std::size_t>(buffer)], &stamp);
            Arrivals[static_cast<std::size_t>(buffer)] = platform::SteadySeconds();
        }
        const int bytes = SampleCodec::BytesPerSample(Type);
        for (int c = 0; c < 4; ++c) {
            const ASIOBufferInfo& info = Infos[c];
            auto* slot = static_cast<std::uint8_t*>(info.buffers[index]);
            if (info.isInput && buffer < kKeptBuffers) {
                float* kept = &Inputs[info.channelNum][static_cast<std::size_t>(buffer) * BufferSize];
                for (int i = 0; i < BufferSize; ++i)
                    kept[i] = SampleCodec::Decode(Type, slot + i * bytes);
            } else if (!info.isInput) {
                const std::int64_t first = std::int64_t{buffer} * BufferSize;
                for (int i = 0; i < BufferSize; ++i)
                    SampleCodec::Encode(Type, Play(info.channelNum, first + i), slot + i * bytes);
            }
        }
        LastSwitch = platform::SteadySeconds();
        Switches.store(buffer + 1, std::memory_order_release);
    }

    static inline std::atomic<StreamRecorder*> Current{nullptr};
    ASIOBufferInfo Infos[4];
    int BufferSize;
    ASIOSampleType Type;
    Signal Play;
    std::vector<float> Inputs[2];
    std::vector<double> Arrivals;
    std::vector<ASIOSamples> Positions;
};

// The frames the loaded driver counts as lost; -1 when it does not answer.
inline ASIOSamples FramesLostByDriver()
{
    ASIOSamples lost = -1;
    return ASIOFuture(kAsioGetFramesLost, &lost) == kAsioOk ? lost : -1;
}

// Holds up the stream's next switch but one for a second, stops the stream
// 0.6 s into the hold, before the driver's thread runs again, and expects
// the driver to have counted the time up to the stop as lost (within 0.1 s:
// the driver leaves out the buffer under way).
inline void ExpectAStopWhileHeldCountsTheHoldUp(StreamRecorder& recorder, double rate)
{
    const ASIOSamples before = FramesLostByDriver();
    recorder.HoldMilliseconds = 1000;
    recorder.HoldAt = recorder.Switches + 2;
    const double end = platform::SteadySeconds() + 30.0;
    while (!recorder.Holding && platform::SteadySeconds() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(recorder.Holding);
    const double held = platform::SteadySeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    const double seconds = platform::SteadySeconds() - held;
    ASSERT_EQ(ASIOStop(), kAsioOk);
    const ASIOSamples lost = FramesLostByDriver() - before;
    EXPECT_GE(lost, (seconds - 0.1) * rate);
    EXPECT_LT(lost, (seconds + 1.0) * rate);
}

// After the server went away under a running stream: the host hears one
// reset request, the driver reports no position, stops, refuses to start
// again and lets go of its buffers cleanly.
inline void ExpectTheStreamEndsOnceItsServerIsGone(StreamRecorder& recorder)
{
    const double end = platform::SteadySeconds() + 10.0;
    while (recorder.Resets == 0 && platform::SteadySeconds() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(recorder.Resets, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(recorder.Resets, 1) << "reported once";
    ASIOSamples position = 0;
    ASIOTimeStamp time = 0;
    EXPECT_NE(ASIOGetSamplePosition(&position, &time), kAsioOk);
    EXPECT_EQ(ASIOStop(), kAsioOk);
    const int stopped = recorder.Switches;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(recorder.Switches, stopped);
    EXPECT_NE(ASIOStart(), kAsioOk);
    EXPECT_EQ(ASIODisposeBuffers(), kAsioOk);
    EXPECT_EQ(ASIOExit(), kAsioOk);
}
