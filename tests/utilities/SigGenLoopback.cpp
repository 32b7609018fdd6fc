#include "tests/utilities/SigGenLoopback.h"

#include <dlfcn.h>

#include <chrono>

#include "audio/AsioDrivers.h"
#include "audio/ShippedDriverIds.h"
#include "drivers/daqsim/DaqSimControl.h"
#include "tests/utilities/SigGenWindowTestSupport.h"

namespace siggen_loopback {

namespace {

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
