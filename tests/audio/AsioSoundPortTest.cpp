// Opening, format, starting and stopping of the shared audio port, and the
// sound input and output ports over it.

#include "audio/TSoundInput.h"
#include "audio/TSoundOutput.h"
#include "tests/audio/AsioTestSupport.h"

#include <memory>


TEST_F(PortTest, OpenTheSupportedRatesAndTheAnalysisRateFollowTheDevice)
{
    AddDriver("daq", {.Name = "Talvenor USB Audio Pump", .AcceptedRates = {48000, 96000}, .AcceptedRateCount = 2});
    AddDriver("b", {.Name = "Pump B", .AcceptedRates = {44100, 48000}, .AcceptedRateCount = 2, .InitialRate = 44100});
    AddDriver("stuck", {.Name = "Pump Stuck", .AcceptedRates = {44100, 48000}, .AcceptedRateCount = 2,
                        .InitialRate = 44100, .RateSticks = false});
    TASIOSoundPort& port = Port();
    EXPECT_FALSE(port.IsSampleRateSupported(48000, 3, 2)) << "no device opened";
    EXPECT_FALSE(port.IsFormatSupportedOn(-1, 48000, 3, 2) || port.IsFormatSupportedOn(60, 48000, 3, 2))
        << "not in the list";
    // Rate and bytes per sample; the module takes only its own rates, others
    // what the driver accepts, at a whole multiple for the decimated rates.
    const std::pair<std::uint32_t, std::uint16_t> asked[] = {{44100, 3}, {96000, 3}, {4000, 2}, {96000, 4},
                                                            {48000, 2}, {32000, 3}, {12000, 3}, {22050, 3}};
    for (int device : {0, 1}) {
        // A device of the list answers for itself before it is opened.
        std::string listed;
        for (const auto& [rate, bytes] : asked)
            listed += port.IsFormatSupportedOn(device, rate, bytes, 2) ? '1' : '0';
        ASSERT_TRUE(port.Open(device, TASIOSoundPort::kDirectionInput));
        EXPECT_EQ(TASIOSoundPort::IsQuarnDAQ(device), device == 0);
        std::string answers;
        for (const auto& [rate, bytes] : asked)
            answers += port.IsSampleRateSupported(rate, bytes, 2) ? '1' : '0';
        EXPECT_EQ(answers, device == 0 ? "01101010" : "10101011") << device;
        EXPECT_EQ(listed, answers) << device;
        port.Close();
    }

    struct Case {
        std::uint32_t Rate;
        std::int32_t Ratio;
        std::int32_t Taps;
    };
    for (const Case& c : {Case{12000, 4, 199}, Case{24000, 2, 99}, Case{16000, 3, 149}, Case{8000, 6, 299},
                          Case{4000, 12, 499}, Case{48000, 1, 99}, Case{96000, 1, 99}, Case{44100, 1, 99}}) {
        SCOPED_TRACE(c.Rate);
        port.SetFormat(c.Rate, 2, 3);
        EXPECT_EQ(port.GetDecimationRatio(), c.Ratio);
        EXPECT_EQ(port.GetFilterTaps(), c.Taps);
    }
    // The streaming instance runs at 4 × 12000, although a new one starts at 44100.
    ASSERT_TRUE(StartInput(1, 12000, 3, 4096));
    EXPECT_EQ(Driver->Active->Rate(), 48000.0);
    port.Close();
    // A driver that keeps another rate is refused at the start.
    EXPECT_FALSE(StartInput(2, 48000, 3, 4096));
    EXPECT_FALSE(port.IsRunning());

    EXPECT_EQ(TASIOSoundPort::GetDeviceCount(), 3);
    EXPECT_FALSE(port.Open(-1, TASIOSoundPort::kDirectionInput));
    EXPECT_FALSE(port.Open(256, TASIOSoundPort::kDirectionInput));
    EXPECT_FALSE(port.Open(7, TASIOSoundPort::kDirectionInput)) << "an empty entry";
    EXPECT_FALSE(port.IsDriverLoaded());
    ASSERT_TRUE(port.Open(1, TASIOSoundPort::kDirectionInput));
    EXPECT_TRUE(port.IsDriverLoaded());
    EXPECT_FALSE(port.Open(0, TASIOSoundPort::kDirectionOutput)) << "input and output on two drivers";
    EXPECT_TRUE(port.Open(1, TASIOSoundPort::kDirectionOutput));
    char names[2][256];
    TASIOSoundPort::GetDeviceNameByIndex(1, names[0]);
    TASIOSoundPort::GetDeviceNameByIndex(3, names[1]);
    EXPECT_EQ(std::string(names[0]) + "|" + names[1], "Pump B|");
    EXPECT_TRUE(TASIOSoundPort::HasChannels(0));
    EXPECT_FALSE(TASIOSoundPort::HasChannels(300));
}

