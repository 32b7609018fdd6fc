// Which file-system entries stand for sound devices and servers; device
// notices: a burst leads to one refresh 1.5 s after its last notice; a running
// analyzer keeps its port; Run drops a pending refresh.

#include "app/core/DeviceChangeDebounce.h"
#include "app/core/DevicePresence.h"
#include "platform/Trace.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace device_presence;

TEST(DevicePresence, OnlySoundServerEntriesOfBusyFoldersCount)
{
    const WatchedFolder shm{"/dev/shm", {"jack"}};
    EXPECT_EQ(Relevant(shm, {"jack_default_1000_0", "sem.browser-123", "jack-1000", "pulse-shm-1"}),
              (std::set<std::string>{"/dev/shm/jack_default_1000_0", "/dev/shm/jack-1000"}));
    const WatchedFolder snd{"/dev/snd", {}};
    EXPECT_EQ(Relevant(snd, {"pcmC0D0c", "controlC0"}).size(), 2u);

    const auto folders = SoundFolders("/run/user/1000");
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(Relevant(folders[2], {"pipewire-0", "pipewire-0.lock", "bus", "dconf"}),
              (std::set<std::string>{"/run/user/1000/pipewire-0", "/run/user/1000/pipewire-0.lock"}));
    EXPECT_EQ(SoundFolders("").size(), 2u);

    // In shared memory only the socket of the server our driver joins: not
    // another server's (a test's private one), nor any client's semaphore,
    // nor the segments and metadata every server shares.
    const std::vector<std::string> shmEntries = {
        "jack_default_0_0", "jack_sem.0_default_Ardour", "jack-0-0", "jack-shm-registry", "jack_db-0",
        "jack_talvenor-test-31726-0_0_0", "jack_sem.0_talvenor-test-31726-0_system", "jack_Talvenor Mobile_0_0"};
    EXPECT_EQ(Relevant(folders[1], shmEntries), (std::set<std::string>{"/dev/shm/jack_default_0_0"}));
    EXPECT_EQ(Relevant(SoundFolders("", "studio")[1], shmEntries), (std::set<std::string>{}));
    EXPECT_EQ(Relevant(SoundFolders("", "talvenor-test-31726-0")[1], shmEntries),
              (std::set<std::string>{"/dev/shm/jack_talvenor-test-31726-0_0_0"}));
}

namespace {

// A host on a virtual clock: the timer fires when the test moves time past
// its deadline. What it is asked and the trace lines go into one list.
class FakeHost final : public DeviceChangeDebounce::Host {
public:
    void ArmTimer(std::uint32_t ms) override { deadline = now + ms; }
    void KillTimer() override { deadline.reset(); }
    bool IsRunning() const override { return running; }
    void ReleaseInputPort() override { events.push_back("input released at " + std::to_string(now)); }
    bool HasOutputPort() const override { return outputPort; }
    void ReleaseOutputPort() override
    {
        events.push_back("output released");
        outputPort = false;
    }
    void Pause(std::uint32_t ms) override
    {
        events.push_back("pause " + std::to_string(ms));
        now += ms;
    }
    void ReopenDaq() override { events.push_back("daq reopened"); }
    void ResetDaqCachedConfig() override { events.push_back("daq cache reset"); }

    // Moves the clock on, firing the timer when its time comes.
    void Advance(DeviceChangeDebounce& debounce, std::uint32_t ms)
    {
        const std::uint32_t end = now + ms;
        while (deadline && *deadline <= end) {
            now = *deadline;
            debounce.OnTimer();
        }
        now = end;
    }

    std::uint32_t now = 0;
    std::optional<std::uint32_t> deadline;
    bool running = false;
    bool outputPort = true;
    std::vector<std::string> events;
};

class DeviceChange : public ::testing::Test {
protected:
    DeviceChange() { platform::SetTraceHook([this](const std::string& line) { host.events.push_back(line); }); }
    ~DeviceChange() override { platform::SetTraceHook({}); }

    FakeHost host;
    DeviceChangeDebounce debounce{host};
};

} // namespace

TEST_F(DeviceChange, ABurstOfNoticesLeadsToOneRefreshAfterTheLastThatReleasesThePortsButNeverThoseOfARun)
{
    for (std::uint32_t wait : {1000u, 1499u, 1499u}) {
        EXPECT_TRUE(debounce.OnDeviceChange());
        host.Advance(debounce, wait);
    }
    EXPECT_EQ(debounce.RefreshCount(), 0) << "each notice re-arms the wait";
    host.Advance(debounce, 10000);
    EXPECT_EQ(debounce.RefreshCount(), 1);
    EXPECT_FALSE(debounce.IsPending());
    const std::string refresh = "------------------- REFRESH DAQ ----------------\n";
    // 1.5 s after the last notice: 1000 + 1499 + 1500 ms.
    EXPECT_EQ(host.events, (std::vector<std::string>{"input released at 3999", refresh, "pause 500", "daq reopened",
                                                     "--------- calling delete m_PSoundOut  ---------\n",
                                                     "output released", "daq cache reset"}));

    // Without an output port there is nothing to delete and no line about it
    // (the refresh came 500 ms, its pause, before now).
    host.events.clear();
    debounce.OnDeviceChange();
    host.Advance(debounce, 2000);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"input released at " + std::to_string(host.now - 500), refresh, "pause 500",
                                        "daq reopened", "daq cache reset"}));

    // No refresh releases the ports of a run: a notice while running is
    // ignored; a refresh falling due once a run has begun is dropped (a start
    // that never cancelled, as when a notice arrived before it counted as
    // running, keeps its port); Run cancels a refresh armed while stopped.
    host.events.clear();
    host.running = true;
    EXPECT_TRUE(debounce.OnDeviceChange()) << "the notice is always answered";
    EXPECT_FALSE(debounce.IsPending());
    host.running = false;
    EXPECT_TRUE(debounce.OnDeviceChange());
    host.Advance(debounce, 700);
    host.running = true;
    host.Advance(debounce, 5000);
    EXPECT_EQ(debounce.DroppedCount(), 1);

    host.running = false;
    debounce.OnDeviceChange();
    host.Advance(debounce, 700);
    debounce.Cancel();
    host.Advance(debounce, 5000);
    EXPECT_EQ(debounce.RefreshCount(), 2);
    EXPECT_EQ(debounce.DroppedCount(), 1);
    EXPECT_TRUE(host.events.empty());
    EXPECT_FALSE(host.deadline.has_value());
}
