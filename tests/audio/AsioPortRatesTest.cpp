// The rates the shared port takes from the module and from other drivers,
// and what it answers once no device is open.

#include "tests/audio/AsioTestSupport.h"

#include <string>

// The module runs at exactly eight rates, in two- or three-byte samples; a
// rate one off any of them, or one the module does not run at, is refused.
TEST_F(PortTest, TheModuleTakesEachOfItsEightRatesAndNoNeighbour)
{
    AddDriver("daq", {.Name = "Talvenor USB Audio Pump", .AcceptedRates = {48000, 96000}, .AcceptedRateCount = 2});
    TASIOSoundPort& port = Port();
    ASSERT_TRUE(port.Open(0, TASIOSoundPort::kDirectionInput));
    ASSERT_TRUE(TASIOSoundPort::IsQuarnDAQ(0));
    const struct {
        std::uint32_t rate;
        bool taken;
    } cases[] = {
        {4000, true},   {6000, true},   {8000, true},   {12000, true},  {24000, true},
        {48000, true},  {96000, true},  {192000, true}, {3999, false},  {4001, false},
        {11999, false}, {12001, false}, {23999, false}, {24001, false}, {16000, false},
        {32000, false}, {44100, false}, {88200, false}, {192001, false}, {0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        std::string answers;
        for (std::uint16_t bytes : {1, 2, 3, 4})
            answers += port.IsSampleRateSupported(c.rate, bytes, 2) ? '1' : '0';
        EXPECT_EQ(answers, c.taken ? "0110" : "0000");
    }
    port.Close();
}

// Before any device is opened, or after an empty entry was asked for, there
// is no entry to judge a rate by: every rate is refused, whatever the last
// device took.
TEST_F(PortTest, WithNoDeviceOpenEveryRateIsRefused)
{
    AddDriver("daq", {.Name = "Talvenor USB Audio Pump", .AcceptedRates = {48000, 96000}, .AcceptedRateCount = 2});
    AddDriver("b", {.Name = "Pump B", .AcceptedRates = {44100, 48000}, .AcceptedRateCount = 2});
    TASIOSoundPort& port = Port();
    const auto answers = [&port] {
        std::string text;
        for (std::uint32_t rate : {12000u, 44100u, 48000u, 96000u})
            for (std::uint16_t bytes : {2, 3})
                text += port.IsSampleRateSupported(rate, bytes, 2) ? '1' : '0';
        return text;
    };
    EXPECT_EQ(answers(), "00000000") << "never opened";
    for (int device : {0, 1}) {
        SCOPED_TRACE(device);
        ASSERT_TRUE(port.Open(device, TASIOSoundPort::kDirectionInput));
        EXPECT_EQ(answers(), device == 0 ? "11001111" : "11111100");
        port.Close();
        EXPECT_FALSE(port.Open(5, TASIOSoundPort::kDirectionInput)) << "an empty entry";
        EXPECT_EQ(answers(), "00000000") << "after a refused open";
    }
}
