// The test driver plugin (see PumpedAsioDriver.h).

#include "tests/audio/PumpedAsioDriver.h"

#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
PumpedDriverWorld world;
}

TEST_PLUGIN_EXPORT AsioDriver* TalvenorCreateAsioDriver(const AsioClassId* classId, std::int32_t version)
{
    if (classId == nullptr || version != kAsioDriverInterfaceVersion)
        return nullptr;
    std::lock_guard lock(world.Mutex);
    const auto it = world.Configs.find(classId->Bytes);
    return it != world.Configs.end() ? new PumpedDriver(it->second, world) : nullptr;
}

TEST_PLUGIN_EXPORT PumpedDriverWorld* TalvenorPumpedDriverWorld()
{
    return &world;
}
