#pragma once
// What both driver plugins share: two inputs and two outputs, double buffers
// made by createBuffers, one clock source, and the buffer switch that hands a
// half to the host with or without time information. A plugin supplies the
// device: opening it, its rates and sizes, and the thread that streams.

#include "audio/AsioDriver.h"

#include <atomic>
#include <cstdint>
#include <vector>

class TwoChannelDriver : public AsioDriver {
public:
    static constexpr int kChannels = 2;

    std::int32_t getDriverVersion() override;
    ASIOError getChannels(std::int32_t* numInputChannels, std::int32_t* numOutputChannels) override;
    ASIOError getClockSources(ASIOClockSource* clocks, std::int32_t* numSources) override;
    ASIOError setClockSource(std::int32_t reference) override;
    ASIOError getSamplePosition(ASIOSamples* samplePosition, ASIOTimeStamp* systemTime) override;
    ASIOError controlPanel() override;
    ASIOError future(std::int32_t selector, void* opt) override;

protected:
    struct Buffer {
        bool IsInput = false;
        int Channel = 0;
        std::vector<std::uint8_t> Memory;  // both halves
    };

    // True once init has reached the device.
    virtual bool IsOpen() const = 0;
    // The name of the one clock source.
    virtual const char* ClockName() const = 0;

    // Whether the host's callbacks take the buffer switch with time information.
    bool HostTakesTimeInfo() const;
    // Hands a half to the host, stamped with Position and Time.
    void SwitchBuffers(int half, double rate);
    // True when every requested channel number exists.
    static bool ChannelsExist(const ASIOBufferInfo* bufferInfos, std::int32_t numChannels);
    // Makes a zeroed double buffer per requested channel and tells the host where its halves are.
    void MakeBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels, std::int32_t bufferSize,
                     int bytesPerSample);
    std::uint8_t* HalfOf(Buffer& buffer, int half, int bytesPerSample) const;
    // Input that never reached the host: counted on the streaming thread,
    // cleared by a start, answered through future(kAsioGetFramesLost).
    void CountLostFrames(std::int64_t frames);
    void ClearLostFrames() { FramesLost.store(0, std::memory_order_relaxed); }
    ASIOError DescribeChannel(ASIOChannelInfo* info, ASIOSampleType type, const char* const* inputNames,
                              const char* const* outputNames) const;

    // Made by createBuffers and left alone while the stream runs.
    std::vector<Buffer> Buffers;
    std::int32_t BufferSize = 0;
    bool UseTimeInfo = false;
    ASIOCallbacks Callbacks{};

    std::atomic<ASIOSamples> Position{0};
    std::atomic<ASIOTimeStamp> Time{0};

private:
    std::atomic<ASIOSamples> FramesLost{0};
};
