#include "drivers/daqsim/SimAsioDriver.h"

#include "audio/ShippedDriverIds.h"
#include "drivers/common/CopyText.h"
#include "drivers/common/SampleCodec.h"
#include "drivers/daqsim/SimModule.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kRates[] = {8000,  11025, 12000, 16000, 22050,  24000, 32000,
                             44100, 48000, 88200, 96000, 176400, 192000};
constexpr std::int32_t kMinBufferSize = 64;
constexpr std::int32_t kMaxBufferSize = 8192;
// A stream that fell this far behind (a stopped debugger, a stalled
// machine) starts its schedule afresh instead of rushing to catch up, and
// counts the frames of the time it fell behind as lost.
constexpr auto kGiveUpLag = std::chrono::milliseconds(500);

// The frames of the time a stream fell behind its deadline, once it fell
// too far behind to catch up.
std::int64_t FramesBehind(Clock::time_point deadline, Clock::time_point arrived, double rate)
{
    if (arrived - deadline <= kGiveUpLag)
        return 0;
    const auto lag = std::chrono::duration_cast<std::chrono::nanoseconds>(arrived - deadline).count();
    return static_cast<std::int64_t>(static_cast<double>(lag) * rate / 1e9);
}

bool IsCandidateRate(double rate)
{
    return std::find(std::begin(kRates), std::end(kRates), rate) != std::end(kRates);
}

// About a hundred buffers a second or fewer, whatever the rate.
std::int32_t PreferredBufferSize(double rate)
{
    return rate <= 48000 ? 512 : rate <= 96000 ? 1024 : 2048;
}

} // namespace

SimAsioDriver::SimAsioDriver() = default;

SimAsioDriver::~SimAsioDriver()
{
    stop();
}

ASIOBool SimAsioDriver::init(void*)
{
    if (!SimModule::Instance().IsPresent()) {
        CopyText(ErrorText, "The Talvenor DAQ module is not connected.", sizeof ErrorText);
        Initialised = false;
        return ASIOFalse;
    }
    SampleType = SimModule::Instance().SampleType();
    Initialised = true;
    return ASIOTrue;
}

void SimAsioDriver::getDriverName(char* name)
{
    CopyText(name, kDaqSimDriverName, kAsioDriverNameLength);
}

void SimAsioDriver::getErrorMessage(char* string)
{
    CopyText(string, ErrorText, kAsioErrorMessageLength);
}

ASIOError SimAsioDriver::start()
{
    if (!Initialised || Buffers.empty())
        return kAsioInvalidMode;
    if (Running)
        return kAsioOk;
    UseTimeInfo = HostTakesTimeInfo();
    for (std::vector<float>& played : Played)
        std::fill(played.begin(), played.end(), 0.0f);
    for (SimFrontEnd& frontEnd : FrontEnds)
        frontEnd.Reset(Rate);
    Position = 0;
    ClearLostFrames();
    {
        std::lock_guard lock(WakeMutex);
        StopRequested = false;
    }
    Running = true;
    Stream = std::thread(&SimAsioDriver::Run, this);
    return kAsioOk;
}

ASIOError SimAsioDriver::stop()
{
    {
        std::lock_guard lock(WakeMutex);
        StopRequested = true;
    }
    Wake.notify_all();
    if (Stream.joinable())
        Stream.join();
    Running = false;
    return kAsioOk;
}

void SimAsioDriver::Run()
{
    const SimModule& module = SimModule::Instance();
    // The module's own clock: the steady clock, unless a test made it jump.
    const auto now = [&module] { return Clock::now() + std::chrono::nanoseconds(module.ClockAheadNanoseconds()); };
    double rate = Rate;
    Clock::time_point anchor = now();
    std::int64_t anchorFrames = 0;
    // The stream's position: frames delivered and frames lost.
    std::int64_t frames = 0;
    int half = 0;
    for (;;) {
        if (Rate != rate) {
            rate = Rate;
            anchor = now();
            anchorFrames = frames;
        }
        // Deadlines come from whole frames since the anchor, so rounding never accumulates.
        const std::int64_t due = (frames + BufferSize - anchorFrames) * 1'000'000'000LL / std::llround(rate);
        const Clock::time_point deadline = anchor + std::chrono::nanoseconds(due);
        {
            std::unique_lock lock(WakeMutex);
            const auto steadyDeadline = deadline - std::chrono::nanoseconds(module.ClockAheadNanoseconds());
            if (Wake.wait_until(lock, steadyDeadline, [this] { return StopRequested; })) {
                // A stream held up until the stop (the whole program was)
                // counts that time too, before the host reads the count.
                CountLostFrames(FramesBehind(deadline, now(), rate));
                return;
            }
        }
        const Clock::time_point arrived = now();
        FillInputs(half);
        const auto time = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch());
        DeliverBuffer(half, frames, time.count());
        CaptureOutputs(half);
        frames += BufferSize;
        half ^= 1;
        if (const std::int64_t lost = FramesBehind(deadline, arrived, rate); lost > 0) {
            // The sound of the time it fell behind never reaches the host: it
            // is counted as lost and the position skips it, so that position
            // and loss together keep to the time that passed.
            CountLostFrames(lost);
            frames += lost;
            anchor = arrived;
            anchorFrames = frames;
        }
    }
}

