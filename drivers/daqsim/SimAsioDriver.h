#pragma once
// The simulated Talvenor DAQ module's audio driver: two inputs and two
// outputs, every candidate rate, 24- or 32-bit samples. Buffers arrive from
// the driver's own thread on a schedule counted from the start in whole
// frames, so the stream keeps the rate exactly however long it runs. A
// stream held up for longer than half a second starts its schedule afresh
// and counts the frames it skipped as lost; one held up until a stop counts
// them as it stops.

#include "drivers/common/TwoChannelDriver.h"
#include "drivers/daqsim/SimFrontEnd.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class SimAsioDriver final : public TwoChannelDriver {
public:
    SimAsioDriver();
    ~SimAsioDriver() override;

    ASIOBool init(void* sysHandle) override;
    void getDriverName(char* name) override;
    void getErrorMessage(char* string) override;
    ASIOError start() override;
    ASIOError stop() override;
    ASIOError getLatencies(std::int32_t* inputLatency, std::int32_t* outputLatency) override;
    ASIOError getBufferSize(std::int32_t* minSize, std::int32_t* maxSize, std::int32_t* preferredSize,
                            std::int32_t* granularity) override;
    ASIOError canSampleRate(ASIOSampleRate sampleRate) override;
    ASIOError getSampleRate(ASIOSampleRate* sampleRate) override;
    ASIOError setSampleRate(ASIOSampleRate sampleRate) override;
    ASIOError getChannelInfo(ASIOChannelInfo* info) override;
    ASIOError createBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels, std::int32_t bufferSize,
                            const ASIOCallbacks* callbacks) override;
    ASIOError disposeBuffers() override;
    ASIOError outputReady() override;

private:
    bool IsOpen() const override { return Initialised; }
    const char* ClockName() const override { return "Internal"; }
    void Run();
    void FillInputs(int half);
    void CaptureOutputs(int half);
    void DeliverBuffer(int half, ASIOSamples position, ASIOTimeStamp time);
    std::uint8_t* Half(Buffer& buffer, int half);

    bool Initialised = false;
    char ErrorText[kAsioErrorMessageLength] = {};
    ASIOSampleType SampleType = ASIOSTInt32LSB;
    std::atomic<double> Rate{48000.0};

    // The stream thread's own: the last buffer played on each output, and
    // the inputs' front ends.
    std::array<std::vector<float>, kChannels> Played;
    // One input buffer's samples before encoding (driver thread only).
    std::vector<float> Heard;
    std::array<SimFrontEnd, kChannels> FrontEnds{SimFrontEnd(0), SimFrontEnd(1)};

    std::thread Stream;
    std::mutex WakeMutex;
    std::condition_variable Wake;
    bool StopRequested = false;  // guarded by WakeMutex
    std::atomic<bool> Running{false};
};
