#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "audio/ShippedDriverIds.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/drivers/JackServer.h"
#include "tests/drivers/StreamRecorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kRate = 48000;
constexpr int kPeriod = 256;

float Tone(int channel, std::int64_t frame)
{
    return (frame % 96 < 48 ? 0.25f : -0.25f) * static_cast<float>(channel + 1);
}

} // namespace

class JackDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!JackServer::Available())
            GTEST_SKIP() << "jackd is not installed";
        // Drivers that cannot be loaded while the server starts say so; not this test's concern.
        platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
        platform::SetRegistry(nullptr);  // the shipped drivers, found in the build tree
        ASSERT_TRUE(Server.Start(kRate, kPeriod));
        ASSERT_TRUE(JackServer::WaitUntilDriverServes(20.0)) << "jackd did not come up; " << Server.Log();
    }

    void TearDown() override
    {
        ASIOStop();
        ASIODisposeBuffers();
        ASIOExit();
        DeleteAsioDrivers();
        Recorder.reset();
        platform::SetMessageBoxHook({});
    }

    bool Load()
    {
        ASIODriverInfo info{};
        info.asioVersion = 2;
        if (loadAsioDriver(kJackDriverName) && ASIOInit(&info) == kAsioOk)
            return true;
        LastError = info.errorMessage;
        ASIOExit();
        return false;
    }

    void OpenStream()
    {
        ASSERT_TRUE(Load()) << LastError;
        for (int i = 0; i < 4; ++i)
            Infos[i] = ASIOBufferInfo{i < 2 ? ASIOTrue : ASIOFalse, i % 2, {nullptr, nullptr}};
        Recorder = std::make_unique<StreamRecorder>(Infos, 4, kPeriod, ASIOSTInt32LSB, Tone);
        ASSERT_EQ(ASIOCreateBuffers(Infos, 4, kPeriod, Recorder->Callbacks()), kAsioOk);
    }

    JackServer Server;
    std::string LastError;
    ASIOBufferInfo Infos[4] = {};
    std::unique_ptr<StreamRecorder> Recorder;
};

TEST_F(JackDriver, StreamsAtTheServersRateStopsCleanlyAndReportsAServerThatGoesAway)
{
    OpenStream();
    ASIOSampleRate rate = 0;
    ASSERT_EQ(ASIOGetSampleRate(&rate), kAsioOk);
    EXPECT_EQ(rate, kRate);
    EXPECT_NE(ASIOSetSampleRate(44100), kAsioOk);
    std::int32_t inputs = 0, outputs = 0, minimum = 0, maximum = 0, preferred = 0, granularity = 0;
    ASSERT_EQ(ASIOGetChannels(&inputs, &outputs), kAsioOk);
    EXPECT_EQ(inputs, 2);
    EXPECT_EQ(outputs, 2);
    ASSERT_EQ(ASIOGetBufferSize(&minimum, &maximum, &preferred, &granularity), kAsioOk);
    EXPECT_EQ(preferred, kPeriod);

    // Frames delivered against the wall clock over three seconds: a loaded
    // machine delays switches (the server catches up), a wrong period or
    // rate would be off by far more than the margin.
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(Recorder->WaitForSwitches(5, 10.0));
    const int firstCount = Recorder->Switches();
    const double firstTime = Recorder->LastSwitchSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    ASSERT_EQ(ASIOStop(), kAsioOk);

    const double seconds = Recorder->LastSwitchSeconds() - firstTime;
    const double frames = static_cast<double>(Recorder->Switches() - firstCount) * kPeriod;
    ASSERT_GT(seconds, 2.5);
    EXPECT_NEAR(frames / seconds, kRate, kRate * 0.2);

    const int switches = Recorder->Switches();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Recorder->Switches(), switches) << "no buffer after stop";
    EXPECT_EQ(Recorder->ResetRequests(), 0);

    // A server that goes away is reported, not a crash.
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(Recorder->WaitForSwitches(switches + 10, 10.0));
    Server.Stop(SIGKILL);
    const double end = platform::SteadySeconds() + 10.0;
    while (Recorder->ResetRequests() == 0 && platform::SteadySeconds() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Recorder->ResetRequests(), 1);

    ASIOSamples position = 0;
    ASIOTimeStamp time = 0;
    EXPECT_NE(ASIOGetSamplePosition(&position, &time), kAsioOk);
    EXPECT_EQ(ASIOStop(), kAsioOk);
    const int stopped = Recorder->Switches();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(Recorder->Switches(), stopped);
    EXPECT_NE(ASIOStart(), kAsioOk);
    EXPECT_EQ(ASIODisposeBuffers(), kAsioOk);
    EXPECT_EQ(ASIOExit(), kAsioOk);

    // Without a server the driver loads but does not initialise.
    EXPECT_FALSE(Load());

    Server.CleanUpAfterKill();
}
