#include "tests/audio/PortTestSupport.h"

#include "audio/AsioDrivers.h"
#include "audio/ShippedDriverIds.h"


void PortTest::TearDown()
{
    if (Held)
        TASIOSoundPort::ReleaseReference();
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
    AsioTest::TearDown();
    platform::SetClock(nullptr);
}

void PortTest::AddDriver(const std::string& key, const PumpedDriverConfig& config)
{
    // Keys enumerate alphabetically: a running number keeps them in the order added.
    AddTestDriver(std::to_string(100 + NextClass) + " " + key, NextClass, config, config.Name);
    ++NextClass;
}

void PortTest::AddDaqSim()
{
    AddEntry(std::to_string(100 + NextClass++) + " daqsim", kDaqSimDriverClassId, DAQSIM_PLUGIN, kDaqSimDriverName);
}

TASIOSoundPort& PortTest::Port()
{
    if (!Held) {
        TASIOSoundPort::AddReference();
        Held = true;
    }
    return *TASIOSoundPort::GetInstance();
}

bool PortTest::StartInput(int device, std::uint32_t rate, std::uint16_t bytes, std::int32_t n, TWaveFile* recording)
{
    TASIOSoundPort& port = Port();
    return port.Open(device, TASIOSoundPort::kDirectionInput) && port.SetFormat(rate, 2, bytes)
        && port.PrepareInput(recording, n, nullptr) && port.Start();
}

bool PortTest::Pump(const std::vector<std::uint8_t>& left, const std::vector<std::uint8_t>& right,
                    std::vector<std::uint8_t>* leftOut, std::vector<std::uint8_t>* rightOut)
{
    const void* inputs[2] = {left.empty() ? nullptr : left.data(), right.empty() ? nullptr : right.data()};
    // Room for the widest slot; the driver copies what one buffer half holds.
    const std::size_t bytes = 4 * static_cast<std::size_t>(Driver->BufferSize());
    if (leftOut != nullptr)
        leftOut->assign(bytes, 0);
    if (rightOut != nullptr)
        rightOut->assign(bytes, 0);
    void* outputs[2] = {leftOut != nullptr ? leftOut->data() : nullptr, rightOut != nullptr ? rightOut->data() : nullptr};
    return Driver->Pump(inputs, outputs);
}

std::vector<std::uint8_t> PortTest::Slots(ASIOSampleType type, const std::vector<std::int32_t>& words)
{
    const int bytes = type == ASIOSTInt16LSB ? 2 : type == ASIOSTInt24LSB ? 3 : 4;
    std::vector<std::uint8_t> slots;
    for (std::int32_t word : words) {
        for (int i = 4 - bytes; i < 4; ++i)
            slots.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(word) >> (8 * i)));
    }
    return slots;
}
