#include "drivers/jack/JackAsioDriver.h"

#include "audio/ShippedDriverIds.h"
#include "drivers/common/CopyText.h"
#include "drivers/common/SampleCodec.h"
#include "drivers/jack/JackCallbackLink.h"
#include "drivers/jack/JackServerRequest.h"

#include <jack/statistics.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

constexpr const char* kClientName = "Talvenor Mobile";
constexpr const char* kInputNames[] = {"in_1", "in_2"};
constexpr const char* kOutputNames[] = {"out_1", "out_2"};

// libjack reports through one process-wide function; its last word explains
// a failed connection better than anything the driver could say. It also
// reports from its own threads, which it may cancel anywhere as it closes a
// client: neither side waits for the lock, so one left held costs a reason,
// never a hang.
std::mutex lastJackErrorMutex;
std::string lastJackError;

void KeepJackError(const char* text)
{
    std::unique_lock lock(lastJackErrorMutex, std::try_to_lock);
    if (lock.owns_lock())
        lastJackError = text != nullptr ? text : "";
}

void IgnoreJackInfo(const char*) {}

std::string LastJackError()
{
    std::unique_lock lock(lastJackErrorMutex, std::try_to_lock);
    return lock.owns_lock() ? lastJackError : std::string();
}

} // namespace

JackAsioDriver::~JackAsioDriver()
{
    disposeBuffers();
    CloseClient();
}

void JackAsioDriver::SetError(const char* text)
{
    ServerNotice.store(nullptr);
    CopyText(ErrorText, text, sizeof ErrorText);
}

