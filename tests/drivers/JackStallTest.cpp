// A JACK server that stops answering under a running stream (held up with
// SIGSTOP: its sockets stay open, nothing comes back): the driver's stop
// gives up on it within seconds instead of waiting for an answer for good,
// refuses to start again, and once the server goes on, the client it gave
// up is closed and nothing reaches the driver or the host any more.

#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "audio/ShippedDriverIds.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/drivers/JackServer.h"
#include "tests/drivers/StreamRecorder.h"

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

float Square(int channel, std::int64_t frame)
{
    return (frame % 96 < 48 ? 0.25f : -0.25f) * static_cast<float>(channel + 1);
}

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
