#include "audio/AsioDeviceList.h"
#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "platform/ZeroFilledArray.h"
#include "tests/audio/AsioTestSupport.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

struct FormatCall {
    std::uint32_t Rate;
    std::uint16_t Channels;
    std::uint16_t Bytes;
};

class FakePort final : public AsioFormatTarget {
public:
    bool IsFormatSet() const override { return !Calls.empty(); }
    void SetFormat(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytes) override
    {
        Calls.push_back({rate, channels, bytes});
    }
    std::vector<FormatCall> Calls;
};

std::vector<double> Rates(const AsioDeviceEntry& entry)
{
    return {entry.SampleRates, entry.SampleRates + entry.RateCount};
}

} // namespace

class DeviceEnumeration : public AsioTest {
protected:
    void Enumerate() { List.EnumerateDevices(Port); }

    FakePort Port;
    AsioDeviceList List;
};

TEST_F(DeviceEnumeration, EightInputsGiveOneEntryPerChannelPair)
{
    AddTestDriver("Octo", 1, {.Inputs = 8, .Outputs = 2, .MinBufferSize = 32, .MaxBufferSize = 2048,
                              .PreferredBufferSize = 256});
    Enumerate();

    ASSERT_EQ(List.Count(), 4);
    const char* names[] = {"Octo (1/2)", "Octo (3/4)", "Octo (5/6)", "Octo (7/8)"};
    for (int e = 0; e < 4; ++e) {
        SCOPED_TRACE(e);
        const AsioDeviceEntry& entry = List.Entry(e);
        EXPECT_EQ(entry.Valid, 1);
        EXPECT_STREQ(entry.DriverName, "Octo");
        EXPECT_STREQ(entry.DisplayName, names[e]);
        EXPECT_EQ(entry.FirstChannel, 2 * e);
        EXPECT_EQ(entry.InputChannels, 8);
        EXPECT_EQ(entry.OutputChannels, e == 0 ? 2 : 0);
        EXPECT_EQ(entry.MinBufferSize, 32);
        EXPECT_EQ(entry.MaxBufferSize, 2048);
        EXPECT_EQ(entry.PreferredBufferSize, 256);
        EXPECT_EQ(entry.OutputReady, 1);
        EXPECT_EQ(entry.IsDAQ, 0);
        // The pairs share the driver's channel records: inputs, then outputs.
        ASSERT_NE(entry.ChannelInfo, nullptr);
        EXPECT_EQ(entry.ChannelInfo, List.Entry(0).ChannelInfo);
    }
    const AsioDeviceEntry& base = List.Entry(0);
    ASSERT_EQ(base.ChannelInfo->size(), 10u);
    EXPECT_EQ(base.ChannelInfoAt(7)->channel, 7);
    EXPECT_EQ(base.ChannelInfoAt(7)->isInput, ASIOTrue);
    EXPECT_EQ(base.ChannelInfoAt(8)->channel, 0);
    EXPECT_EQ(base.ChannelInfoAt(8)->isInput, ASIOFalse);
    EXPECT_STREQ(base.ChannelInfoAt(9)->name, "Out 2");
    EXPECT_EQ(List.Entry(4).Valid, 0);
    EXPECT_EQ(List.Entry(4).DriverName[0], '\0');

    // Nothing stays loaded, and the next load reads the registry afresh.
    EXPECT_EQ(GetAsioDrivers(), nullptr);
    EXPECT_EQ(CurrentAsioDriver(), nullptr);
    EXPECT_EQ(LiveDrivers(), 0);
}

// Lists accepted rates or the fallback set; shows the DAQ module by its device name.
TEST_F(DeviceEnumeration, ListsRatesAndShowsTheDaqModuleByItsDeviceName)
{
    // 44000 is not a candidate.
    AddTestDriver("A picky", 1, {.AcceptedRates = {96000, 11025, 44000}, .AcceptedRateCount = 3});
    AddTestDriver("B none", 2, {.AcceptedRateCount = 0});
    AddTestDriver("C", 3, {}, "Talvenor USB Audio");
    AddTestDriver("D", 4, {}, "My Talvenor USB Audio 2");
    AddTestDriver("E", 5, {}, "Talvenor USB");
    Enumerate();

    ASSERT_EQ(List.Count(), 5);
    EXPECT_EQ(Rates(List.Entry(0)), (std::vector<double>{11025, 96000}));
    EXPECT_EQ(Rates(List.Entry(1)), (std::vector<double>{44100, 48000, 88200, 96000, 192000}));
    EXPECT_EQ(List.Entry(1).Valid, 1);
    // Two channels each: no pair suffix.
    EXPECT_STREQ(List.Entry(0).DisplayName, "A picky");
    EXPECT_STREQ(List.Entry(2).DisplayName, "QuarnDAQ-200");
    EXPECT_STREQ(List.Entry(2).DriverName, "Talvenor USB Audio");
    EXPECT_EQ(List.Entry(2).IsDAQ, 1);
    EXPECT_STREQ(List.Entry(3).DisplayName, "QuarnDAQ-200");
    EXPECT_STREQ(List.Entry(3).DriverName, "My Talvenor USB Audio 2");
    EXPECT_EQ(List.Entry(4).IsDAQ, 0);
    EXPECT_STREQ(List.Entry(4).DisplayName, "Talvenor USB");
}

