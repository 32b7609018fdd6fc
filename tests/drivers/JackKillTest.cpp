// A JACK server killed outright (no shutdown of its own, its socket simply
// gone) while the driver streams: the host hears one reset request, the
// driver stops delivering, refuses to start again and lets go cleanly.

#include "audio/AsioDrivers.h"
#include "platform/Clock.h"
#include "tests/drivers/JackSquareStream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

TEST(JackDriverKilledServer, IsReportedOnceAndTheDriverStopsAndRefusesToStart)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
    JackServer server;
    StreamRecorder recorder(kSquarePeriod, ASIOSTInt32LSB, SquareWave);
    ASSERT_NO_FATAL_FAILURE(StartSquareStream(server, recorder));

    server.Stop(SIGKILL);
    ExpectTheStreamEndsOnceItsServerIsGone(recorder);
    DeleteAsioDrivers();

    server.CleanUpAfterKill();
    platform::SetMessageBoxHook({});
}