// Only two- and three-byte analysis formats start; outputReady only for drivers
// that accepted it. A reset request is kept until the next start.
TEST_F(PortTest, StopIsSynchronousBuffersAreCountedAndNothingIsPreparedWhileRunning)
{
    AddDriver("a", {.Name = "Pump A", .OutputReadySupported = false});
    AddDriver("b", {.Name = "Pump B"});
    EXPECT_FALSE(StartInput(0, 48000, 4, 4096));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].text,
              "TASIOSoundPort - 4-byte samples are not supported: the analysis format needs 2 or 3 bytes per sample");
    EXPECT_EQ(Messages[0].caption, "Talvenor Mobile");
    ASSERT_TRUE(StartInput(0, 48000, 2, 4096));
    const std::int32_t asked = Driver->OutputReadyCalls.load();
    ASSERT_TRUE(Pump({}, {}));
    EXPECT_EQ(Driver->OutputReadyCalls.load(), asked);
    Port().Close();

    ASSERT_TRUE(StartInput(1, 48000, 3, 1024));
    TASIOSoundPort& port = Port();
    const std::int32_t made = Driver->Creations.load();
    EXPECT_TRUE(port.Start()) << "a start while running succeeds";
    EXPECT_EQ(Driver->Creations.load(), made) << "without touching the driver";

    const std::uint32_t before = port.GetBufferSwitchCount();
    const std::int32_t ready = Driver->OutputReadyCalls.load();
    ASSERT_TRUE(Pump({}, {}));
    ASSERT_TRUE(Pump({}, {}));
    EXPECT_EQ(port.GetSamplesAvailable(), 1024);
    EXPECT_EQ(port.GetBufferSwitchCount(), before + 2);
    EXPECT_EQ(Driver->OutputReadyCalls.load(), ready + 2) << "after each buffer of a driver that accepted it";
    EXPECT_FALSE(port.IsResetRequested());
    // The driver's device went away: it asks for a reset, and the run
    // control learns it from the port.
    EXPECT_EQ(Driver->Active->SendMessage(kAsioResetRequest, 0), 1);
    EXPECT_TRUE(port.IsResetRequested());
    EXPECT_FALSE(port.PrepareInput(nullptr, 1024, nullptr));
    TWaveData wave(100, TWaveFormat(48000, 2, 3));
    EXPECT_FALSE(port.PreparePlayback(&wave, true, 0, -1));

    port.Stop();
    EXPECT_FALSE(port.IsRunning());
    EXPECT_EQ(port.GetModeBits(), 0);
    EXPECT_FALSE(Pump({}, {})) << "the driver itself stopped";
    // A driver that calls back after stop reaches a port that ignores it.
    Driver->Active->SwitchAnyway(0);
    EXPECT_EQ(port.GetSamplesAvailable(), 1024);
    EXPECT_EQ(port.GetBufferSwitchCount(), before + 2) << "a switch after stop delivers nothing";
    EXPECT_TRUE(port.IsResetRequested()) << "still there for whoever looks after the stop";

    ASSERT_TRUE(port.PrepareInput(nullptr, 1024, nullptr) && port.Start());
    EXPECT_FALSE(port.IsResetRequested()) << "the start reloaded the driver";
    ASSERT_TRUE(Pump({}, {}));
    EXPECT_EQ(port.GetBufferSwitchCount(), before + 3);
    port.Stop();
}

TEST_F(PortTest, WaveModePortsDoNothingAsioPortsShareOneCountedInstance)
{
    AddDriver("a", {.Name = "Pump A"});
    AddDriver("b", {.Name = "Pump B"});
    {
        TSoundInput input(0, TSoundPort::kDriverModeWave);
        TSoundOutput output(0, TSoundPort::kDriverModeWave);
        EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
        TWaveData wave(10, TWaveFormat());
        EXPECT_FALSE(input.Open(TWaveFormat()) || input.PrepareInput(nullptr, 1024, nullptr) || input.Start()
                     || input.GetSamplesAvailable() != 0 || output.PreparePlayback(&wave, false, -1, -1)
                     || output.Start());
        output.Stop();
        EXPECT_EQ(Driver->Creations.load(), 0);
    }
    auto input = std::make_unique<TSoundInput>(0, TSoundPort::kDriverModeAsio);
    const std::int32_t enumerated = Driver->Creations.load();
    EXPECT_GE(enumerated, 2) << "the first port lists the drivers";
    auto output = std::make_unique<TSoundOutput>(1, TSoundPort::kDriverModeAsio);
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 2);
    EXPECT_EQ(Driver->Creations.load(), enumerated) << "the second port shares the list";

    ASSERT_TRUE(input->Open(TWaveFormat(48000, 2, 3)));
    input.reset();
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 1);
    EXPECT_TRUE(output->CheckFormat(48000, 3, 2)) << "the shared port and its list live on";
    output.reset();
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
    EXPECT_EQ(Driver->LiveDrivers.load(), 0) << "the last port unloads the driver";

    // A new instance lists the drivers again; an ASIO port's open sets the format even when refused.
    TSoundInput asio(9, TSoundPort::kDriverModeAsio);
    EXPECT_GT(Driver->Creations.load(), enumerated);
    EXPECT_FALSE(asio.Open(TWaveFormat(24000, 1, 2)));
    const TASIOSoundPort& port = *TASIOSoundPort::GetInstance();
    EXPECT_EQ(port.GetFormat(), TWaveFormat(24000, 1, 2));
    EXPECT_EQ(port.GetDecimationRatio(), 2);
    EXPECT_FALSE(asio.IsQuarnDAQ());
    EXPECT_FALSE(TSoundInput(~0u, TSoundPort::kDriverModeAsio).Open(TWaveFormat()));
}

// A device with one input and no outputs opens for input; one with no
// channels at all does not.
TEST_F(PortTest, ADeviceWithOneChannelOpensOneWithNoneDoesNot)
{
    AddDriver("mono", {.Name = "Mono In", .Inputs = 1, .Outputs = 0});
    AddDriver("none", {.Name = "No Channels", .Inputs = 0, .Outputs = 0});
    TASIOSoundPort& port = Port();
    EXPECT_TRUE(port.Open(0, TASIOSoundPort::kDirectionInput));
    port.Close();
    EXPECT_FALSE(port.Open(1, TASIOSoundPort::kDirectionInput));
}
