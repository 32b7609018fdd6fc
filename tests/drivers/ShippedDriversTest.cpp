#include "audio/AsioDriverList.h"
#include "audio/DaqDevice.h"
#include "audio/ShippedDrivers.h"
#include "platform/Registry.h"
#include "tests/drivers/DaqSimModule.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> Listed(const AsioDriverList& list)
{
    std::map<std::string, std::string> drivers;
    for (int i = 0; i < list.asioGetNumDev(); ++i) {
        char name[AsioDriverList::kNameCapacity];
        char path[AsioDriverList::kPathCapacity];
        list.asioGetDriverName(i, name, sizeof name);
        list.asioGetDriverPath(i, path, sizeof path);
        drivers[name] = path;
    }
    return drivers;
}

} // namespace

TEST(ShippedDrivers, AreFoundInTheBuildTree)
{
    // The system registry, as the program sees it when run from the build tree.
    platform::SetRegistry(nullptr);
    const std::map<std::string, std::string> drivers = Listed(AsioDriverList());
    ASSERT_TRUE(drivers.contains(kDaqSimDriverName));
    EXPECT_TRUE(std::filesystem::equivalent(drivers.at(kDaqSimDriverName), DAQSIM_PLUGIN));
#ifdef JACK_PLUGIN
    ASSERT_TRUE(drivers.contains(kJackDriverName));
    EXPECT_TRUE(std::filesystem::equivalent(drivers.at(kJackDriverName), JACK_PLUGIN));
#endif

    // The DAQ module's control library is registered too.
    ASSERT_NE(ResetDaqSimModule(), nullptr);
    DaqDevice device;
    device.SetWait([](std::uint32_t) {});
    device.Open();
    EXPECT_TRUE(device.IsOpen());
}

TEST(ShippedDrivers, AUserFileAddsDriversOrIsIgnoredWithAMessage)
{
    const TempFolder folder;
    const std::string good = folder.Path("good.reg");
    const std::string bad = folder.Path("bad.reg");
    std::ofstream(good) << "[HKEY_LOCAL_MACHINE\\software\\asio\\Extra]\n"
                           "\"clsid\"=\"" << kDaqSimDriverClassId << "\"\n"
                           "\"description\"=\"Extra Module\"\n"
                           "[HKEY_CLASSES_ROOT\\clsid\\" << kDaqSimDriverClassId << "\\InprocServer32]\n"
                           "@=\"" DAQSIM_PLUGIN "\"\n";
    std::ofstream(bad) << "[HKEY_LOCAL_MACHINE\\software\\asio\\Extra]\nclsid=1\n";

    MessageLog log;
    platform::Registry registry;
    platform::SetRegistry(&registry);
    LoadDriverFile(registry, folder.Path("missing.reg"));
    LoadDriverFile(registry, bad);
    EXPECT_EQ(Listed(AsioDriverList()).size(), 0u);
    LoadDriverFile(registry, good);
    EXPECT_EQ(Listed(AsioDriverList()), (std::map<std::string, std::string>{{"Extra Module", DAQSIM_PLUGIN}}));
    platform::SetRegistry(nullptr);
    EXPECT_EQ(log.texts,
              std::vector<std::string>{"The driver list " + bad + " was ignored: line 2 is not a registry entry."});
}
