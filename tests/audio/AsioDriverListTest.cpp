#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "tests/audio/AsioTestSupport.h"

#include <string>
#include <vector>

namespace {

using platform::RegistryHive;

std::string Name(const AsioDriverList& list, int index, int length = AsioDriverList::kNameCapacity)
{
    char buffer[AsioDriverList::kNameCapacity] = {};
    return list.asioGetDriverName(index, buffer, length) == kAsioOk ? buffer : "<error>";
}

} // namespace

class DriverList : public AsioTest {};

// Only drivers whose class and plugin file exist are listed; names are cut to
// fit the caller's buffer, and opening answers the driver list codes.
TEST_F(DriverList, ListsOnlyDriversWhoseClassAndPluginFileExist)
{
    AddTestDriver("Alpha", 1, {}, "Alpha Device " + std::string(200, 'x'));
    AddEntry("Beta no class", ClassId(2), PUMPED_ASIO_DRIVER_PLUGIN);
    Registry.DeleteKey(RegistryHive::ClassesRoot, "clsid\\" + ClassId(2));
    AddEntry("Gamma missing file", ClassId(3), PUMPED_ASIO_DRIVER_PLUGIN ".missing");
    AddEntry("Delta no server key", ClassId(4), PUMPED_ASIO_DRIVER_PLUGIN);
    Registry.DeleteKey(RegistryHive::ClassesRoot, "clsid\\" + ClassId(4) + "\\InprocServer32");
    AddEntry("Epsilon bad id", "{not-a-class-id}", PUMPED_ASIO_DRIVER_PLUGIN);
    AddTestDriver("Long", 7, {}, "0123456789");
    AddEntry("Not a plugin", ClassId(8), NOT_A_PLUGIN_FILE);
    AddEntry("Unknown class", ClassId(9), PUMPED_ASIO_DRIVER_PLUGIN);  // the plugin was not told of it
    // The class key is found whatever the case of either spelling.
    AddEntry("Zeta", ClassId(6), PUMPED_ASIO_DRIVER_PLUGIN);
    Registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\Zeta", "clsid",
                      "{1E57D41E-0000-4000-8000-000000000006}");

    AsioDriverList list;
    ASSERT_EQ(list.asioGetNumDev(), 5);
    // The description wins over the key, cut to what the list holds with its terminator.
    EXPECT_EQ(Name(list, 0), "Alpha Device " + std::string(AsioDriverList::kNameCapacity - 14, 'x'));
    EXPECT_EQ(Name(list, 4), "Zeta");          // no description: the key's name
    char path[AsioDriverList::kPathCapacity];
    ASSERT_EQ(list.asioGetDriverPath(4, path, sizeof path), kAsioOk);
    EXPECT_STREQ(path, PUMPED_ASIO_DRIVER_PLUGIN);
    AsioClassId id;
    ASSERT_EQ(list.asioGetDriverCLSID(4, &id), kAsioOk);
    AsioClassId expected;
    ASSERT_TRUE(AsioClassId::Parse(ClassId(6), expected));
    EXPECT_EQ(id, expected);
    EXPECT_EQ(Name(list, 1, 11) + "|" + Name(list, 1, 10) + "|" + Name(list, 1, 4), "0123456789|012345...|...");

    // Bad requests, and opening, answer the driver list codes.
    char buffer[8];
    AsioDriver* driver = nullptr;
    EXPECT_EQ((std::vector<std::int32_t>{list.asioGetDriverName(0, nullptr, 8), list.asioGetDriverName(5, buffer, 8),
                                         list.asioGetDriverName(-1, buffer, 8), list.asioOpenDriver(0, nullptr),
                                         list.asioOpenDriver(5, &driver)}),
              (std::vector<std::int32_t>{kDrvErrInvalidParam, kDrvErrDeviceNotFound, kDrvErrDeviceNotFound,
                                         kDrvErrInvalidParam, kDrvErrDeviceNotFound}));
    ASSERT_EQ(list.asioOpenDriver(1, &driver), kAsioOk);
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(list.asioOpenDriver(1, &driver), kDrvErrDeviceAlreadyOpen);
    EXPECT_EQ(LiveDrivers(), 1);
    EXPECT_EQ(list.asioCloseDriver(1), kAsioOk);
    EXPECT_EQ(LiveDrivers(), 0);
    EXPECT_EQ(list.asioOpenDriver(2, &driver), kDrvErrPluginNotLoaded);
    EXPECT_EQ(list.asioOpenDriver(3, &driver), kDrvErrClassNotAvailable);
}

