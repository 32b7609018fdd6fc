#pragma once
// The simulated module's control, reached through the same loaded plugin the
// host layer opens, so that the test shapes the very module it streams from.

#include "drivers/daqsim/DaqSimControl.h"

#include <dlfcn.h>

// The module in its power-on state, or null when the plugin does not load.
inline const DaqSimControl* ResetDaqSimModule()
{
    void* plugin = dlopen(DAQSIM_PLUGIN, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (plugin == nullptr)
        return nullptr;
    const auto control = reinterpret_cast<DaqSimControlFunction>(dlsym(plugin, kDaqSimControlName));
    dlclose(plugin);
    const DaqSimControl* module = control != nullptr ? control() : nullptr;
    if (module != nullptr)
        module->Reset();
    return module;
}
