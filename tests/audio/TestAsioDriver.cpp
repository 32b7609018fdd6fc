// The test driver plugin (see TestAsioDriverConfig.h).

#include "audio/AsioDriver.h"
#include "tests/audio/TestAsioDriverConfig.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::mutex configMutex;
std::map<std::array<std::uint8_t, 16>, TestAsioDriverConfig> configs;
std::atomic<std::int32_t> liveDrivers{0};

class TestAsioDriver final : public AsioDriver {
public:
    explicit TestAsioDriver(const TestAsioDriverConfig& config) : Config(config) { ++liveDrivers; }
    ~TestAsioDriver() override { --liveDrivers; }

    ASIOBool init(void*) override { return Config.InitSucceeds ? ASIOTrue : ASIOFalse; }
    void getDriverName(char* name) override { std::memcpy(name, Config.Name, sizeof Config.Name); }
    std::int32_t getDriverVersion() override { return 7; }
    void getErrorMessage(char* text) override { std::memcpy(text, Config.ErrorMessage, sizeof Config.ErrorMessage); }
    ASIOError start() override { return kAsioOk; }
    ASIOError stop() override { return kAsioOk; }
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
        *rate = Config.CurrentRate;
        return kAsioOk;
    }
    ASIOError setSampleRate(ASIOSampleRate rate) override { return canSampleRate(rate); }
    ASIOError getClockSources(ASIOClockSource*, std::int32_t* count) override
    {
        *count = 0;
        return kAsioOk;
    }
    ASIOError setClockSource(std::int32_t) override { return kAsioOk; }
    ASIOError getSamplePosition(ASIOSamples* position, ASIOTimeStamp* time) override
    {
        *position = 4242;
        *time = 99;
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
    ASIOError createBuffers(ASIOBufferInfo*, std::int32_t, std::int32_t, const ASIOCallbacks*) override
    {
        return kAsioOk;
    }
    ASIOError disposeBuffers() override { return kAsioOk; }
    ASIOError controlPanel() override { return kAsioOk; }
    ASIOError future(std::int32_t, void*) override { return kAsioInvalidParameter; }
    ASIOError outputReady() override { return Config.OutputReadySupported ? kAsioOk : kAsioNotPresent; }

private:
    TestAsioDriverConfig Config;
};

} // namespace

TEST_PLUGIN_EXPORT AsioDriver* TalvenorCreateAsioDriver(const AsioClassId* classId, std::int32_t version)
{
    if (classId == nullptr || version != kAsioDriverInterfaceVersion)
        return nullptr;
    std::lock_guard lock(configMutex);
    const auto it = configs.find(classId->Bytes);
    return it != configs.end() ? new TestAsioDriver(it->second) : nullptr;
}

TEST_PLUGIN_EXPORT void TalvenorTestDriverConfigure(const char* classId, const TestAsioDriverConfig* config)
{
    AsioClassId id;
    if (classId == nullptr || config == nullptr || !AsioClassId::Parse(classId, id))
        return;
    std::lock_guard lock(configMutex);
    configs[id.Bytes] = *config;
}

TEST_PLUGIN_EXPORT std::int32_t TalvenorTestDriverLiveCount()
{
    return liveDrivers;
}

TEST_PLUGIN_EXPORT void TalvenorTestDriverReset()
{
    std::lock_guard lock(configMutex);
    configs.clear();
}
