#pragma once
// The test driver plugin: drivers of any shape, one per class id the tests
// configure. The test calls each buffer switch (Pump), or the driver
// switches on a thread of its own (Threaded). The plugin makes the drivers;
// the tests reach them through the plugin's one PumpedDriverWorld.

#include "audio/AsioDriver.h"
#include "audio/AsioTypes.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

struct PumpedDriverConfig {
    char Name[kAsioDriverNameLength] = "Pumped Driver";
    bool InitSucceeds = true;
    char ErrorMessage[kAsioErrorMessageLength] = "";
    bool ChannelsFail = false;
    std::int32_t Inputs = 2;
    std::int32_t Outputs = 2;
    bool BufferSizeFails = false;
    std::int32_t MinBufferSize = 64;
    std::int32_t MaxBufferSize = 4096;
    std::int32_t PreferredBufferSize = 512;
    double AcceptedRates[16] = {48000};
    std::int32_t AcceptedRateCount = 1;
    // The rate of a newly made driver.
    double InitialRate = 48000;
    bool GetSampleRateFails = false;
    // False: setSampleRate answers success but the driver keeps its rate.
    bool RateSticks = true;
    ASIOSampleType SampleType = ASIOSTInt32LSB;
    // getChannelInfo fails from this record on (inputs first); −1 never.
    std::int32_t ChannelInfoFailsAt = -1;
    bool OutputReadySupported = true;
    bool Threaded = false;
    // createBuffers and start answer a hardware failure.
    bool CreateBuffersFails = false;
    bool StartFails = false;
    // What future(kAsioGetFramesLost) answers; −1: the selector is not known.
    std::int64_t FramesLost = -1;
};

class PumpedDriver;

struct PumpedDriverWorld {
    std::mutex Mutex;  // guards Configs and Active
    std::map<std::array<std::uint8_t, 16>, PumpedDriverConfig> Configs;
    // The driver that created buffers last.
    PumpedDriver* Active = nullptr;
    // Drivers alive now; since the tests last zeroed them, drivers made,
    // calls of outputReady (answered or not) and buffer switches.
    std::atomic<std::int32_t> LiveDrivers{0}, Creations{0}, OutputReadyCalls{0}, Switches{0};
};

inline ASIOError Answer(bool fails, ASIOError failure)
{
    return fails ? failure : kAsioOk;
}

class PumpedDriver final : public AsioDriver {
public:
    PumpedDriver(const PumpedDriverConfig& config, PumpedDriverWorld& world)
        : World(world), Config(config), CurrentRate(config.InitialRate)
    {
        ++World.LiveDrivers;
        ++World.Creations;
    }
    ~PumpedDriver() override
    {
        stop();
        std::lock_guard lock(World.Mutex);
        if (World.Active == this)
            World.Active = nullptr;
        --World.LiveDrivers;
    }

    ASIOBool init(void*) override { return Config.InitSucceeds ? ASIOTrue : ASIOFalse; }
    void getDriverName(char* name) override { std::memcpy(name, Config.Name, sizeof Config.Name); }
    std::int32_t getDriverVersion() override { return 7; }
    void getErrorMessage(char* text) override { std::memcpy(text, Config.ErrorMessage, sizeof Config.ErrorMessage); }
    ASIOError start() override
    {
        if (Infos.empty())
            return kAsioInvalidMode;
        if (Config.StartFails)
            return kAsioHardwareMalfunction;
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
    ASIOError getSamplePosition(ASIOSamples*, ASIOTimeStamp*) override { return kAsioOk; }
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
        if (Config.CreateBuffersFails)
            return kAsioHardwareMalfunction;
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
        std::lock_guard lock(World.Mutex);
        World.Active = this;
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
    ASIOError future(std::int32_t selector, void* opt) override
    {
        if (selector != kAsioGetFramesLost || Config.FramesLost < 0 || opt == nullptr)
            return kAsioInvalidParameter;
        *static_cast<ASIOSamples*>(opt) = Config.FramesLost;
        return kAsioOk;
    }
    // The count future(kAsioGetFramesLost) answers from now on.
    void SetFramesLost(std::int64_t frames) { Config.FramesLost = frames; }
    ASIOError outputReady() override
    {
        ++World.OutputReadyCalls;
        return Answer(!Config.OutputReadySupported, kAsioNotPresent);
    }

    // One buffer switch of the streaming driver: inputs[c] (bytes of one
    // buffer half, or null for silence) go into the half about to be handed
    // over, and after the switch that half of output c is copied to
    // outputs[c] when given. False when the driver is not streaming.
    bool Pump(const void* const* inputs, void* const* outputs)
    {
        if (!Streaming || Config.Threaded)
            return false;
        Switch(inputs, outputs);
        return true;
    }
    // A switch with the last buffers' callbacks, whatever the driver's state,
    // as a misbehaving driver would call it after stop.
    void SwitchAnyway(std::int32_t half)
    {
        if (Callbacks.bufferSwitch != nullptr)
            Callbacks.bufferSwitch(half, ASIOTrue);
    }
    // The host's message callback, as the driver would call it (a reset
    // request when its device goes).
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
        ++World.Switches;
        for (std::size_t i = 0; i < Infos.size(); ++i) {
            void* target = !Infos[i].isInput && outputs != nullptr ? outputs[output++] : nullptr;
            if (target != nullptr)
                std::memcpy(target, slot(i), HalfBytes);
        }
        Half ^= 1;
    }

    PumpedDriverWorld& World;
    PumpedDriverConfig Config;
    double CurrentRate;
    std::vector<ASIOBufferInfo> Infos;
    std::vector<std::vector<std::uint8_t>> Memory;
    std::size_t HalfBytes = 0;
    ASIOCallbacks Callbacks{};
    int Half = 0;
    std::atomic<bool> Streaming{false}, Quit{false};
    std::thread Thread;
};

inline constexpr const char* kPumpedDriverWorldName = "TalvenorPumpedDriverWorld";
using PumpedDriverWorldFunction = PumpedDriverWorld* (*)();