ASIOBool JackAsioDriver::init(void*)
{
    if (Client != nullptr)
        return ServerLost ? ASIOFalse : ASIOTrue;
    jack_set_error_function(KeepJackError);
    jack_set_info_function(IgnoreJackInfo);
    const char* name = std::getenv("TALVENOR_JACK_CLIENT_NAME");
    jack_status_t status{};
    Client = jack_client_open(name != nullptr && name[0] != '\0' ? name : kClientName, JackNoStartServer, &status);
    if (Client == nullptr) {
        const std::string reason = LastJackError();
        SetError(("No JACK server is running" + (reason.empty() ? std::string(".") : ": " + reason)).c_str());
        return ASIOFalse;
    }
    Link = new JackCallbackLink(this);
    for (int i = 0; i < kChannels; ++i) {
        InputPorts[i] = jack_port_register(Client, kInputNames[i], JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        OutputPorts[i] = jack_port_register(Client, kOutputNames[i], JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
        if (InputPorts[i] == nullptr || OutputPorts[i] == nullptr) {
            SetError("The JACK server refused the driver's ports.");
            CloseClient();
            return ASIOFalse;
        }
    }
    if (jack_set_process_callback(Client, OnProcess, Link) != 0
        || jack_set_buffer_size_callback(Client, OnBufferSize, Link) != 0
        || jack_set_xrun_callback(Client, OnXrun, Link) != 0) {
        SetError("The JACK server refused the driver's callbacks.");
        CloseClient();
        return ASIOFalse;
    }
    jack_on_info_shutdown(Client, OnShutdown, Link);
    Rate = jack_get_sample_rate(Client);
    Period = static_cast<std::int32_t>(jack_get_buffer_size(Client));
    return ASIOTrue;
}

void JackAsioDriver::CloseClient()
{
    if (Client == nullptr)
        return;
    // Closing stops the client's threads, also when the server is gone.
    if (!AskServer(JackRequest::Close))
        return;
    delete Link;
    Link = nullptr;
    Client = nullptr;
    InputPorts.fill(nullptr);
    OutputPorts.fill(nullptr);
    Active = false;
}

bool JackAsioDriver::AskServer(JackRequest request)
{
    JackCallbackLink* link = Link;
    return SendJackRequest(Client, request, kServerAnswerTime, [this] { GiveUpClient(); },
                           [link] { delete link; });
}

void JackAsioDriver::GiveUpClient()
{
    Link->Unlink(kCallbackDrainTime);
    // The closing thread owns the link and the client from here on.
    Link = nullptr;
    Client = nullptr;
    InputPorts.fill(nullptr);
    OutputPorts.fill(nullptr);
    Active = false;
    ServerLost = true;
    SetError("The JACK server stopped answering.");
}

void JackAsioDriver::getDriverName(char* name)
{
    CopyText(name, kJackDriverName, kAsioDriverNameLength);
}

void JackAsioDriver::getErrorMessage(char* string)
{
    const char* notice = ServerNotice.load();
    CopyText(string, notice != nullptr ? notice : ErrorText, kAsioErrorMessageLength);
}

ASIOError JackAsioDriver::start()
{
    if (Client == nullptr)
        return kAsioNotPresent;
    if (ServerLost)
        return kAsioHardwareMalfunction;
    if (Buffers.empty())
        return kAsioInvalidMode;
    if (Active)
        return kAsioOk;
    UseTimeInfo = HostTakesTimeInfo();
    Half = 0;
    Position = 0;
    HasCycle = false;
    XrunDelayUsecs = 0;
    ClearLostFrames();
    ResetReported = false;
    Active = true;
    if (jack_activate(Client) != 0) {
        Active = false;
        SetError("The JACK server did not start the driver.");
        return kAsioHardwareMalfunction;
    }
    ConnectPhysicalPorts();
    return kAsioOk;
}

ASIOError JackAsioDriver::stop()
{
    if (!Active || Client == nullptr)
        return kAsioOk;
    // Once this returns no process callback runs: a live server finishes its
    // cycle first; after a lost server only closing the client stops its
    // thread; a server that does not answer is given up.
    if (ServerLost) {
        CloseClient();
    } else {
        // A process thread held up with the rest of the program may get no
        // cycle before the stop: the cycles it missed up to now are counted
        // as its next cycle would have counted them, all but the one under
        // way, where the stream ends. Read once the deactivation has ended
        // the process thread's cycles.
        const jack_nframes_t now = jack_frame_time(Client);
        if (AskServer(JackRequest::Deactivate))
            CountLostFrames(LostBefore(now - static_cast<jack_nframes_t>(BufferSize)));
    }
    Active = false;
    return kAsioOk;
}

void JackAsioDriver::ConnectPhysicalPorts()
{
    const auto connect = [this](unsigned long flags, const std::array<jack_port_t*, kChannels>& own, bool ownIsSource) {
        const char** physical = jack_get_ports(Client, nullptr, JACK_DEFAULT_AUDIO_TYPE, JackPortIsPhysical | flags);
        if (physical == nullptr)
            return;
        for (int i = 0; i < kChannels && physical[i] != nullptr; ++i) {
            const char* ownName = jack_port_name(own[i]);
            if (ownIsSource)
                jack_connect(Client, ownName, physical[i]);
            else
                jack_connect(Client, physical[i], ownName);
        }
        jack_free(physical);
    };
    connect(JackPortIsOutput, InputPorts, false);
    connect(JackPortIsInput, OutputPorts, true);
}

int JackAsioDriver::OnProcess(jack_nframes_t frames, void* link)
{
    const JackCallbackScope scope(link);
    if (JackAsioDriver* driver = scope.Driver())
        driver->Process(frames);
    return 0;
}

int JackAsioDriver::OnBufferSize(jack_nframes_t frames, void* link)
{
    const JackCallbackScope scope(link);
    JackAsioDriver* driver = scope.Driver();
    if (driver == nullptr)
        return 0;
    driver->Period = static_cast<std::int32_t>(frames);
    if (driver->Active && static_cast<std::int32_t>(frames) != driver->BufferSize)
        driver->ReportToHost();
    return 0;
}

void JackAsioDriver::OnShutdown(jack_status_t, const char*, void* link)
{
    const JackCallbackScope scope(link);
    JackAsioDriver* driver = scope.Driver();
    if (driver == nullptr)
        return;
    driver->ServerLost = true;
    // Handed over without a lock: libjack may cancel this thread anywhere.
    driver->ServerNotice.store("The JACK server has shut down.");
    driver->ReportToHost();
}

int JackAsioDriver::OnXrun(void* link)
{
    const JackCallbackScope scope(link);
    // The client is the driver's as long as a callback reaches it.
    if (JackAsioDriver* driver = scope.Driver())
        driver->XrunDelayUsecs += static_cast<std::int64_t>(jack_get_xrun_delayed_usecs(driver->Client));
    return 0;
}

std::int64_t JackAsioDriver::LostBefore(jack_nframes_t cycleStart)
{
    // The frame counter wraps; a jump of more than an hour is a server that
    // started its count afresh, not a gap.
    const auto gap = static_cast<std::int32_t>(cycleStart - NextCycleStart);
    const std::int64_t missed = HasCycle && gap > 0 && gap < Rate * 3600.0 ? gap : 0;
    const std::int64_t delay = XrunDelayUsecs.exchange(0);
    const auto delayed = static_cast<std::int64_t>(std::llround(static_cast<double>(delay) * Rate / 1e6));
    // Both measure the same hole when the server saw it as well.
    return std::max(missed, delayed);
}

void JackAsioDriver::ReportToHost()
{
    if (ResetReported.exchange(true))
        return;
    // Read and told with no lock held: a host that hears of a lost server
    // closes the client, and libjack cancels this thread (asynchronously) as
    // it closes it; a lock still held here would stay held for good.
    const auto message = HostMessage.load();
    if (message != nullptr)
        message(kAsioResetRequest, 0, nullptr, nullptr);
}

void JackAsioDriver::Process(jack_nframes_t frames)
{
    std::array<float*, kChannels> in{};
    std::array<float*, kChannels> out{};
    for (int i = 0; i < kChannels; ++i) {
        in[i] = static_cast<float*>(jack_port_get_buffer(InputPorts[i], frames));
        out[i] = static_cast<float*>(jack_port_get_buffer(OutputPorts[i], frames));
        std::fill(out[i], out[i] + frames, 0.0f);
    }
    // A period other than the buffers' leaves the host without data until it
    // sets the driver up again, which the buffer-size notice asked it to do.
    if (!Active || static_cast<std::int32_t>(frames) != BufferSize)
        return;
    const jack_nframes_t cycleStart = jack_last_frame_time(Client);
    const std::int64_t lost = LostBefore(cycleStart);
    HasCycle = true;
    NextCycleStart = cycleStart + frames;
    CountLostFrames(lost);
    Position = Position + lost;

    constexpr int kBytes = 4;
    for (Buffer& buffer : Buffers) {
        if (!buffer.IsInput)
            continue;
        const float* source = in[static_cast<std::size_t>(buffer.Channel)];
        std::uint8_t* slot = HalfOf(buffer, Half, kBytes);
        for (jack_nframes_t i = 0; i < frames; ++i)
            SampleCodec::Encode(ASIOSTInt32LSB, source[i], slot + kBytes * i);
    }
    Time = static_cast<ASIOTimeStamp>(jack_get_time()) * 1000;
    SwitchBuffers(Half, Rate);
    for (Buffer& buffer : Buffers) {
        if (buffer.IsInput)
            continue;
        float* target = out[static_cast<std::size_t>(buffer.Channel)];
        const std::uint8_t* slot = HalfOf(buffer, Half, kBytes);
        for (jack_nframes_t i = 0; i < frames; ++i)
            target[i] = SampleCodec::Decode(ASIOSTInt32LSB, slot + kBytes * i);
    }
    Position = Position + frames;
    Half ^= 1;
}

ASIOError JackAsioDriver::getLatencies(std::int32_t* inputLatency, std::int32_t* outputLatency)
{
    if (Client == nullptr)
        return kAsioNotPresent;
    if (inputLatency != nullptr)
        *inputLatency = Period;
    if (outputLatency != nullptr)
        *outputLatency = Period;
    return kAsioOk;
}

ASIOError JackAsioDriver::getBufferSize(std::int32_t* minSize, std::int32_t* maxSize, std::int32_t* preferredSize,
                                        std::int32_t* granularity)
{
    if (Client == nullptr)
        return kAsioNotPresent;
    for (std::int32_t* size : {minSize, maxSize, preferredSize}) {
        if (size != nullptr)
            *size = Period;
    }
    if (granularity != nullptr)
        *granularity = 0;
    return kAsioOk;
}

ASIOError JackAsioDriver::canSampleRate(ASIOSampleRate sampleRate)
{
    if (Client == nullptr)
        return kAsioNotPresent;
    return sampleRate == Rate ? kAsioOk : kAsioNoClock;
}

ASIOError JackAsioDriver::getSampleRate(ASIOSampleRate* sampleRate)
{
    if (Client == nullptr)
        return kAsioNotPresent;
    if (sampleRate == nullptr)
        return kAsioInvalidParameter;
    *sampleRate = Rate;
    return kAsioOk;
}

ASIOError JackAsioDriver::setSampleRate(ASIOSampleRate sampleRate)
{
    return canSampleRate(sampleRate);
}

ASIOError JackAsioDriver::getSamplePosition(ASIOSamples* samplePosition, ASIOTimeStamp* systemTime)
{
    if (ServerLost)
        return kAsioHardwareMalfunction;
    return TwoChannelDriver::getSamplePosition(samplePosition, systemTime);
}

ASIOError JackAsioDriver::getChannelInfo(ASIOChannelInfo* info)
{
    if (Client == nullptr)
        return kAsioNotPresent;
    return DescribeChannel(info, ASIOSTInt32LSB, kInputNames, kOutputNames);
}

ASIOError JackAsioDriver::createBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels,
                                        std::int32_t bufferSize, const ASIOCallbacks* callbacks)
{
    if (Client == nullptr)
        return kAsioNotPresent;
    if (ServerLost)
        return kAsioHardwareMalfunction;
    if (Active)
        return kAsioInvalidMode;
    if (bufferInfos == nullptr || callbacks == nullptr || numChannels < 1 || numChannels > 2 * kChannels)
        return kAsioInvalidParameter;
    if (bufferSize != Period)
        return kAsioInvalidMode;
    if (!ChannelsExist(bufferInfos, numChannels))
        return kAsioInvalidParameter;
    disposeBuffers();
    MakeBuffers(bufferInfos, numChannels, bufferSize, 4);
    Callbacks = *callbacks;
    HostMessage.store(callbacks->asioMessage);
    return kAsioOk;
}

ASIOError JackAsioDriver::disposeBuffers()
{
    stop();
    Buffers.clear();
    BufferSize = 0;
    HostMessage.store(nullptr);
    Callbacks = ASIOCallbacks{};
    return kAsioOk;
}

ASIOError JackAsioDriver::outputReady()
{
    // JACK takes the outputs when the process callback returns; there is nothing to hurry.
    return kAsioNotPresent;
}
