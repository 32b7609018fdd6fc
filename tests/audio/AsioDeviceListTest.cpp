#include "audio/AsioDeviceList.h"
#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "platform/ZeroFilledArray.h"
#include "tests/audio/AsioTestSupport.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

class FakePort final : public AsioFormatTarget {
public:
    bool IsFormatSet() const override { return !Calls.empty(); }
    void SetFormat(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytes) override
    {
        Calls.push_back(std::to_string(rate) + " Hz, " + std::to_string(channels) + " ch, " + std::to_string(bytes));
    }
    std::vector<std::string> Calls;
};

// The entries in one line each: valid, driver name | display name, first
// channel, inputs/outputs, buffer sizes min-max:preferred, output ready, DAQ.
std::vector<std::string> Entries(const AsioDeviceList& list, int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        const AsioDeviceEntry& e = list.Entry(i);
        std::ostringstream line;
        line << +e.Valid << " " << e.DriverName << "|" << e.DisplayName << " " << e.FirstChannel << " "
             << e.InputChannels << "/" << e.OutputChannels << " " << e.MinBufferSize << "-" << e.MaxBufferSize << ":"
             << e.PreferredBufferSize << " r" << +e.OutputReady << " d" << +e.IsDAQ;
        lines.push_back(line.str());
    }
    return lines;
}

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
    EXPECT_EQ(Entries(List, 5), (std::vector<std::string>{"1 Octo|Octo (1/2) 0 8/2 32-2048:256 r1 d0",
                                                          "1 Octo|Octo (3/4) 2 8/0 32-2048:256 r1 d0",
                                                          "1 Octo|Octo (5/6) 4 8/0 32-2048:256 r1 d0",
                                                          "1 Octo|Octo (7/8) 6 8/0 32-2048:256 r1 d0",
                                                          "0 | 0 0/0 0-0:0 r0 d0"}));
    // The pairs share the driver's channel records: inputs, then outputs.
    const AsioDeviceEntry& base = List.Entry(0);
    ASSERT_NE(base.ChannelInfo, nullptr);
    EXPECT_EQ(List.Entry(3).ChannelInfo, base.ChannelInfo);
    ASSERT_EQ(base.ChannelInfo->size(), 10u);
    EXPECT_EQ((std::vector<std::int32_t>{base.ChannelInfoAt(7)->channel, base.ChannelInfoAt(7)->isInput,
                                         base.ChannelInfoAt(8)->channel, base.ChannelInfoAt(8)->isInput}),
              (std::vector<std::int32_t>{7, ASIOTrue, 0, ASIOFalse}));
    EXPECT_STREQ(base.ChannelInfoAt(9)->name, "Out 2");

    // Nothing stays loaded, and the next load reads the registry afresh.
    EXPECT_EQ(GetAsioDrivers(), nullptr);
    EXPECT_EQ(CurrentAsioDriver(), nullptr);

    // Channel records that cannot be allocated fail the entry.
    AsioDeviceList again;
    platform::FailNextAllocations(1);
    again.EnumerateDevices(Port);
    platform::FailNextAllocations(0);
    EXPECT_EQ(again.Entry(0).Valid, 0);
    EXPECT_EQ(again.Entry(0).ChannelInfo, nullptr);
}

