#pragma once
// A fixture for the shared audio port: the driver host fixture plus the
// port it holds and an optional test clock.

#include "audio/ShippedDriverIds.h"
#include "audio/TASIOSoundPort.h"
#include "platform/Clock.h"
#include "tests/audio/AsioTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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
    // Lists the simulated DAQ module's driver.
    void AddDaqSim()
    {
        AddEntry(std::to_string(100 + NextClass++) + " daqsim", kDaqSimDriverClassId, DAQSIM_PLUGIN, kDaqSimDriverName);
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
