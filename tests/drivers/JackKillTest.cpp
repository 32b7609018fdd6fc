// A JACK server killed outright (no shutdown of its own, its socket simply
// gone) while the driver streams: the host hears one reset request, the
// driver stops delivering, refuses to start again and lets go cleanly.

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
#include <thread>

namespace {

float Square(int channel, std::int64_t frame)
{
    return (frame % 96 < 48 ? 0.25f : -0.25f) * static_cast<float>(channel + 1);
}

} // namespace

TEST(JackDriverKilledServer, IsReportedOnceAndTheDriverStopsAndRefusesToStart)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
    platform::SetRegistry(nullptr);  // the shipped drivers, found in the build tree
    JackServer server;
    ASSERT_TRUE(server.Start(48000, 256));
    ASSERT_TRUE(JackServer::WaitUntilDriverServes(20.0)) << "jackd did not come up; " << server.Log();

    ASIODriverInfo info{};
    info.asioVersion = 2;
    ASSERT_TRUE(loadAsioDriver(kJackDriverName));
    ASSERT_EQ(ASIOInit(&info), kAsioOk);
    StreamRecorder recorder(256, ASIOSTInt32LSB, Square);
    ASSERT_EQ(recorder.CreateBuffers(), kAsioOk);
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(recorder.WaitForSwitches(10, 10.0));

    server.Stop(SIGKILL);
    ExpectTheStreamEndsOnceItsServerIsGone(recorder);
    DeleteAsioDrivers();

    server.CleanUpAfterKill();
    platform::SetMessageBoxHook({});
}
