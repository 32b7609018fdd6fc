#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "audio/ShippedDriverIds.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/drivers/JackServer.h"
#include "tests/drivers/JackSquareStream.h"
#include "tests/drivers/StreamRecorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

constexpr int kRate = 48000;
constexpr int kPeriod = 256;

float Tone(int channel, std::int64_t frame)
{
    return (frame % 96 < 48 ? 0.25f : -0.25f) * static_cast<float>(channel + 1);
}

bool Load()
{
    ASIODriverInfo info{};
    info.asioVersion = 2;
    return loadAsioDriver(kJackDriverName) && ASIOInit(&info) == kAsioOk;
}

} // namespace

TEST(JackDriver, StreamsAtTheServersRateStopsCleanlyAndReportsAServerThatGoesAway)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
    // Drivers that cannot be loaded while the server starts say so; not this test's concern.
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
    platform::SetRegistry(nullptr);  // the shipped drivers, found in the build tree
    JackServer server;
    ASSERT_TRUE(server.Start(kRate, kPeriod));
    ASSERT_TRUE(JackServer::WaitUntilDriverServes(20.0)) << "jackd did not come up; " << server.Log();

    ASSERT_TRUE(Load());
    StreamRecorder recorder(kPeriod, ASIOSTInt32LSB, Tone);
    ASSERT_EQ(recorder.CreateBuffers(), kAsioOk);
    ASIOSampleRate rate = 0;
    ASSERT_EQ(ASIOGetSampleRate(&rate), kAsioOk);
    EXPECT_EQ(rate, kRate);
    EXPECT_NE(ASIOSetSampleRate(44100), kAsioOk);
    std::int32_t inputs = 0, outputs = 0, minimum = 0, maximum = 0, preferred = 0, granularity = 0;
    ASSERT_EQ(ASIOGetChannels(&inputs, &outputs), kAsioOk);
    EXPECT_EQ(std::pair(inputs, outputs), std::pair(2, 2));
    ASSERT_EQ(ASIOGetBufferSize(&minimum, &maximum, &preferred, &granularity), kAsioOk);
    EXPECT_EQ(preferred, kPeriod);

    // Frames delivered against the wall clock over three seconds: a loaded
    // machine delays switches (the server catches up), a wrong period or
    // rate would be off by far more than the margin.
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(recorder.WaitForSwitches(5, 10.0));
    const int firstCount = recorder.Switches;
    const double firstTime = recorder.LastSwitch;
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    ASSERT_EQ(ASIOStop(), kAsioOk);
    const double seconds = recorder.LastSwitch - firstTime;
    ASSERT_GT(seconds, 2.5);
    EXPECT_NEAR((recorder.Switches - firstCount) * kPeriod / seconds, kRate, kRate * 0.2);
    const int switches = recorder.Switches;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(recorder.Switches, switches) << "no buffer after stop";
    EXPECT_EQ(recorder.Resets, 0);

    // A server that goes away is reported, not a crash.
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(recorder.WaitForSwitches(switches + 10, 10.0));
    server.Stop(SIGTERM);
    ExpectTheStreamEndsOnceItsServerIsGone(recorder);

    // Without a server the driver loads but does not initialise.
    EXPECT_FALSE(Load());
    ASIOExit();
    DeleteAsioDrivers();
    platform::SetMessageBoxHook({});
}

// A process cycle held up for 300 ms makes the server go on without the
// driver (an xrun): the time it missed is counted as lost (the server
// measures it from its own cycle, so a little less than the hold), and the
// position skips it. A new start counts afresh, from its own first cycle.
TEST(JackDriver, CyclesMissedWhileTheHostWasHeldUpAreCountedAsLost)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
    platform::SetRegistry(nullptr);
    JackServer server;
    ASSERT_TRUE(server.Start(kRate, kPeriod));
    ASSERT_TRUE(JackServer::WaitUntilDriverServes(20.0)) << "jackd did not come up; " << server.Log();

    ASSERT_TRUE(Load());
    StreamRecorder recorder(kPeriod, ASIOSTInt32LSB, Tone);
    ASSERT_EQ(recorder.CreateBuffers(), kAsioOk);
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(recorder.WaitForSwitches(20, 10.0));
    const ASIOSamples before = FramesLostByDriver();
    ASSERT_GE(before, 0);
    const int heldAt = recorder.Switches + 5;
    recorder.HoldMilliseconds = 300;
    recorder.HoldAt = heldAt;
    ASSERT_TRUE(recorder.WaitForSwitches(heldAt + 20, 10.0));
    ASSERT_EQ(ASIOStop(), kAsioOk);

    const ASIOSamples lost = FramesLostByDriver() - before;
    EXPECT_GE(lost, 0.2 * kRate);
    EXPECT_LT(lost, 5.0 * kRate);
    const int switches = recorder.Switches;
    EXPECT_EQ(recorder.PositionOf(switches - 1) + kPeriod, std::int64_t{switches} * kPeriod + before + lost);

    recorder.HoldAt = -1;
    // The server runs on for a second between the two runs: the new run's
    // first cycle lost none of it.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(recorder.WaitForSwitches(switches + 5, 10.0));
    ASSERT_EQ(ASIOStop(), kAsioOk);
    EXPECT_LT(FramesLostByDriver(), 0.3 * kRate) << "a start counts afresh";

    ASIODisposeBuffers();
    ASIOExit();
    DeleteAsioDrivers();
    platform::SetMessageBoxHook({});
}

// The process thread held up while the server goes on, and the stream
// stopped before it gets another cycle (libjack ends the thread as it
// deactivates the client): the stop counts the cycles missed up to it.
TEST(JackDriver, CyclesMissedUntilTheStopAreCountedByTheStop)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "libjack cancels the held thread inside the test's switch: AddressSanitizer takes that unwind "
                    "for a stack overflow";
#endif
    JackServer server;
    StreamRecorder recorder(kSquarePeriod, ASIOSTInt32LSB, SquareWave);
    ASSERT_NO_FATAL_FAILURE(StartSquareStream(server, recorder));
    ExpectAStopWhileHeldCountsTheHoldUp(recorder, kRate);
    ASIODisposeBuffers();
    ASIOExit();
    DeleteAsioDrivers();
    platform::SetMessageBoxHook({});
}
