// A JACK server that stops answering under a running stream (held up with
// SIGSTOP: its sockets stay open, nothing comes back): the driver's stop
// gives up on it within seconds instead of waiting for an answer for good,
// refuses to start again, and once the server goes on, the client it gave
// up is closed and nothing reaches the driver or the host any more.

#include "audio/AsioDrivers.h"
#include "platform/Clock.h"
#include "tests/drivers/JackSquareStream.h"

#include <gtest/gtest.h>
#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace {

// Whether the server still lists the driver's client, asked by a client of
// the test's own; nullopt when the server cannot be asked.
std::optional<bool> DriverClientListed()
{
    const std::string driver = std::getenv("TALVENOR_JACK_CLIENT_NAME");
    jack_status_t status{};
    jack_client_t* checker = jack_client_open(("check-" + driver).c_str(), JackNoStartServer, &status);
    if (checker == nullptr)
        return std::nullopt;
    const bool listed = jack_port_by_name(checker, (driver + ":in_1").c_str()) != nullptr;
    jack_client_close(checker);
    return listed;
}

} // namespace

TEST(JackDriverStalledServer, StopGivesUpWithinSecondsAndTheClientGoesOnceTheServerAnswers)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
    JackServer server;
    StreamRecorder recorder(kSquarePeriod, ASIOSTInt32LSB, SquareWave);
    ASSERT_NO_FATAL_FAILURE(StartSquareStream(server, recorder));

    // The stop runs on a thread of the test's, so that one that waits for
    // good fails the test: the server then goes on, and the stop returns.
    server.Signal(SIGSTOP);
    std::atomic<bool> stopped{false};
    ASIOError result = kAsioOk;
    std::thread stopper([&] {
        result = ASIOStop();
        stopped = true;
    });
    const double end = platform::SteadySeconds() + 20.0;
    while (!stopped && platform::SteadySeconds() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const bool gaveUp = stopped;
    if (!gaveUp)
        server.Signal(SIGCONT);
    stopper.join();
    ASSERT_TRUE(gaveUp) << "the stop waited for a server that does not answer";
    EXPECT_EQ(result, kAsioOk);
    EXPECT_NE(ASIOStart(), kAsioOk) << "a server given up is not streamed from again";
    EXPECT_EQ(ASIODisposeBuffers(), kAsioOk);
    ASIOExit();
    const int switches = recorder.Switches;
    const int resets = recorder.Resets;

    // The server goes on: the client's threads may run once more, and reach
    // neither the driver, which has gone, nor the host.
    server.Signal(SIGCONT);
    std::optional<bool> listed;
    const double closing = platform::SteadySeconds() + 20.0;
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        listed = DriverClientListed();
    } while (listed != std::optional<bool>(false) && platform::SteadySeconds() < closing);
    EXPECT_EQ(listed, std::optional<bool>(false)) << "the client given up is closed once the server answers";
    EXPECT_EQ(recorder.Switches, switches);
    EXPECT_EQ(recorder.Resets, resets);

    DeleteAsioDrivers();
    platform::SetMessageBoxHook({});
}
