// The test driver plugin (see PumpedAsioDriverControl.h).

#include "audio/AsioDriver.h"
#include "tests/audio/PumpedAsioDriverControl.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

class PumpedDriver;

std::mutex configMutex;
std::map<std::array<std::uint8_t, 16>, PumpedDriverConfig> configs;
std::atomic<std::int32_t> liveDrivers{0}, creations{0}, outputReadyCalls{0}, switches{0};
// The driver that created buffers last; the test thread pumps it.
std::mutex activeMutex;
PumpedDriver* active = nullptr;

ASIOError Answer(bool fails, ASIOError failure) { return fails ? failure : kAsioOk; }

class PumpedDriver final : public AsioDriver {
public:
    explicit PumpedDriver(const PumpedDriverConfig& config) : Config(config), CurrentRate(config.InitialRate)
    {
        ++liveDrivers;
        ++creations;
    }
    ~PumpedDriver() override
    {
        stop();
        std::lock_guard lock(activeMutex);
        if (active == this)
            active = nullptr;
        --liveDrivers;
    }

    ASIOBool init(void*) override { return Config.InitSucceeds ? ASIOTrue : ASIOFalse; }
    void getDriverName(char* name) override { std::memcpy(name, Config.Name, sizeof Config.Name); }
    std::int32_t getDriverVersion() override { return 7; }
    void getErrorMessage(char* text) override { std::memcpy(text, Config.ErrorMessage, sizeof Config.ErrorMessage); }
    ASIOError start() override
    {
        if (Infos.empty())
            return kAsioInvalidMode;
        Streaming = true;
        Quit = false;
        if (Config.Threaded) {
            // Ten times real time at 48 kHz, slower than the ring is lapped.
            Thread = std::thread([this] {
                for (; !Quit.load(); std::this_thread::sleep_for(std::chrono::microseconds(1000)))
                    Switch(nullptr, nullptr);
            });
        }
        return kAsioOk;
    }
    ASIOError stop() override
    {
        Quit = true;
        if (Thread.joinable())
            Thread.join();
        Streaming = false;
        return kAsioOk;
    }
    ASIOError getChannels(std::int32_t* inputs, std::int32_t* outputs) override
    {
        *inputs = Config.Inputs;
        *outputs = Config.Outputs;
        return Answer(Config.ChannelsFail, kAsioHardwareMalfunction);
    }
    ASIOError getLatencies(std::int32_t*, std::int32_t*) override { return kAsioOk; }
    ASIOError getBufferSize(std::int32_t* minSize, std::int32_t* maxSize, std::int32_t* preferred,
                            std::int32_t* granularity) override
    {
        *minSize = Config.MinBufferSize;
        *maxSize = Config.MaxBufferSize;
        *preferred = Config.PreferredBufferSize;
        *granularity = -1;
        return Answer(Config.BufferSizeFails, kAsioHardwareMalfunction);
    }
    ASIOError canSampleRate(ASIOSampleRate rate) override
    {
        return Answer(std::count(Config.AcceptedRates, Config.AcceptedRates + Config.AcceptedRateCount, rate) == 0,
                      kAsioNoClock);
    }
    ASIOError getSampleRate(ASIOSampleRate* rate) override
    {
        *rate = CurrentRate;
        return Answer(Config.GetSampleRateFails, kAsioNoClock);
    }
    ASIOError setSampleRate(ASIOSampleRate rate) override
    {
        if (Config.RateSticks && canSampleRate(rate) == kAsioOk)
            CurrentRate = rate;
        return canSampleRate(rate);
    }
    ASIOError getClockSources(ASIOClockSource*, std::int32_t* count) override
    {
        *count = 0;
        return kAsioOk;
    }
    ASIOError setClockSource(std::int32_t) override { return kAsioOk; }
    ASIOError getSamplePosition(ASIOSamples* position, ASIOTimeStamp* time) override
    {
        *position = Position;
        *time = 0;
        return kAsioOk;
    }
    ASIOError getChannelInfo(ASIOChannelInfo* info) override
    {
        const std::int32_t record = info->isInput ? info->channel : Config.Inputs + info->channel;
        info->type = Config.SampleType;
        info->channelGroup = 0;
        std::snprintf(info->name, sizeof info->name, "%s %d", info->isInput ? "In" : "Out", info->channel + 1);
        return Answer(Config.ChannelInfoFailsAt >= 0 && record >= Config.ChannelInfoFailsAt, kAsioInvalidParameter);
    }
    ASIOError createBuffers(ASIOBufferInfo* infos, std::int32_t count, std::int32_t size,
                            const ASIOCallbacks* callbacks) override
    {
        if (Streaming || size != Config.PreferredBufferSize || count < 1)
            return kAsioInvalidMode;
        for (std::int32_t i = 0; i < count; ++i) {
            if (infos[i].channelNum < 0 || infos[i].channelNum >= (infos[i].isInput ? Config.Inputs : Config.Outputs))
                return kAsioInvalidParameter;
        }
        const int slot = Config.SampleType == ASIOSTInt16LSB ? 2 : Config.SampleType == ASIOSTInt24LSB ? 3 : 4;
        HalfBytes = static_cast<std::size_t>(size * slot);
        Infos.assign(infos, infos + count);
        Memory.assign(static_cast<std::size_t>(count), std::vector<std::uint8_t>(2 * HalfBytes, 0));
        for (std::size_t i = 0; i < Memory.size(); ++i) {
            infos[i].buffers[0] = Memory[i].data();
            infos[i].buffers[1] = Memory[i].data() + HalfBytes;
        }
        Callbacks = *callbacks;
        Half = 0;
        std::lock_guard lock(activeMutex);
        active = this;
        return kAsioOk;
    }
    ASIOError disposeBuffers() override
    {
        stop();
        Infos.clear();
        Memory.clear();
        return kAsioOk;
    }
    ASIOError controlPanel() override { return kAsioOk; }
    ASIOError future(std::int32_t, void*) override { return kAsioInvalidParameter; }
    ASIOError outputReady() override
    {
        ++outputReadyCalls;
        return Answer(!Config.OutputReadySupported, kAsioNotPresent);
    }

