// The device watcher raises one notice per change of what is present, and
// none for unrelated files in the folders it must watch.

#include "app/DeviceWatcher.h"
#include "tests/app/FrameTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(DeviceWatcher, ASoundServerSocketComingAndGoingIsNoticedOtherFilesAreNot)
{
    frame_test::DataFolder folder;
    const std::filesystem::path shm = folder.Root() + "shm";
    const std::filesystem::path snd = folder.Root() + "snd";
    std::filesystem::create_directories(shm);
    DeviceWatcher watcher({{shm.string(), {"jack"}}, {snd.string(), {}}});
    QSignalSpy notices(&watcher, &DeviceWatcher::DeviceChanged);

    std::ofstream(shm / "browser-cache") << "x";
    QTest::qWait(300);
    EXPECT_EQ(notices.count(), 0) << "not a sound server's file";

    std::ofstream(shm / "jack_default_0_0") << "x";
    EXPECT_TRUE(frame_test::WaitFor([&] { return notices.count() == 1; }, 10000));
    std::filesystem::remove(shm / "jack_default_0_0");
    EXPECT_TRUE(frame_test::WaitFor([&] { return notices.count() == 2; }, 10000));

    // A sound folder that appears later (the first card plugged in) is seen
    // through its parent, and watched itself from then on.
    std::filesystem::create_directories(snd);
    EXPECT_TRUE(frame_test::WaitFor([&] { return notices.count() >= 2; }, 10000));
    const int before = notices.count();
    std::ofstream(snd / "pcmC0D0c") << "";
    EXPECT_TRUE(frame_test::WaitFor([&] { return notices.count() == before + 1; }, 10000));
}
