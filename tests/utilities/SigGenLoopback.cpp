#include "tests/utilities/SigGenLoopback.h"

#include <dlfcn.h>

#include <chrono>

#include "audio/AsioDrivers.h"
#include "audio/ShippedDriverIds.h"
#include "audio/TASIOSoundPort.h"
#include "audio/TSoundInput.h"
#include "audio/TSoundOutput.h"
#include "drivers/daqsim/DaqSimControl.h"
#include "tests/utilities/SigGenWindowTestSupport.h"

namespace siggen_loopback {

namespace {

template <typename Port, typename Interface>
class PortAdapter : public Interface {
public:
    PortAdapter(int device, int driverMode)
        : port(static_cast<std::uint32_t>(device), static_cast<std::uint16_t>(driverMode)) {}
    bool Open(const TWaveFormat& format) override { return port.Open(format); }
    void Close() override { port.Close(); }
    bool SetFormat(const TWaveFormat& format) override { return port.SetFormat(format); }
    bool IsSampleRateSupported(const TWaveFormat& format) override { return port.IsSampleRateSupported(format); }
    bool IsQuarnDAQ() const override { return port.IsQuarnDAQ(); }
    void Stop() override { port.Stop(); }

protected:
    Port port;
};

class RealInput final : public PortAdapter<TSoundInput, SoundInputPort> {
public:
    using PortAdapter::PortAdapter;
    bool PrepareInput(TWaveFile* recording, std::uint32_t blockLength, TriggerOpts* trigger) override
    {
        return port.PrepareInput(recording, blockLength, trigger);
    }
    bool Start() override { return port.Start(); }
    std::int32_t GetSamplesAvailable() override { return port.GetSamplesAvailable(); }
    std::uint64_t GetFramesDelivered() override { return port.GetFramesDelivered(); }
    bool ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right) override
    {
        return port.ReadLatest(n, left, right);
    }
};

class RealOutput final : public PortAdapter<TSoundOutput, SoundOutputPort> {
public:
    using PortAdapter::PortAdapter;
    bool PreparePlayback(TWaveData* wave, bool loop, std::int64_t first, std::int64_t end) override
    {
        return port.PreparePlayback(wave, loop, first, end);
    }
    bool Start() override { return port.Start(); }
};

// The module's power-up state: firmware stopped, the 0.625 V input range,
// which matches its 0.625 V full-scale output, so the loop has no gain.
void ResetModule()
{
    void* plugin = dlopen(DAQSIM_PLUGIN, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (plugin == nullptr)
        return;
    const auto control = reinterpret_cast<DaqSimControlFunction>(dlsym(plugin, kDaqSimControlName));
    if (control != nullptr)
        control()->Reset();
    dlclose(plugin);
}

} // namespace

std::unique_ptr<SoundInputPort> RealAudio::CreateInput(int device, int driverMode)
{
    return std::make_unique<RealInput>(device, driverMode);
}

std::unique_ptr<SoundOutputPort> RealAudio::CreateOutput(int device, int driverMode)
{
    return std::make_unique<RealOutput>(device, driverMode);
}

int RealAudio::GetInputDeviceCount()
{
    return TASIOSoundPort::GetDeviceCount();
}

Loopback::Loopback(FrameSettings initial) : settings(initial)
{
    ResetModule();
    platform::SetRegistry(&registry);
    const std::string key = "software\\asio\\100 daqsim";
    registry.SetValue(platform::RegistryHive::LocalMachine, key, "clsid", kDaqSimDriverClassId);
    registry.SetValue(platform::RegistryHive::LocalMachine, key, "description", kDaqSimDriverName);
    registry.SetValue(platform::RegistryHive::ClassesRoot,
                      std::string("clsid\\") + kDaqSimDriverClassId + "\\InprocServer32", "", DAQSIM_PLUGIN);
    platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
        messages.push_back(request);
        return platform::MessageResult::Ok;
    });
    frame.run = &run;
}

Loopback::~Loopback()
{
    run.OnStop();
    frame.window = nullptr;
    window.reset();
    run.ReleaseInputPort();
    DeleteAsioDrivers();
    platform::SetMessageBoxHook({});
    platform::SetRegistry(nullptr);
}

bool Loopback::OpenGenerator()
{
    window = std::make_unique<CSigGen>(&frame, nullptr);
    frame.window = window.get();
    return window->Create(QPoint(0, 0)) && siggen_window_test::WaitForBuildShown(*window);
}

bool Loopback::Acquire(std::uint32_t blocks, int spacingMs)
{
    const auto spacing = std::chrono::milliseconds(spacingMs);
    auto next = std::chrono::steady_clock::now();
    return siggen_window_test::WaitUntil([&] {
        if (std::chrono::steady_clock::now() >= next) {
            next = std::chrono::steady_clock::now() + spacing;
            run.ProcessInputTick();
        }
        return run.GetFrameCounter() >= blocks;
    });
}

} // namespace siggen_loopback