    bool Pump(const void* const* inputs, void* const* outputs)
    {
        if (!Streaming || Config.Threaded)
            return false;
        Switch(inputs, outputs);
        return true;
    }
    void SwitchAnyway(std::int32_t half)
    {
        if (Callbacks.bufferSwitch != nullptr)
            Callbacks.bufferSwitch(half, ASIOTrue);
    }
    std::int32_t SendMessage(std::int32_t selector, std::int32_t value)
    {
        return Callbacks.asioMessage != nullptr ? Callbacks.asioMessage(selector, value, nullptr, nullptr) : 0;
    }
    std::int32_t BufferSize() const { return Config.PreferredBufferSize; }
    double Rate() const { return CurrentRate; }
    std::int32_t Channels(bool input) const
    {
        return static_cast<std::int32_t>(
            std::count_if(Infos.begin(), Infos.end(), [input](const ASIOBufferInfo& i) { return i.isInput == input; }));
    }

private:
    // Inputs go into the half about to be handed over; after the switch that
    // half of each output is copied out.
    void Switch(const void* const* inputs, void* const* outputs)
    {
        std::size_t input = 0, output = 0;
        const auto slot = [this](std::size_t i) { return Memory[i].data() + static_cast<std::size_t>(Half) * HalfBytes; };
        for (std::size_t i = 0; i < Infos.size(); ++i) {
            const void* source = Infos[i].isInput && inputs != nullptr ? inputs[input++] : nullptr;
            if (source != nullptr)
                std::memcpy(slot(i), source, HalfBytes);
        }
        Callbacks.bufferSwitch(Half, ASIOTrue);
        ++switches;
        for (std::size_t i = 0; i < Infos.size(); ++i) {
            void* target = !Infos[i].isInput && outputs != nullptr ? outputs[output++] : nullptr;
            if (target != nullptr)
                std::memcpy(target, slot(i), HalfBytes);
        }
        Position += Config.PreferredBufferSize;
        Half ^= 1;
    }

    PumpedDriverConfig Config;
    double CurrentRate;
    std::vector<ASIOBufferInfo> Infos;
    std::vector<std::vector<std::uint8_t>> Memory;
    std::size_t HalfBytes = 0;
    ASIOCallbacks Callbacks{};
    int Half = 0;
    std::atomic<ASIOSamples> Position{0};
    std::atomic<bool> Streaming{false}, Quit{false};
    std::thread Thread;
};

// What the call gives for the driver that created buffers last, or `none`.
template <typename Result, typename Call>
Result WithActive(Result none, Call call)
{
    std::lock_guard lock(activeMutex);
    return active != nullptr ? call(*active) : none;
}

const PumpedDriverControl control = {
    [](const char* classId, const PumpedDriverConfig* config) {
        AsioClassId id;
        std::lock_guard lock(configMutex);
        if (classId != nullptr && config != nullptr && AsioClassId::Parse(classId, id))
            configs[id.Bytes] = *config;
    },
    [] {
        std::lock_guard lock(configMutex);
        configs.clear();
        creations = switches = outputReadyCalls = 0;
    },
    [](const void* const* inputs, void* const* outputs) {
        return WithActive(false, [&](PumpedDriver& driver) { return driver.Pump(inputs, outputs); });
    },
    [](std::int32_t half) { WithActive(0, [&](PumpedDriver& driver) { return (driver.SwitchAnyway(half), 0); }); },
    [] { return WithActive(0, [](PumpedDriver& driver) { return driver.BufferSize(); }); },
    [] { return WithActive(0.0, [](PumpedDriver& driver) { return driver.Rate(); }); },
    [](bool input) { return WithActive(0, [&](PumpedDriver& driver) { return driver.Channels(input); }); },
    [] { return switches.load(); },
    [] { return outputReadyCalls.load(); },
    [] { return liveDrivers.load(); },
    [] { return creations.load(); },
    [](std::int32_t selector, std::int32_t value) {
        return WithActive(0, [&](PumpedDriver& driver) { return driver.SendMessage(selector, value); });
    },
};

} // namespace

TEST_PLUGIN_EXPORT AsioDriver* TalvenorCreateAsioDriver(const AsioClassId* classId, std::int32_t version)
{
    if (classId == nullptr || version != kAsioDriverInterfaceVersion)
        return nullptr;
    std::lock_guard lock(configMutex);
    const auto it = configs.find(classId->Bytes);
    return it != configs.end() ? new PumpedDriver(it->second) : nullptr;
}

TEST_PLUGIN_EXPORT const PumpedDriverControl* TalvenorPumpedDriverControl()
{
    return &control;
}
