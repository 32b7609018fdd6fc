// The sizes and widths the port works in: the input ring's read block at
// each rate bound, a block of another width stored in the ring's own, an
// output fill that writes exactly the frames it was asked for, the driver
// sample types, and a decimator rebuilt for another width.

#include "audio/TAsioSampleCodec.h"
#include "audio/TInputDecimator.h"
#include "audio/TInputRing.h"
#include "audio/TOutputSource.h"
#include "platform/SmallMaths.h"
#include "tests/audio/AsioTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// Each bound takes its own rate and hands the next rate up to the bound above.
TEST(PortBuffers, TheReadBlockIsTheSmallestBoundTheRateMeets)
{
    const struct {
        std::uint32_t Rate;
        std::int32_t Block;
    } bounds[] = {{200000, 32768}, {160000, 16384}, {80000, 8192}, {40000, 4096}, {20000, 2048},
                  {12000, 1024},   {8000, 512},     {4000, 256},   {1000, 128},   {500, 64}};
    std::int32_t above = 777;  // past 200 kHz the request stands
    for (const auto& b : bounds) {
        EXPECT_EQ(TInputRing::BlockFor(b.Rate, 777, 1), b.Block) << b.Rate;
        EXPECT_EQ(TInputRing::BlockFor(b.Rate + 1, 777, 1), above) << b.Rate + 1;
        above = b.Block;
    }
    EXPECT_EQ(TInputRing::BlockFor(1, 777, 1), 64);
    // Decimated input reads a quarter second of the undecimated rate.
    EXPECT_EQ(TInputRing::BlockFor(48000, 777, 4), 12000);
}

// A four-frame mono wave of codes 1 … 4 into 16-bit slots of six frames:
// both slots get the codes, then silence, and the frame after stays as it was.
TEST(PortBuffers, AFillWritesItsFramesAndNothingAfterThem)
{
    TWaveData wave(4, TWaveFormat(48000, 1, 2));
    for (std::int32_t f = 0; f < 4; ++f)
        ASSERT_TRUE(wave.PutSample(f + 1, std::uint64_t(f), 0));
    const struct {
        const char* what;
        bool loop;
        std::int64_t first, end;
        std::vector<std::uint8_t> played;
    } cases[] = {
        {"once", false, 0, -1, {1, 0, 2, 0, 3, 0, 4, 0, 0, 0, 0, 0}},
        {"looped over frames 1 and 2", true, 1, 3, {2, 0, 3, 0, 2, 0, 3, 0, 2, 0, 3, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TOutputSource source;
        ASSERT_TRUE(source.Prepare(&wave, c.loop, c.first, c.end));
        ASSERT_TRUE(source.Reserve(8));
        std::vector<std::uint8_t> left(14, 0xEE), right(14, 0xEE);
        std::uint8_t* slots[2] = {left.data(), right.data()};
        EXPECT_EQ(source.Fill(slots, 2, 6, {2, 2}, 2), 6);
        std::vector<std::uint8_t> expected = c.played;
        expected.insert(expected.end(), {0xEE, 0xEE});
        EXPECT_EQ(left, expected);
        EXPECT_EQ(right, expected);
    }
}

// 16-bit stereo frames into a 24-bit stereo ring (another port opened it
// wider): each code moves up a byte and stays on its own channel and frame.
TEST(PortBuffers, ABlockOfAnotherWidthIsStoredInTheRingsOwnWidth)
{
    TestClock clock;
    platform::SetClock(&clock);
    TInputRing ring;
    ASSERT_TRUE(ring.Prepare(64, TWaveFormat(500, 2, 3), 1));
    TWaveData block(200, TWaveFormat(500, 2, 2));
    for (std::int32_t f = 0; f < 200; ++f) {
        block.PutSample(3 * f - 300, std::uint64_t(f), 0);
        block.PutSample(300 - 5 * f, std::uint64_t(f), 1);
    }
    TInputRing::StampArrival();
    ring.Store(block, 200);
    std::vector<std::int32_t> left(100), right(100);
    ASSERT_TRUE(ring.ReadLatest(100, left.data(), right.data()));
    // 126 ms later 63 of the block's 64 frames are due: the read ends on the
    // last frame written; at 128 ms a whole block is due and the read waits.
    std::vector<std::int32_t> late(100);
    clock.AdvanceMilliseconds(126);
    ASSERT_TRUE(ring.ReadLatest(100, late.data(), nullptr));
    EXPECT_EQ(late.back(), (3 * 199 - 300) * 256);
    clock.AdvanceMilliseconds(2);
    EXPECT_FALSE(ring.ReadLatest(100, late.data(), nullptr));
    platform::SetClock(nullptr);
    // The read's last frame lies a block (64 frames) behind the 200 written.
    const std::int32_t first = 200 - 64 - 99;
    for (std::int32_t i = 0; i < 100; ++i) {
        ASSERT_EQ(left[std::size_t(i)], (3 * (first + i) - 300) * 256) << i;
        ASSERT_EQ(right[std::size_t(i)], (300 - 5 * (first + i)) * 256) << i;
    }
}

// The driver sample types a port takes, as {bytes, significant bytes} (none for others), and a
// 24-bit slot read and written back at the analysis width of 3 bytes.
TEST(PortBuffers, EachDriverSampleTypeHasItsSlotAndSignificantBytes)
{
    const struct {
        ASIOSampleType type;
        int bytes, significant;
    } cases[] = {{ASIOSTInt16LSB, 2, 2}, {ASIOSTInt24LSB, 3, 3}, {ASIOSTInt32LSB, 4, 3}, {ASIOSampleType{19}, 0, 0}};
    for (const auto& c : cases) {
        const TAsioSampleCodec::SampleSize size = TAsioSampleCodec::GetSampleSize(c.type);
        EXPECT_EQ(std::pair(size.Bytes, size.Significant), std::pair(c.bytes, c.significant)) << c.type;
    }
    const std::uint8_t slot[3] = {0x56, 0x34, 0x92};  // 0x923456: negative in 24 bits
    const TAsioSampleCodec::SampleSize size = TAsioSampleCodec::GetSampleSize(ASIOSTInt24LSB);
    EXPECT_EQ(TAsioSampleCodec::ScaleIn(slot, size, 3), 0x923456 - (1 << 24));
    std::uint8_t out[4] = {0, 0, 0, 0xEE};
    TAsioSampleCodec::ScaleOut(0x923456 - (1 << 24), out, size, 3);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 4), (std::vector<std::uint8_t>{0x56, 0x34, 0x92, 0xEE}));
}

// A decimator built again for another sample width reads the new width: a
// 24-bit DC level of 256000 comes out at 256000 once the filter is full.
TEST(PortBuffers, ADecimatorBuiltForAnotherWidthReadsThatWidth)
{
    const std::int32_t taps = DecimationFilterTaps(2);
    TInputDecimator decimator;
    ASSERT_TRUE(decimator.Build(2, taps, 512, TWaveFormat(48000, 1, 2)));
    ASSERT_TRUE(decimator.Build(2, taps, 512, TWaveFormat(48000, 1, 3)));
    TWaveData block(512, TWaveFormat(48000, 1, 3));
    std::int32_t outputs = 0;
    for (int pass = 0; pass < 3; ++pass) {
        for (std::uint64_t f = 0; f < 512; ++f)
            block.PutSample(256000, f, 0);
        outputs = decimator.Process(block, 512);
    }
    ASSERT_EQ(outputs, 256);
    EXPECT_NEAR(block.GetSample(200, 0, false), 256000.0, 256.0);
}
