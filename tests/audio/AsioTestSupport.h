#pragma once
// A fixture for the driver host layer: a registry of the test's own, drivers
// made by the test driver plugin, captured message boxes, and nothing left
// loaded afterwards.

#include "audio/AsioDrivers.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/audio/PumpedAsioDriver.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <vector>

class AsioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetRegistry(&Registry);
        platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
            Messages.push_back(request);
            return platform::MessageResult::Ok;
        });
        // The same loaded file the host layer opens, so configuring it here
        // shapes the very drivers the host makes.
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

    void TearDown() override
    {
        DeleteAsioDrivers();
        EXPECT_EQ(LiveDrivers(), 0) << "a driver outlived its holder";
        platform::SetMessageBoxHook({});
        platform::SetRegistry(nullptr);
    }

    // A class id text made from a number.
    static std::string ClassId(int number)
    {
        char text[40];
        std::snprintf(text, sizeof text, "{1e57d41e-0000-4000-8000-%012X}", static_cast<unsigned>(number));
        return text;
    }

    // Lists a driver of the test plugin under software\asio\<key> with class
    // ClassId(number); an empty description leaves the value out.
    void AddTestDriver(const std::string& key, int number, const PumpedDriverConfig& config,
                       const std::string& description = "")
    {
        AsioClassId id;
        ASSERT_TRUE(AsioClassId::Parse(ClassId(number), id));
        {
            std::lock_guard lock(Driver->Mutex);
            Driver->Configs[id.Bytes] = config;
        }
        AddEntry(key, ClassId(number), PUMPED_ASIO_DRIVER_PLUGIN, description);
    }

    // Writes the registry entries of any driver.
    void AddEntry(const std::string& key, const std::string& classId, const std::string& serverPath,
                  const std::string& description = "")
    {
        using platform::RegistryHive;
        Registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\" + key, "clsid", classId);
        if (!description.empty())
            Registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\" + key, "description", description);
        Registry.SetValue(RegistryHive::ClassesRoot, "clsid\\" + classId + "\\InprocServer32", "", serverPath);
    }

    int LiveDrivers() const { return Driver != nullptr ? Driver->LiveDrivers.load() : 0; }

    PumpedDriverWorld* Driver = nullptr;
    platform::Registry Registry;
    std::vector<platform::MessageBoxRequest> Messages;
};
