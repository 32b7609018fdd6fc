#pragma once
// The driver for real sound devices, through a JACK server (PipeWire desktops
// serve JACK clients too): a client with two input and two output ports, the
// server's rate as its only rate and the server's period as its buffer size.
// Float samples become 32-bit integers and back; the host's buffer switch
// runs on JACK's process thread.
//
// A server that shuts down or goes away is reported to the host with a reset
// request; the driver then answers errors until it is made anew. A server
// that stops answering is given up: libjack waits for a server's answer
// without a limit, so a stop or close waits kServerAnswerTime at most, and
// then the driver answers errors too, libjack's threads no longer reach it,
// and the client is closed from a thread of its own whenever the server
// answers.
//
// Input lost to an xrun is counted: the cycles the process thread missed
// (the server's frame time moved on by more than one period), or, when the
// server lost the time itself (a device overrun), the delay it reports. A
// stop counts those missed up to it that no cycle has counted yet.
//
// The client is named "Talvenor Mobile", or what TALVENOR_JACK_CLIENT_NAME
// says: libjack names a client's own socket after the client alone, so two
// programs on two different servers need different names.

#include "drivers/common/TwoChannelDriver.h"

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>

struct JackCallbackLink;
enum class JackRequest;

class JackAsioDriver final : public TwoChannelDriver {
public:
    // How long a stop or close waits for the server's answer, and then for a
    // callback under way once the client is given up.
    static constexpr std::chrono::milliseconds kServerAnswerTime{3000};
    static constexpr std::chrono::milliseconds kCallbackDrainTime{1000};

    JackAsioDriver() = default;
    ~JackAsioDriver() override;

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
    ASIOError getSamplePosition(ASIOSamples* samplePosition, ASIOTimeStamp* systemTime) override;
    ASIOError getChannelInfo(ASIOChannelInfo* info) override;
    ASIOError createBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels, std::int32_t bufferSize,
                            const ASIOCallbacks* callbacks) override;
    ASIOError disposeBuffers() override;
    ASIOError outputReady() override;

private:
    bool IsOpen() const override { return Client != nullptr; }
    const char* ClockName() const override { return "JACK server"; }

    static int OnProcess(jack_nframes_t frames, void* link);
    static int OnBufferSize(jack_nframes_t frames, void* link);
    static void OnShutdown(jack_status_t code, const char* reason, void* link);
    static int OnXrun(void* link);

    void Process(jack_nframes_t frames);
    // Frames lost between the cycle before and the one starting at cycleStart.
    std::int64_t LostBefore(jack_nframes_t cycleStart);
    void ReportToHost();
    void ConnectPhysicalPorts();
    void CloseClient();
    // False when the server did not answer in time and the client was given up.
    bool AskServer(JackRequest request);
    void GiveUpClient();
    void SetError(const char* text);

    jack_client_t* Client = nullptr;
    // What the client's callbacks go through; there while Client is, and
    // handed to the closing thread with a client given up.
    JackCallbackLink* Link = nullptr;
    std::array<jack_port_t*, kChannels> InputPorts{};
    std::array<jack_port_t*, kChannels> OutputPorts{};
    double Rate = 0.0;
    std::atomic<std::int32_t> Period{0};
    char ErrorText[kAsioErrorMessageLength] = {};  // the host's thread's own
    // What the shutdown notice, on libjack's thread, has to say; it wins
    // over ErrorText until the host's thread sets an error of its own.
    std::atomic<const char*> ServerNotice{nullptr};
    // The host's message callback, as the shutdown notice reads it.
    std::atomic<decltype(ASIOCallbacks::asioMessage)> HostMessage{nullptr};

    int Half = 0;  // the process thread's own
    // Where the next cycle should start, in the server's frames; the
    // process thread's own, cleared by a start.
    bool HasCycle = false;
    jack_nframes_t NextCycleStart = 0;
    // Microseconds the server reports lost to xruns since the last cycle.
    std::atomic<std::int64_t> XrunDelayUsecs{0};
    std::atomic<bool> Active{false};
    std::atomic<bool> ServerLost{false};
    std::atomic<bool> ResetReported{false};
};
