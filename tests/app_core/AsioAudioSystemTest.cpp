// The program's audio system over the shipped drivers: the simulated DAQ
// module is found among the devices and streams through the port adapters.

#include "app/core/AsioAudioSystem.h"
#include "audio/TASIOSoundPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

TEST(AsioAudioSystem, FindsTheSimulatedModuleAndStreamsFromIt)
{
    AsioAudioSystem audio;
    const DaqSearchResult daq = AsioAudioSystem::FindDaq();
    ASSERT_TRUE(daq.found);
    EXPECT_EQ(audio.FindDaqInputDevice(), daq.device);
    EXPECT_GE(audio.GetInputDeviceCount(), 1);

    std::unique_ptr<SoundOutputPort> output = audio.CreateOutput(daq.device, AudioSystem::kAsioDriverMode);
    std::unique_ptr<SoundInputPort> input = audio.CreateInput(daq.device, AudioSystem::kAsioDriverMode);
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(input->IsQuarnDAQ());
    EXPECT_TRUE(output->IsQuarnDAQ());

    const TWaveFormat format(48000, 2, 3);
    ASSERT_TRUE(input->Open(format));
    ASSERT_TRUE(input->IsSampleRateSupported(format));
    ASSERT_TRUE(input->PrepareInput(nullptr, 4096, nullptr));
    ASSERT_TRUE(input->Start());

    std::vector<std::int32_t> left(4096), right(4096);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool read = false;
    while (!read && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        read = input->ReadLatest(4096, left.data(), right.data());
    }
    EXPECT_TRUE(read) << "the module's blocks reach the ring";
    EXPECT_GE(input->GetSamplesAvailable(), 4096);
    // What the run watches: buffers counted, no reset asked for, a name to report.
    const std::optional<SoundInputPort::DeliveryState> delivery = input->GetDeliveryState();
    ASSERT_TRUE(delivery.has_value());
    EXPECT_GT(delivery->Buffers, 0u);
    EXPECT_FALSE(delivery->ResetRequested);
    EXPECT_FALSE(input->GetDeviceName().empty());

    // Stopping the input stops the one stream of both directions.
    input->Stop();
    input->Close();
    input.reset();
    output.reset();
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0) << "the ports give their references back";
}
