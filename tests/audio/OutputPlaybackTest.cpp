// Output playback: the fill of each driver buffer from a wave-data buffer.

#include "tests/audio/AsioTestSupport.h"

namespace {

const TWaveFormat kFormat(48000, 2, 3);

// Frame k holds code 1000·k + 1 on the left and its negative on the right.
std::unique_ptr<TWaveData> CountingWave(std::uint64_t frames)
{
    auto wave = std::make_unique<TWaveData>(frames, kFormat);
    for (std::uint64_t k = 0; k < frames; ++k) {
        wave->PutSample(static_cast<std::int32_t>(1000 * k + 1), k, 0);
        wave->PutSample(-static_cast<std::int32_t>(1000 * k + 1), k, 1);
    }
    wave->Rewind();
    return wave;
}

// The 24-bit code a 32-bit slot carries in its upper three bytes.
std::int32_t SlotCode(const std::vector<std::uint8_t>& slots, int frame)
{
    const std::uint8_t* slot = slots.data() + 4 * frame;
    const auto word = static_cast<std::uint32_t>(slot[1]) << 8 | static_cast<std::uint32_t>(slot[2]) << 16
        | static_cast<std::uint32_t>(slot[3]) << 24;
    return static_cast<std::int32_t>(word) >> 8;
}

} // namespace

class OutputPlayback : public PortTest {
protected:
    bool StartOutput(TWaveData* wave, bool loop, std::int64_t first, std::int64_t end, std::uint16_t bytes = 3)
    {
        TASIOSoundPort& port = Port();
        return port.Open(0, TASIOSoundPort::kDirectionOutput) && port.SetFormat(48000, 2, bytes)
            && port.PreparePlayback(wave, loop, first, end) && port.Start();
    }
};

TEST_F(OutputPlayback, AShortLoopWrapsAPlayOnceEndsInSilenceAndTheRangeIsValidated)
{
    AddDriver("a", {.Name = "Pump A"});
    const auto wave = CountingWave(100);
    ASSERT_TRUE(StartOutput(wave.get(), true, 10, 60));
    // The start filled the first buffer; each switch plays the next 512 frames.
    for (int p = 1; p <= 3; ++p) {
        std::vector<std::uint8_t> left, right;
        ASSERT_TRUE(Pump({}, {}, &left, &right));
        int wrong = 0;
        for (int i = 0; i < 512; ++i) {
            const std::int32_t frame = 10 + (512 * p + i) % 50;
            wrong += SlotCode(left, i) != 1000 * frame + 1 || SlotCode(right, i) != -(1000 * frame + 1);
            wrong += left[4 * static_cast<std::size_t>(i)] != 255;
        }
        EXPECT_EQ(wrong, 0) << "buffer " << p;
    }
    EXPECT_EQ(Port().GetOutputSource().GetPlayPosition(), 10 + (4 * 512) % 50);
    EXPECT_EQ(Driver->Active->Channels(true), 0) << "no input was prepared";
    EXPECT_EQ(Driver->Active->Channels(false), 2);
    Port().Close();

    // Played once, the wave ends in silence while the position runs on.
    const auto once = CountingWave(700);
    ASSERT_TRUE(StartOutput(once.get(), false, -1, -1));
    std::vector<std::uint8_t> left, right;
    ASSERT_TRUE(Pump({}, {}, &left, &right));
    EXPECT_EQ((std::vector<std::int32_t>{SlotCode(left, 0), SlotCode(left, 187), SlotCode(left, 188), SlotCode(right, 511)}),
              (std::vector<std::int32_t>{1000 * 512 + 1, 1000 * 699 + 1, 0, 0}));
    ASSERT_TRUE(Pump({}, {}, &left, &right));
    EXPECT_EQ(SlotCode(left, 0), 0);
    EXPECT_EQ(Port().GetOutputSource().GetPlayPosition(), 3 * 512);
    Port().Stop();

    // The playback range is validated.
    TASIOSoundPort& port = Port();
    EXPECT_FALSE(port.PreparePlayback(nullptr, false, -1, -1));
    EXPECT_FALSE(port.PreparePlayback(wave.get(), true, 50, 50)) << "an empty loop";
    for (const auto& [first, end] : {std::pair{101, -1}, std::pair{0, 101}, std::pair{60, 50}, std::pair{-2, -1}})
        EXPECT_FALSE(port.PreparePlayback(wave.get(), false, first, end)) << first << " to " << end;
    EXPECT_EQ(port.GetModeBits(), 0);

    wave->SetPosition(30);
    ASSERT_TRUE(port.PreparePlayback(wave.get(), true, -1, -1));
    EXPECT_EQ(port.GetOutputSource().GetLoopStart(), 30);
    EXPECT_EQ(port.GetOutputSource().GetEnd(), 100);
    EXPECT_EQ(port.GetModeBits(), TASIOSoundPort::kOutputPrepared);
}

TEST_F(OutputPlayback, SixteenBitDevicesGetTheUpperBitsOfTheCode)
{
    AddDriver("16", {.Name = "Pump 16", .SampleType = ASIOSTInt16LSB});
    for (std::uint16_t bytes : {3, 2}) {
        SCOPED_TRACE(bytes);
        TWaveData wave(1024, TWaveFormat(48000, 2, bytes));
        for (std::uint64_t k = 0; k < 1024; ++k) {
            wave.PutSample(bytes == 3 ? -65792 : -257, k, 0);
            wave.PutSample(bytes == 3 ? 0x123456 : 0x1234, k, 1);
        }
        ASSERT_TRUE(StartOutput(&wave, true, 0, -1, bytes));
        std::vector<std::uint8_t> left, right;
        ASSERT_TRUE(Pump({}, {}, &left, &right));
        EXPECT_EQ((std::vector<std::uint8_t>{left[0], left[1], right[0], right[1]}),
                  (std::vector<std::uint8_t>{0xFF, 0xFE, 0x34, 0x12}));
        Port().Close();
    }
}

// A one-channel signal on the two-channel stream the analyzer's inputs need
// (the generator's locked channels): both outputs play it.
TEST_F(OutputPlayback, AOneChannelWaveOnATwoChannelStreamPlaysOnBothOutputs)
{
    AddDriver("a", {.Name = "Pump A"});
    TWaveData mono(2048, TWaveFormat(48000, 1, 3));
    for (std::uint64_t k = 0; k < 2048; ++k)
        mono.PutSample(static_cast<std::int32_t>(7 * k + 3), k, 0);
    mono.Rewind();
    ASSERT_TRUE(StartOutput(&mono, true, -1, -1));
    std::vector<std::uint8_t> left, right;
    ASSERT_TRUE(Pump({}, {}, &left, &right));
    int wrong = 0;
    for (int i = 0; i < 512; ++i) {
        const std::int32_t code = 7 * (512 + i) + 3;
        wrong += SlotCode(left, i) != code || SlotCode(right, i) != code;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Driver->Active->Channels(false), 2);
    Port().Close();
}
