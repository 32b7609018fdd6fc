// The ports over drivers that stream on threads of their own.

#include "audio/TWaveFile.h"
#include "tests/audio/PortTestSupport.h"
#include "tests/drivers/DaqSimModule.h"

#include <chrono>
#include <thread>


TEST_F(PortTest, TheSimulatedModuleHearsTheToneTheOutputPlays)
{
    const DaqSimControl* module = ResetDaqSimModule();
    ASSERT_NE(module, nullptr);
    // The 2.5 V range: the loopback's 0.625 V full-scale output comes back at a quarter.
    module->SetRegister(0x1101);
    AddDaqSim();

    TSoundOutput output(0, TSoundPort::kDriverModeAsio);
    TSoundInput input(0, TSoundPort::kDriverModeAsio);
    ASSERT_TRUE(input.IsQuarnDAQ());
    const auto tone = StartLoopbackTone(input, output);
    ASSERT_NE(tone, nullptr);

    ASSERT_TRUE(WaitFor([&] { return input.GetSamplesAvailable() >= 48000; }));
    std::vector<std::int32_t> left(8192), right(8192);
    // A read is refused while the driver's thread lags a whole block behind.
    ASSERT_TRUE(WaitFor([&] { return input.ReadLatest(8192, left.data(), right.data()); }));
    output.Stop();
    const std::int32_t held = input.GetSamplesAvailable();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(input.GetSamplesAvailable(), held) << "stopping either port stops the one stream";

    ExpectLoopbackTone(left, right, 0.625 / 2.5);
}

TEST_F(PortTest, StopWhileBuffersFlowLeavesNoCallbackBehind)
{
    AddDriver("threaded", {.Name = "Pump Threaded", .Threaded = true});
    TASIOSoundPort& port = Port();
    const TWaveFormat format(48000, 2, 3);
    ASSERT_TRUE(port.Open(0, TASIOSoundPort::kDirectionInput));
    ASSERT_TRUE(port.Open(0, TASIOSoundPort::kDirectionOutput));
    port.SetFormat(48000, 2, 3);
    const auto tone = MakeTone(format, 1000.0, 4800, 0.5 * kFullScale24, 0.5 * kFullScale24);
    std::vector<std::int32_t> left(1024), right(1024);
    int lateBuffers = 0;
    for (int run = 0; run < 100; ++run) {
        TWaveFile recording(4096, format);
        ASSERT_TRUE(port.PrepareInput(&recording, 1024, nullptr));
        ASSERT_TRUE(port.PreparePlayback(tone.get(), true, 0, -1));
        ASSERT_TRUE(port.Start());
        // Reads on this thread while the driver's thread writes.
        int reads = 0;
        ASSERT_TRUE(WaitFor([&] {
            reads += port.ReadLatest(1024, left.data(), right.data());
            return reads >= 3;
        }));
        port.Stop();
        // Everything the driver's thread wrote is the GUI thread's to read and free now.
        const std::int32_t held = port.GetSamplesAvailable();
        const std::int32_t switches = Driver->Switches.load();
        const std::uint64_t recorded = recording.GetDataFrames();
        std::this_thread::yield();
        lateBuffers += port.GetSamplesAvailable() != held || Driver->Switches.load() != switches
            || recording.GetDataFrames() != recorded;
    }
    EXPECT_EQ(lateBuffers, 0);
}
