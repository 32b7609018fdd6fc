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
std::atomic<std::int32_t> liveDrivers{0};
std::atomic<std::int32_t> creations{0};
std::atomic<std::int32_t> outputReadyCalls{0};
std::atomic<std::int32_t> switches{0};
// The driver that created buffers last; the test thread pumps it.
std::mutex activeMutex;
PumpedDriver* active = nullptr;

int SlotBytes(ASIOSampleType type)
{
    return type == ASIOSTInt16LSB ? 2 : type == ASIOSTInt24LSB ? 3 : type == ASIOSTInt32LSB ? 4 : 0;
}

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
        if (Config.Threaded) {
            Quit = false;
            Thread = std::thread([this] {
                // Ten times real time at 48 kHz, slower than the ring is lapped.
                while (!Quit.load()) {
                    Switch(nullptr, nullptr);
                    std::this_thread::sleep_for(std::chrono::microseconds(1000));
                }
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
        if (Config.ChannelsFail)
            return kAsioHardwareMalfunction;
        *inputs = Config.Inputs;
        *outputs = Config.Outputs;
        return kAsioOk;
    }
    ASIOError getLatencies(std::int32_t*, std::int32_t*) override { return kAsioOk; }
    ASIOError getBufferSize(std::int32_t* minSize, std::int32_t* maxSize, std::int32_t* preferred,
                            std::int32_t* granularity) override
    {
        if (Config.BufferSizeFails)
            return kAsioHardwareMalfunction;
        *minSize = Config.MinBufferSize;
        *maxSize = Config.MaxBufferSize;
        *preferred = Config.PreferredBufferSize;
        *granularity = -1;
        return kAsioOk;
    }
    ASIOError canSampleRate(ASIOSampleRate rate) override
    {
        const double* begin = Config.AcceptedRates;
        const double* end = begin + Config.AcceptedRateCount;
        return std::find(begin, end, rate) != end ? kAsioOk : kAsioNoClock;
    }
    ASIOError getSampleRate(ASIOSampleRate* rate) override
    {
        if (Config.GetSampleRateFails)
            return kAsioNoClock;
        *rate = CurrentRate;
        return kAsioOk;
    }
    ASIOError setSampleRate(ASIOSampleRate rate) override
    {
        if (canSampleRate(rate) != kAsioOk)
            return kAsioNoClock;
        if (Config.RateSticks)
            CurrentRate = rate;
        return kAsioOk;
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
        if (Config.ChannelInfoFailsAt >= 0 && record >= Config.ChannelInfoFailsAt)
            return kAsioInvalidParameter;
        info->type = Config.SampleType;
        info->channelGroup = 0;
        std::snprintf(info->name, sizeof info->name, "%s %d", info->isInput ? "In" : "Out", info->channel + 1);
        return kAsioOk;
    }
    ASIOError createBuffers(ASIOBufferInfo* infos, std::int32_t count, std::int32_t size,
                            const ASIOCallbacks* callbacks) override
    {
        if (Streaming || size != Config.PreferredBufferSize || count < 1)
            return kAsioInvalidMode;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int32_t limit = infos[i].isInput ? Config.Inputs : Config.Outputs;
            if (infos[i].channelNum < 0 || infos[i].channelNum >= limit)
                return kAsioInvalidParameter;
        }
        const std::size_t half = static_cast<std::size_t>(size) * static_cast<std::size_t>(SlotBytes(Config.SampleType));
        Infos.assign(infos, infos + count);
        Memory.assign(static_cast<std::size_t>(count), std::vector<std::uint8_t>(2 * half, 0));
        for (std::int32_t i = 0; i < count; ++i) {
            infos[i].buffers[0] = Memory[static_cast<std::size_t>(i)].data();
            infos[i].buffers[1] = Memory[static_cast<std::size_t>(i)].data() + half;
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
        return Config.OutputReadySupported ? kAsioOk : kAsioNotPresent;
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
        return static_cast<std::int32_t>(std::count_if(Infos.begin(), Infos.end(), [input](const ASIOBufferInfo& info) {
            return (info.isInput != ASIOFalse) == input;
        }));
    }

private:
    void Switch(const void* const* inputs, void* const* outputs)
    {
        const std::size_t half = Memory.empty() ? 0 : Memory[0].size() / 2;
        std::int32_t input = 0;
        std::int32_t output = 0;
        for (std::size_t i = 0; i < Infos.size(); ++i) {
            std::uint8_t* slot = Memory[i].data() + static_cast<std::size_t>(Half) * half;
            if (Infos[i].isInput != ASIOFalse) {
                const void* source = inputs != nullptr ? inputs[input++] : nullptr;
                if (source != nullptr)
                    std::memcpy(slot, source, half);
            }
        }
        Callbacks.bufferSwitch(Half, ASIOTrue);
        ++switches;
        for (std::size_t i = 0; i < Infos.size(); ++i) {
            if (Infos[i].isInput == ASIOFalse) {
                void* target = outputs != nullptr ? outputs[output++] : nullptr;
                if (target != nullptr)
                    std::memcpy(target, Memory[i].data() + static_cast<std::size_t>(Half) * half, half);
            }
        }
        Position += Config.PreferredBufferSize;
        Half ^= 1;
    }

    PumpedDriverConfig Config;
    double CurrentRate;
    std::vector<ASIOBufferInfo> Infos;
    std::vector<std::vector<std::uint8_t>> Memory;
    ASIOCallbacks Callbacks{};
    int Half = 0;
    std::atomic<ASIOSamples> Position{0};
    std::atomic<bool> Streaming{false};
    std::atomic<bool> Quit{false};
    std::thread Thread;
};

template <typename Result, typename Call>
Result WithActive(Result none, Call call)
{
    std::lock_guard lock(activeMutex);
    return active != nullptr ? call(*active) : none;
}

void Configure(const char* classId, const PumpedDriverConfig* config)
{
    AsioClassId id;
    if (classId == nullptr || config == nullptr || !AsioClassId::Parse(classId, id))
        return;
    std::lock_guard lock(configMutex);
    configs[id.Bytes] = *config;
}

void Reset()
{
    std::lock_guard lock(configMutex);
    configs.clear();
    creations = 0;
    switches = 0;
    outputReadyCalls = 0;
}

const PumpedDriverControl control = {
    Configure,
    Reset,
    [](const void* const* inputs, void* const* outputs) {
        return WithActive(false, [&](PumpedDriver& driver) { return driver.Pump(inputs, outputs); });
    },
    [](std::int32_t half) {
        WithActive(0, [&](PumpedDriver& driver) {
            driver.SwitchAnyway(half);
            return 0;
        });
    },
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
