#include "tests/audio/AsioTestSupport.h"

#include "audio/AsioDrivers.h"

#include <cstdio>
#include <dlfcn.h>

void AsioTest::SetUp()
{
    platform::SetRegistry(&Registry);
    platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
        Messages.push_back(request);
        return platform::MessageResult::Ok;
    });
    void* plugin = dlopen(PUMPED_ASIO_DRIVER_PLUGIN, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(plugin, nullptr) << dlerror();
    const auto world = reinterpret_cast<PumpedDriverWorldFunction>(dlsym(plugin, kPumpedDriverWorldName));
    ASSERT_NE(world, nullptr);
    Driver = world();
    dlclose(plugin);
    std::lock_guard lock(Driver->Mutex);
    Driver->Configs.clear();
    Driver->Creations = Driver->Switches = Driver->OutputReadyCalls = 0;
}

void AsioTest::TearDown()
{
    DeleteAsioDrivers();
    EXPECT_EQ(LiveDrivers(), 0) << "a driver outlived its holder";
    platform::SetMessageBoxHook({});
    platform::SetRegistry(nullptr);
}

std::string AsioTest::ClassId(int number)
{
    char text[40];
    std::snprintf(text, sizeof text, "{1e57d41e-0000-4000-8000-%012X}", static_cast<unsigned>(number));
    return text;
}

void AsioTest::AddTestDriver(const std::string& key, int number, const PumpedDriverConfig& config,
                             const std::string& description)
{
    AsioClassId id;
    ASSERT_TRUE(AsioClassId::Parse(ClassId(number), id));
    {
        std::lock_guard lock(Driver->Mutex);
        Driver->Configs[id.Bytes] = config;
    }
    AddEntry(key, ClassId(number), PUMPED_ASIO_DRIVER_PLUGIN, description);
}

void AsioTest::AddEntry(const std::string& key, const std::string& classId, const std::string& serverPath,
                        const std::string& description)
{
    using platform::RegistryHive;
    Registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\" + key, "clsid", classId);
    if (!description.empty())
        Registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\" + key, "description", description);
    Registry.SetValue(RegistryHive::ClassesRoot, "clsid\\" + classId + "\\InprocServer32", "", serverPath);
}
