#include "audio/AsioDrivers.h"

#include "audio/AsioHost.h"

#include <memory>

namespace {
// GUI thread only, like everything that loads or unloads drivers.
std::unique_ptr<AsioDrivers> asioDrivers;
} // namespace

AsioDrivers::~AsioDrivers()
{
    removeCurrentDriver();
}

bool AsioDrivers::loadDriver(const char* name)
{
    if (name == nullptr)
        return false;
    const std::string wanted = name;
    char candidate[kNameCapacity];
    for (int i = 0; i < asioGetNumDev(); ++i) {
        // The whole name is compared: reading it back shorter would cut a long
        // name to "..." and the driver could never be loaded.
        if (asioGetDriverName(i, candidate, kNameCapacity) != kAsioOk || wanted != candidate)
            continue;
        std::string previous;
        getCurrentDriverName(previous);
        removeCurrentDriver();
        AsioDriver* driver = nullptr;
        if (asioOpenDriver(i, &driver) == kAsioOk) {
            CurrentIndex = i;
            SetCurrentAsioDriver(driver);
            return true;
        }
        SetCurrentAsioDriver(nullptr);
        if (!previous.empty() && previous != wanted)
            loadDriver(previous.c_str());
        return false;
    }
    return false;
}

void AsioDrivers::removeCurrentDriver()
{
    // The host's pointer goes first so that nothing reaches the driver while it is deleted.
    SetCurrentAsioDriver(nullptr);
    if (CurrentIndex != -1)
        asioCloseDriver(CurrentIndex);
    CurrentIndex = -1;
}

bool AsioDrivers::getCurrentDriverName(std::string& name) const
{
    char buffer[kNameCapacity];
    if (CurrentIndex == -1 || asioGetDriverName(CurrentIndex, buffer, kNameCapacity) != kAsioOk)
        return false;
    name = buffer;
    return true;
}

bool loadAsioDriver(const char* name)
{
    return MakeAsioDrivers().loadDriver(name);
}

AsioDrivers& MakeAsioDrivers()
{
    if (!asioDrivers)
        asioDrivers = std::make_unique<AsioDrivers>();
    return *asioDrivers;
}

AsioDrivers* GetAsioDrivers()
{
    return asioDrivers.get();
}

void DeleteAsioDrivers()
{
    asioDrivers.reset();
}
