// The sound input and output ports over the shared port.

#include "audio/TSoundInput.h"
#include "audio/TSoundOutput.h"
#include "tests/audio/PortTestSupport.h"

#include <memory>

TEST_F(PortTest, PortsShareOneCountedInstance)
{
    AddDriver("a", {.Name = "Pump A"});
    AddDriver("b", {.Name = "Pump B"});
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

    const TSoundInput again(0, TSoundPort::kDriverModeAsio);
    EXPECT_GT(Driver->Creations.load(), enumerated) << "a new instance lists the drivers again";
}

TEST_F(PortTest, WaveModePortsDoNothingAndAsioOpenSetsTheFormatEvenWhenRefused)
{
    AddDriver("a", {.Name = "Pump A"});
    TSoundInput input(0, TSoundPort::kDriverModeWave);
    TSoundOutput output(0, TSoundPort::kDriverModeWave);
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
    TWaveData wave(10, TWaveFormat());
    EXPECT_FALSE(input.Open(TWaveFormat()) || input.PrepareInput(nullptr, 1024, nullptr) || input.Start()
                 || input.GetSamplesAvailable() != 0 || output.PreparePlayback(&wave, false, -1, -1) || output.Start());
    output.Stop();
    EXPECT_EQ(Driver->Creations.load(), 0);

    // An ASIO port's open sets the format even when refused.
    TSoundInput asio(9, TSoundPort::kDriverModeAsio);
    EXPECT_FALSE(asio.Open(TWaveFormat(24000, 1, 2)));
    const TASIOSoundPort& port = *TASIOSoundPort::GetInstance();
    EXPECT_EQ(port.GetFormat(), TWaveFormat(24000, 1, 2));
    EXPECT_EQ(port.GetDecimationRatio(), 2);
    EXPECT_FALSE(asio.IsQuarnDAQ());
    EXPECT_FALSE(TSoundInput(~0u, TSoundPort::kDriverModeAsio).Open(TWaveFormat()));
}
