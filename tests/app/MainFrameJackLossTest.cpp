// The main frame on the JACK driver when its server goes: a dummy server of
// the test's own is killed under a running analysis, started again, killed
// again, and the frame closed, for several frames in turn; and a frame
// closed while its server is held up and answers nothing. Each close comes
// back within seconds and writes the settings.

#include "tests/app/FrameTestSupport.h"

#include "audio/ShippedDriverIds.h"
#include "platform/Registry.h"
#include "tests/drivers/JackServer.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

namespace {

// Only the JACK driver listed: the frame takes it as its device.
struct JackOnly {
    JackOnly()
    {
        using platform::RegistryHive;
        registry.SetValue(RegistryHive::LocalMachine, std::string("software\\asio\\") + kJackDriverName, "clsid",
                          kJackDriverClassId);
        registry.SetValue(RegistryHive::ClassesRoot, std::string("clsid\\") + kJackDriverClassId + "\\InprocServer32",
                          "", JACK_PLUGIN);
        platform::SetRegistry(&registry);
    }
    ~JackOnly() { platform::SetRegistry(nullptr); }
    platform::Registry registry;
};

// The server's rate and both channels; short blocks, so that one is
// analysed soon after Run.
FrameSettings JackSettings()
{
    FrameSettings s;
    s.Processing.Format.Set(48000, 2, 3);
    s.Processing.FFTsize = 4096;
    return s;
}

bool StartServer(JackServer& server)
{
    return server.Start(48000, 1024) && JackServer::WaitUntilDriverServes(20.0);
}

// Runs until a block has been analysed.
bool RunUntilAnalysed(CMainFrame& frame)
{
    frame.OnStart();
    return frame.IsRunning() && WaitFor([&] { return frame.GetFrameCounter() >= 1; });
}

// Closes the frame with a setting of its own changed; the seconds the close
// took, and whether the settings file holds the change afterwards.
std::pair<double, bool> CloseAndReread(FrameHarness& h, float plotTop)
{
    h.frame->Settings().Spectrum[0].PlotTop = plotTop;
    const auto start = std::chrono::steady_clock::now();
    h.frame->close();
    h.frame.reset();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    FrameSettings reread;
    const bool saved = LoadCfgSettings(h.folder.CfgPath(), reread, [] { return 0; })
        && reread.Spectrum[0].PlotTop == plotTop;
    return {seconds, saved};
}

// Generous for a loaded machine: a close that waited for the server would
// not come back at all.
constexpr double kCloseSeconds = 15.0;

} // namespace

TEST(MainFrameJackLoss, AFrameWhoseServerWasKilledTwiceClosesWithinSecondsAndSavesItsSettings)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
    JackOnly jack;
    JackServer server;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(StartServer(server)) << "jackd did not come up; " << server.Log();
        FrameHarness h(JackSettings());
        for (int loss = 0; loss < 2; ++loss) {
            SCOPED_TRACE(loss);
            if (loss > 0) {
                ASSERT_TRUE(StartServer(server)) << "jackd did not come up again; " << server.Log();
            }
            ASSERT_TRUE(RunUntilAnalysed(*h.frame));
            h.messages.texts.clear();
            server.Stop(SIGKILL);
            ASSERT_TRUE(WaitFor([&] { return !h.frame->IsRunning(); })) << "the run notices its server has gone";
            ASSERT_FALSE(h.messages.texts.empty());
            EXPECT_EQ(h.messages.texts.back().rfind("The analysis has stopped", 0), 0u) << h.messages.texts.back();
            server.CleanUpAfterKill();
        }
        const auto [seconds, saved] = CloseAndReread(h, 70.0f + static_cast<float>(round));
        EXPECT_LT(seconds, kCloseSeconds);
        EXPECT_TRUE(saved);
    }
}

TEST(MainFrameJackLoss, AFrameWhoseServerStoppedAnsweringClosesWithinSecondsAndSavesItsSettings)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
    JackOnly jack;
    JackServer server;
    ASSERT_TRUE(StartServer(server)) << "jackd did not come up; " << server.Log();
    FrameHarness h(JackSettings());
    ASSERT_TRUE(RunUntilAnalysed(*h.frame));
    // Held up, the server keeps its sockets open and answers nothing: the
    // close stops the run, and the stop gives up on it. A close that waits
    // for the server fails the test rather than holding it: the server goes
    // on after a while, and the close returns late.
    server.Signal(SIGSTOP);
    std::atomic<bool> closed{false};
    std::thread rescue([&] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(2 * kCloseSeconds);
        while (!closed && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!closed)
            server.Signal(SIGCONT);
    });
    const auto [seconds, saved] = CloseAndReread(h, 66.0f);
    closed = true;
    rescue.join();
    EXPECT_LT(seconds, kCloseSeconds);
    EXPECT_TRUE(saved);
    server.Stop(SIGKILL);
    server.CleanUpAfterKill();
}
