#pragma once
// Fixtures for the driver host layer (a registry of the test's own, drivers
// made by the test driver plugin, captured message boxes, and nothing left
// loaded afterwards) and for the shared audio port it holds, with a test clock.

#include "audio/AsioDrivers.h"
#include "audio/TASIOSoundPort.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/audio/PumpedAsioDriver.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
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

class TestClock final : public platform::Clock {
public:
    // Half a millisecond past the tick, so that truncating to whole
    // milliseconds never lands on the one before.
    double SteadySeconds() const override { return (Ticks + 0.5) / 1000.0; }
    std::chrono::system_clock::time_point Now() const override { return std::chrono::system_clock::now(); }
    void AdvanceMilliseconds(std::int64_t ms) { Ticks += ms; }

private:
    std::int64_t Ticks = 1000000;
};

class PortTest : public AsioTest {
protected:
    void TearDown() override
    {
        if (Held)
            TASIOSoundPort::ReleaseReference();
        EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
        AsioTest::TearDown();
        platform::SetClock(nullptr);
    }

    // Lists a test driver as the next entry (keys enumerate alphabetically:
    // a running number keeps them in the order added).
    void AddDriver(const std::string& key, const PumpedDriverConfig& config)
    {
        AddTestDriver(std::to_string(100 + NextClass) + " " + key, NextClass, config, config.Name);
        ++NextClass;
    }
    // Drives time by hand from now on (only while no driver thread runs).
    void UseTestClock() { platform::SetClock(&Clock); }

    // The shared port, held by this fixture from the first call.
    TASIOSoundPort& Port()
    {
        if (!Held)
            TASIOSoundPort::AddReference();
        Held = true;
        return *TASIOSoundPort::GetInstance();
    }

    // Open (input), format, prepare the input for reads of n and start.
    bool StartInput(int device, std::uint32_t rate, std::uint16_t bytes, std::int32_t n, TWaveFile* recording = nullptr)
    {
        TASIOSoundPort& port = Port();
        return port.Open(device, TASIOSoundPort::kDirectionInput) && port.SetFormat(rate, 2, bytes)
            && port.PrepareInput(recording, n, nullptr) && port.Start();
    }

    // One buffer switch of the streaming test driver with these slots per
    // input channel (empty: silence), the outputs copied out when asked for.
    bool Pump(const std::vector<std::uint8_t>& left, const std::vector<std::uint8_t>& right,
              std::vector<std::uint8_t>* leftOut = nullptr, std::vector<std::uint8_t>* rightOut = nullptr)
    {
        const void* inputs[2] = {left.empty() ? nullptr : left.data(), right.empty() ? nullptr : right.data()};
        std::lock_guard lock(Driver->Mutex);
        if (Driver->Active == nullptr)
            return false;
        // Room for the widest slot; the driver copies what one buffer half holds.
        for (std::vector<std::uint8_t>* out : {leftOut, rightOut}) {
            if (out != nullptr)
                out->assign(4 * static_cast<std::size_t>(Driver->Active->BufferSize()), 0);
        }
        void* outputs[2] = {leftOut ? leftOut->data() : nullptr, rightOut ? rightOut->data() : nullptr};
        return Driver->Active->Pump(inputs, outputs);
    }

    // Slots of a sample type holding the given full-scale 32-bit words:
    // the upper bytes of each word, as a driver of that type delivers them.
    static std::vector<std::uint8_t> Slots(ASIOSampleType type, const std::vector<std::int32_t>& words)
    {
        const int bytes = type == ASIOSTInt16LSB ? 2 : type == ASIOSTInt24LSB ? 3 : 4;
        std::vector<std::uint8_t> slots;
        for (std::int32_t word : words) {
            for (int i = 4 - bytes; i < 4; ++i)
                slots.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(word) >> (8 * i)));
        }
        return slots;
    }

    TestClock Clock;

private:
    int NextClass = 1;
    bool Held = false;
};
