// Which file-system entries stand for sound devices and servers.

#include "app/core/DevicePresence.h"

#include <gtest/gtest.h>


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
}