// Drivers that fail a query are listed invalid; the others with the rates they
// accept or the fallback set, the DAQ module by its device name.
TEST_F(DeviceEnumeration, EachDriverIsListedWithItsRatesOrInvalid)
{
    AddTestDriver("A float", 1, {.SampleType = 19});
    AddTestDriver("B info", 2, {.ChannelInfoFailsAt = 3});  // the second output
    AddTestDriver("C sizes", 3,
                  {.BufferSizeFails = true, .AcceptedRates = {44100, 48000}, .AcceptedRateCount = 2,
                   .InitialRate = 44100.7});
    AddTestDriver("D init", 4, {.InitSucceeds = false});
    AddTestDriver("E channels", 5, {.ChannelsFail = true});
    AddEntry("F not made", ClassId(6), PUMPED_ASIO_DRIVER_PLUGIN);
    AddTestDriver("AA no rate", 7,
                  {.Inputs = 4, .AcceptedRates = {22050, 8000}, .AcceptedRateCount = 2, .GetSampleRateFails = true,
                   .SampleType = ASIOSTInt16LSB});
    // 44000 is not a candidate.
    AddTestDriver("H picky", 8, {.AcceptedRates = {96000, 11025, 44000}, .AcceptedRateCount = 3,
                                 .OutputReadySupported = false});
    AddTestDriver("I none", 9, {.AcceptedRateCount = 0});
    AddTestDriver("J", 10, {}, "Talvenor USB Audio");
    AddTestDriver("K", 11, {}, "My Talvenor USB Audio 2");
    AddTestDriver("L", 12, {}, "Talvenor USB");
    Enumerate();

    ASSERT_EQ(List.Count(), 13);
    for (int e : {0, 3, 4, 5, 6, 7})
        EXPECT_EQ(List.Entry(e).Valid, 0) << List.Entry(e).DriverName;
    EXPECT_EQ(List.Entry(0).ChannelInfo, nullptr);
    EXPECT_EQ(List.Entry(3).ChannelInfo, nullptr);
    EXPECT_EQ(List.Entry(4).RateCount, 2) << "later queries still run";
    const std::vector<std::string> entries = Entries(List, 13);
    EXPECT_EQ(std::vector<std::string>(entries.begin() + 2, entries.begin() + 3),
              std::vector<std::string>{"1 AA no rate|AA no rate (3/4) 2 4/0 64-4096:512 r1 d0"});
    EXPECT_EQ(std::vector<std::string>(entries.begin() + 8, entries.end()),
              (std::vector<std::string>{
                                        "1 H picky|H picky 0 2/2 64-4096:512 r0 d0",
                                        "1 I none|I none 0 2/2 64-4096:512 r1 d0",
                                        "1 Talvenor USB Audio|QuarnDAQ-200 0 2/2 64-4096:512 r1 d1",
                                        "1 My Talvenor USB Audio 2|QuarnDAQ-200 0 2/2 64-4096:512 r1 d1",
                                        "1 Talvenor USB|Talvenor USB 0 2/2 64-4096:512 r1 d0"}));
    EXPECT_EQ(Rates(List.Entry(8)), (std::vector<double>{11025, 96000}));
    EXPECT_EQ(Rates(List.Entry(9)), (std::vector<double>{44100, 48000, 88200, 96000, 192000}));

    // Only the driver that did not load says so.
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].text, "Failure on loadAsioDriver() for Device: F not made\n");
    EXPECT_EQ(Messages[0].caption, "Talvenor Mobile");
    EXPECT_EQ(Messages[0].icon, platform::MessageIcon::Error);
    EXPECT_STREQ(List.Entry(7).DisplayName, "F not made");

    // The first usable driver sets a missing format: the highest listed rate
    // when the driver does not tell its own, else its own, truncated.
    EXPECT_EQ(Port.Calls, std::vector<std::string>{"22050 Hz, 4 ch, 2"});
    FakePort fresh;
    Registry.DeleteKey(platform::RegistryHive::LocalMachine, "software\\asio\\AA no rate");
    AsioDeviceList().EnumerateDevices(fresh);
    EXPECT_EQ(fresh.Calls, std::vector<std::string>{"44100 Hz, 2 ch, 3"});
}

TEST_F(DeviceEnumeration, StopsAddingWhenTheListIsFull)
{
    // 130 drivers of four inputs take two entries each: 260 would not fit.
    for (int d = 0; d < 130; ++d) {
        char key[16];
        std::snprintf(key, sizeof key, "Quad %03d", d);
        AddTestDriver(key, 100 + d, {.Inputs = 4});
    }
    Enumerate();

    ASSERT_EQ(List.Count(), AsioDeviceList::kMaxEntries);
    EXPECT_STREQ(List.Entry(254).DisplayName, "Quad 127 (1/2)");
    EXPECT_STREQ(List.Entry(255).DisplayName, "Quad 127 (3/4)");
    EXPECT_EQ(List.Entry(255).FirstChannel, 2);
}

// A driver whose entries end one short of the full list, quad or stereo,
// leaves room for one more driver.
TEST_F(DeviceEnumeration, EntriesEndingOneShortOfTheEndLeaveRoomForTheLastDriver)
{
    // {quad drivers, stereo drivers after them}: 1 + 2·127 + 1 and 1 + 2·126 + 3 entries.
    for (auto [quads, stereos] : {std::pair{127, 1}, {126, 3}}) {
        SCOPED_TRACE(quads);
        Registry.DeleteKey(platform::RegistryHive::LocalMachine, "software\\asio");
        AddTestDriver("A first", 1, {});
        for (int d = 0; d < quads; ++d) {
            char key[16];
            std::snprintf(key, sizeof key, "Quad %03d", d);
            AddTestDriver(key, 100 + d, {.Inputs = 4});
        }
        for (int d = 0; d < stereos; ++d)
            AddTestDriver("Z last " + std::to_string(d), 2 + d, {});
        Enumerate();

        ASSERT_EQ(List.Count(), AsioDeviceList::kMaxEntries);
        EXPECT_EQ(std::string(List.Entry(255).DisplayName), "Z last " + std::to_string(stereos - 1));
    }
}

// A driver that accepts every standard rate is listed with all thirteen, in
// ascending order; one that accepts only the high ones, with those.
TEST_F(DeviceEnumeration, EveryStandardRateADriverAcceptsIsListed)
{
    AddTestDriver("All", 1,
                  {.AcceptedRates = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 88200, 96000,
                                     176400, 192000},
                   .AcceptedRateCount = 13});
    AddTestDriver("High", 2, {.AcceptedRates = {192000, 88200, 176400}, .AcceptedRateCount = 3});
    Enumerate();
    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(Rates(List.Entry(0)), (std::vector<double>{8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100,
                                                         48000, 88200, 96000, 176400, 192000}));
    EXPECT_EQ(Rates(List.Entry(1)), (std::vector<double>{88200, 176400, 192000}));
}