TEST_F(DriverList, HostCallsAnswerNotPresentWithHarmlessValuesWithoutADriver)
{
    ASSERT_EQ(CurrentAsioDriver(), nullptr);
    ASIODriverInfo info{};
    info.driverVersion = 5;
    std::int32_t inputs = 9, outputs = 9;
    ASIOChannelInfo channel{};
    channel.type = ASIOSTInt32LSB;
    int dummy = 0;
    // A third entry past the two asked for stays as it was.
    ASIOBufferInfo buffers[3] = {{1, 0, {&dummy, &dummy}}, {0, 0, {&dummy, &dummy}}, {0, 1, {&dummy, &dummy}}};
    const std::vector<ASIOError> answers = {ASIOInit(&info), ASIOGetChannels(&inputs, &outputs),
                                            ASIOGetChannelInfo(&channel), ASIOCreateBuffers(buffers, 2, 256, nullptr),
                                            ASIOStart(), ASIOSetSampleRate(48000), ASIOOutputReady()};
    EXPECT_EQ(answers, std::vector<ASIOError>(7, kAsioNotPresent));
    EXPECT_STREQ(info.name, "No ASIO Driver");
    EXPECT_EQ((std::vector<std::int32_t>{info.driverVersion, inputs, outputs, channel.type}),
              std::vector<std::int32_t>(4, 0));
    EXPECT_EQ((std::vector<void*>{buffers[0].buffers[0], buffers[0].buffers[1], buffers[1].buffers[0],
                                  buffers[1].buffers[1]}),
              std::vector<void*>(4, nullptr));
    EXPECT_EQ((std::vector<void*>{buffers[2].buffers[0], buffers[2].buffers[1]}), std::vector<void*>(2, &dummy));
    EXPECT_EQ(ASIOExit(), kAsioOk);
}

TEST_F(DriverList, LoadsDriversByTheirFullNameEvenWhenLongAndInitReportsTheDriverOrItsFailure)
{
    const std::string longName = "Talvenor Forty Character Driver Name 040";
    ASSERT_EQ(longName.size(), 40u);
    AddTestDriver("A", 1, {.Name = "Bench Interface"}, "Short");
    AddTestDriver("B", 2, {.Name = "second"}, longName);
    AddTestDriver("C", 3, {.Name = "third"}, longName.substr(0, 28) + "...");
    AddTestDriver("D", 4, {.InitSucceeds = false, .ErrorMessage = "cable unplugged"}, "Bad");
    AddEntry("E", ClassId(5), PUMPED_ASIO_DRIVER_PLUGIN, "Broken");  // its class is not made by the plugin

    ASSERT_TRUE(loadAsioDriver(longName.c_str()));
    ASSERT_NE(GetAsioDrivers(), nullptr);
    EXPECT_EQ(GetAsioDrivers()->getCurrentDriverIndex(), 1);
    ASIODriverInfo info{};
    info.asioVersion = 2;
    ASSERT_EQ(ASIOInit(&info), kAsioOk);
    EXPECT_STREQ(info.name, "second");

    // Loading another driver unloads the first.
    ASSERT_TRUE(loadAsioDriver("Short"));
    EXPECT_EQ(GetAsioDrivers()->getCurrentDriverIndex(), 0);
    EXPECT_EQ(LiveDrivers(), 1);
    std::string current;
    EXPECT_TRUE(GetAsioDrivers()->getCurrentDriverName(current));
    EXPECT_EQ(current, "Short");
    EXPECT_FALSE(loadAsioDriver("Talvenor Forty Character"));
    EXPECT_FALSE(loadAsioDriver(nullptr));
    EXPECT_EQ(GetAsioDrivers()->getCurrentDriverIndex(), 0) << "a name that matches nothing unloads nothing";

    // A failed load brings back the previous driver.
    EXPECT_FALSE(loadAsioDriver("Broken"));
    info = ASIODriverInfo{};
    info.asioVersion = 2;
    ASSERT_EQ(ASIOInit(&info), kAsioOk);
    EXPECT_STREQ(info.name, "Bench Interface");
    EXPECT_STREQ(info.errorMessage, "No ASIO Driver Error");
    EXPECT_EQ(info.driverVersion, 7);
    // Calls now reach the driver.
    ASIOSamples position = 5;
    ASIOTimeStamp time = 0;
    EXPECT_EQ(ASIOGetSamplePosition(&position, &time), kAsioOk);

    ASSERT_TRUE(loadAsioDriver("Bad"));
    info = ASIODriverInfo{};
    EXPECT_EQ(ASIOInit(&info), kAsioNotPresent);
    EXPECT_STREQ(info.errorMessage, "cable unplugged");
    EXPECT_EQ(CurrentAsioDriver(), nullptr);
    EXPECT_EQ(ASIOStart(), kAsioNotPresent);
    // Unloading still releases the driver whose init failed.
    EXPECT_EQ(LiveDrivers(), 1);
    ASIOExit();
    EXPECT_EQ(GetAsioDrivers()->getCurrentDriverIndex(), -1);
    EXPECT_FALSE(GetAsioDrivers()->getCurrentDriverName(current)) << "no driver, no name";
    EXPECT_EQ(LiveDrivers(), 0);
}

// The list holds names of up to 127 characters and its terminator: one of
// 127 stands whole, one of 128 loses its last character. A key name the
// enumeration cannot hold (128 characters) is passed over.
TEST_F(DriverList, ANameOneLongerThanTheListHoldsIsCutAndAKeyOneLongerIsPassedOver)
{
    AddTestDriver("A fits", 1, {}, std::string(127, 'a'));
    AddTestDriver("B over", 2, {}, std::string(128, 'b'));
    AddTestDriver("C" + std::string(126, 'k'), 3, {}, "Longest key");
    AddTestDriver("D" + std::string(127, 'k'), 4, {}, "Key too long");
    AsioDriverList list;
    ASSERT_EQ(list.asioGetNumDev(), 3);
    EXPECT_EQ(Name(list, 0), std::string(127, 'a'));
    EXPECT_EQ(Name(list, 1), std::string(127, 'b'));
    EXPECT_EQ(Name(list, 2), "Longest key");
}
