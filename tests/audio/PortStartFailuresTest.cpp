// A start of the shared port that fails at any step says so and leaves the
// stream stopped; and the count of input frames its driver lost.

#include "tests/audio/AsioTestSupport.h"

#include "platform/ZeroFilledArray.h"

#include <functional>

namespace {

// The first driver the fixture lists gets class number 1.
constexpr int kFirstClass = 1;

} // namespace

class PortStart : public PortTest {
protected:
    // The next driver made for the first entry (a start reloads it) has this shape.
    void Reshape(const PumpedDriverConfig& config)
    {
        AsioClassId id;
        ASSERT_TRUE(AsioClassId::Parse(ClassId(kFirstClass), id));
        std::lock_guard lock(Driver->Mutex);
        Driver->Configs[id.Bytes] = config;
    }
};

// Each step of a start can fail: the driver no longer initialises, keeps
// another rate, has no buffer size, refuses its buffers, refuses to start,
// or the stream's memory cannot be had. Each start answers false, nothing
// streams, and the same port starts once the driver is well again.
TEST_F(PortStart, AStartThatFailsAtAnyStepAnswersFalseAndLeavesNothingStreaming)
{
    const PumpedDriverConfig well{.Name = "Pump A"};
    struct Case {
        const char* step;
        std::function<void(PumpedDriverConfig&)> breaks;
        bool memoryFails;
    };
    const Case cases[] = {
        {"init", [](PumpedDriverConfig& c) { c.InitSucceeds = false; }, false},
        {"rate", [](PumpedDriverConfig& c) {
             c.AcceptedRates[0] = 44100;
             c.InitialRate = 44100;
         }, false},
        {"buffer size", [](PumpedDriverConfig& c) { c.BufferSizeFails = true; }, false},
        {"create buffers", [](PumpedDriverConfig& c) { c.CreateBuffersFails = true; }, false},
        {"start", [](PumpedDriverConfig& c) { c.StartFails = true; }, false},
        {"memory", [](PumpedDriverConfig&) {}, true},
    };
    AddDriver("a", well);
    TASIOSoundPort& port = Port();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        ASSERT_TRUE(port.Open(0, TASIOSoundPort::kDirectionInput));
        ASSERT_TRUE(port.SetFormat(48000, 2, 3));
        PumpedDriverConfig broken = well;
        c.breaks(broken);
        Reshape(broken);
        ASSERT_TRUE(port.PrepareInput(nullptr, 1024, nullptr));
        if (c.memoryFails)
            platform::FailNextAllocations(1);
        const std::int32_t switches = Driver->Switches.load();
        EXPECT_FALSE(port.Start());
        platform::FailNextAllocations(0);
        EXPECT_FALSE(port.IsRunning());
        EXPECT_FALSE(Pump({}, {})) << "no driver streams";
        EXPECT_EQ(Driver->Switches.load(), switches);
        EXPECT_EQ(port.GetBufferSwitchCount(), 0u);

        Reshape(well);
        ASSERT_TRUE(port.Open(0, TASIOSoundPort::kDirectionInput));
        ASSERT_TRUE(port.SetFormat(48000, 2, 3));
        ASSERT_TRUE(port.PrepareInput(nullptr, 1024, nullptr));
        EXPECT_TRUE(port.Start()) << "the same port starts once the driver is well";
        EXPECT_TRUE(port.IsRunning());
        port.Close();
    }
}

// The port asks the driver for its count while the stream runs, keeps it
// from the stop on (also once the driver is unloaded), counts in frames of
// the analysis rate, and starts again from 0; a driver that keeps no count
// answers 0.
TEST_F(PortStart, TheDriversCountOfLostFramesIsKeptFromTheStopOnInAnalysisFrames)
{
    AddDriver("a", {.Name = "Pump A", .AcceptedRates = {48000}, .FramesLost = 0});
    TASIOSoundPort& port = Port();
    ASSERT_TRUE(StartInput(0, 48000, 3, 1024));
    EXPECT_EQ(port.GetFramesLost(), 0);
    Driver->Active->SetFramesLost(720000);
    EXPECT_EQ(port.GetFramesLost(), 720000) << "asked while running";
    port.Stop();
    Driver->Active->SetFramesLost(5);
    EXPECT_EQ(port.GetFramesLost(), 720000) << "kept from the stop";
    port.Close();
    EXPECT_EQ(port.GetFramesLost(), 720000) << "and after the driver is gone";

    // 24 kHz analysis runs the device at 48 kHz: two device frames are one.
    ASSERT_TRUE(StartInput(0, 24000, 3, 1024));
    EXPECT_EQ(port.GetFramesLost(), 0) << "a start counts afresh";
    Driver->Active->SetFramesLost(48001);
    port.Stop();
    EXPECT_EQ(port.GetFramesLost(), 24000);
    port.Close();
}

TEST_F(PortStart, ADriverThatKeepsNoCountOfLostFramesLosesNone)
{
    AddDriver("a", {.Name = "Pump A"});
    TASIOSoundPort& port = Port();
    ASSERT_TRUE(StartInput(0, 48000, 3, 1024));
    EXPECT_EQ(port.GetFramesLost(), 0);
    port.Stop();
    EXPECT_EQ(port.GetFramesLost(), 0);
    port.Close();
}