TEST_F(DeviceEnumeration, DriversThatFailAQueryAreListedInvalid)
{
    AddTestDriver("A float", 1, {.SampleType = 19});
    AddTestDriver("B info", 2, {.ChannelInfoFailsAt = 3});  // the second output
    AddTestDriver("C sizes", 3, {.BufferSizeFails = true, .AcceptedRates = {44100, 48000}, .AcceptedRateCount = 2});
    AddTestDriver("D init", 4, {.InitSucceeds = false});
    AddTestDriver("E channels", 5, {.ChannelsFail = true});
    AddEntry("F not made", ClassId(6), PUMPED_ASIO_DRIVER_PLUGIN);
    AddTestDriver("G good", 7, {.OutputReadySupported = false});
    Enumerate();

    ASSERT_EQ(List.Count(), 7);
    for (int e = 0; e < 6; ++e)
        EXPECT_EQ(List.Entry(e).Valid, 0) << List.Entry(e).DriverName;
    EXPECT_EQ(List.Entry(0).ChannelInfo, nullptr);
    EXPECT_EQ(List.Entry(1).ChannelInfo, nullptr);
    EXPECT_EQ(List.Entry(2).RateCount, 2) << "later queries still run";
    EXPECT_EQ(List.Entry(6).Valid, 1);
    EXPECT_EQ(List.Entry(6).OutputReady, 0);

    // Only the driver that did not load says so.
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].text, "Failure on loadAsioDriver() for Device: F not made\n");
    EXPECT_EQ(Messages[0].caption, "Talvenor Mobile");
    EXPECT_EQ(Messages[0].icon, platform::MessageIcon::Error);
    EXPECT_STREQ(List.Entry(5).DisplayName, "F not made");
}

TEST_F(DeviceEnumeration, ChannelRecordsThatCannotBeAllocatedFailTheEntry)
{
    AddTestDriver("Only", 1, {});
    platform::FailNextAllocations(1);
    Enumerate();
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Entry(0).Valid, 0);
    EXPECT_EQ(List.Entry(0).ChannelInfo, nullptr);
    platform::FailNextAllocations(0);
}

TEST_F(DeviceEnumeration, TheFirstUsableDriverSetsAMissingFormat)
{
    AddTestDriver("A unusable", 1, {.SampleType = 19});
    AddTestDriver("B no rate", 2,
                  {.Inputs = 4, .AcceptedRates = {22050, 8000}, .AcceptedRateCount = 2, .GetSampleRateFails = true,
                   .SampleType = ASIOSTInt16LSB});
    AddTestDriver("C later", 3, {.InitialRate = 44100.7});
    Enumerate();

    ASSERT_EQ(Port.Calls.size(), 1u);
    EXPECT_EQ(Port.Calls[0].Rate, 22050u);  // the highest listed rate
    EXPECT_EQ(Port.Calls[0].Channels, 4);
    EXPECT_EQ(Port.Calls[0].Bytes, 2);

    FakePort fresh;
    AsioDeviceList again;
    Registry.DeleteKey(platform::RegistryHive::LocalMachine, "software\\asio\\A unusable");
    Registry.DeleteKey(platform::RegistryHive::LocalMachine, "software\\asio\\B no rate");
    again.EnumerateDevices(fresh);
    ASSERT_EQ(fresh.Calls.size(), 1u);
    EXPECT_EQ(fresh.Calls[0].Rate, 44100u);  // the driver's rate, truncated
    EXPECT_EQ(fresh.Calls[0].Channels, 2);
    EXPECT_EQ(fresh.Calls[0].Bytes, 3);
}

TEST_F(DeviceEnumeration, StopsAddingWhenTheListIsFull)
{
    // 130 drivers of four inputs take two entries each: 260 would not fit.
    const PumpedDriverConfig quad{.Inputs = 4};
    for (int d = 0; d < 130; ++d) {
        char key[16];
        std::snprintf(key, sizeof key, "Quad %03d", d);
        AddTestDriver(key, 100 + d, quad);
    }
    Enumerate();

    ASSERT_EQ(List.Count(), AsioDeviceList::kMaxEntries);
    EXPECT_STREQ(List.Entry(254).DisplayName, "Quad 127 (1/2)");
    EXPECT_STREQ(List.Entry(255).DisplayName, "Quad 127 (3/4)");
    EXPECT_EQ(List.Entry(255).FirstChannel, 2);
    EXPECT_EQ(LiveDrivers(), 0);
}