void SimAsioDriver::DeliverBuffer(int half, ASIOSamples position, ASIOTimeStamp time)
{
    Position = position;
    Time = time;
    SwitchBuffers(half, Rate);
}

std::uint8_t* SimAsioDriver::Half(Buffer& buffer, int half)
{
    return HalfOf(buffer, half, SampleCodec::BytesPerSample(SampleType));
}

void SimAsioDriver::FillInputs(int half)
{
    const SimModule& module = SimModule::Instance();
    const double range = module.InputRangeVolts();
    for (Buffer& buffer : Buffers) {
        if (!buffer.IsInput)
            continue;
        const bool sensorOn = module.SensorCurrentOn(buffer.Channel);
        const std::vector<float>& played = Played[static_cast<std::size_t>(buffer.Channel)];
        SimFrontEnd& frontEnd = FrontEnds[static_cast<std::size_t>(buffer.Channel)];
        Heard.resize(static_cast<std::size_t>(std::max(BufferSize, 0)));
        for (std::size_t i = 0; i < Heard.size(); ++i)
            Heard[i] = frontEnd.Next(played[i], range, sensorOn);
        SampleCodec::EncodeBlock(SampleType, Heard.data(), Heard.size(), Half(buffer, half));
    }
}

void SimAsioDriver::CaptureOutputs(int half)
{
    const int bytes = SampleCodec::BytesPerSample(SampleType);
    for (Buffer& buffer : Buffers) {
        if (buffer.IsInput)
            continue;
        std::vector<float>& played = Played[static_cast<std::size_t>(buffer.Channel)];
        const std::uint8_t* slot = Half(buffer, half);
        for (std::int32_t i = 0; i < BufferSize; ++i, slot += bytes)
            played[static_cast<std::size_t>(i)] = SampleCodec::Decode(SampleType, slot);
    }
}

ASIOError SimAsioDriver::getLatencies(std::int32_t* inputLatency, std::int32_t* outputLatency)
{
    const std::int32_t size = BufferSize > 0 ? BufferSize : PreferredBufferSize(Rate);
    if (inputLatency != nullptr)
        *inputLatency = size;
    if (outputLatency != nullptr)
        *outputLatency = size;
    return kAsioOk;
}

ASIOError SimAsioDriver::getBufferSize(std::int32_t* minSize, std::int32_t* maxSize, std::int32_t* preferredSize,
                                       std::int32_t* granularity)
{
    if (!Initialised)
        return kAsioNotPresent;
    if (minSize != nullptr)
        *minSize = kMinBufferSize;
    if (maxSize != nullptr)
        *maxSize = kMaxBufferSize;
    if (preferredSize != nullptr)
        *preferredSize = PreferredBufferSize(Rate);
    if (granularity != nullptr)
        *granularity = -1;  // powers of two
    return kAsioOk;
}

ASIOError SimAsioDriver::canSampleRate(ASIOSampleRate sampleRate)
{
    return IsCandidateRate(sampleRate) ? kAsioOk : kAsioNoClock;
}

ASIOError SimAsioDriver::getSampleRate(ASIOSampleRate* sampleRate)
{
    if (sampleRate == nullptr)
        return kAsioInvalidParameter;
    *sampleRate = Rate;
    return kAsioOk;
}

ASIOError SimAsioDriver::setSampleRate(ASIOSampleRate sampleRate)
{
    if (!IsCandidateRate(sampleRate))
        return kAsioNoClock;
    Rate = sampleRate;
    return kAsioOk;
}

ASIOError SimAsioDriver::getChannelInfo(ASIOChannelInfo* info)
{
    static const char* const kInputNames[kChannels] = {"Left In", "Right In"};
    static const char* const kOutputNames[kChannels] = {"Left Out", "Right Out"};
    return DescribeChannel(info, SampleType, kInputNames, kOutputNames);
}

ASIOError SimAsioDriver::createBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels,
                                       std::int32_t bufferSize, const ASIOCallbacks* callbacks)
{
    if (!Initialised)
        return kAsioNotPresent;
    if (Running)
        return kAsioInvalidMode;
    if (bufferInfos == nullptr || callbacks == nullptr || numChannels < 1 || numChannels > 2 * kChannels
        || bufferSize < kMinBufferSize || bufferSize > kMaxBufferSize
        || SampleCodec::BytesPerSample(SampleType) == 0)
        return kAsioInvalidParameter;
    if (!ChannelsExist(bufferInfos, numChannels))
        return kAsioInvalidParameter;
    disposeBuffers();
    MakeBuffers(bufferInfos, numChannels, bufferSize, SampleCodec::BytesPerSample(SampleType));
    for (std::vector<float>& played : Played)
        played.assign(static_cast<std::size_t>(bufferSize), 0.0f);
    Callbacks = *callbacks;
    return kAsioOk;
}

ASIOError SimAsioDriver::disposeBuffers()
{
    stop();
    Buffers.clear();
    BufferSize = 0;
    Callbacks = ASIOCallbacks{};
    return kAsioOk;
}

ASIOError SimAsioDriver::outputReady()
{
    return kAsioOk;
}
