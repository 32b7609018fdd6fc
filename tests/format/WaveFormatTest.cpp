#include "format/TWaveFormat.h"

#include <array>
#include <cstdint>

#include <gtest/gtest.h>

TEST(WaveFormat, SetCorrectsUnusableValuesAndDerivesTheRange)
{
    TWaveFormat f(0, 0, 0);
    EXPECT_EQ(f, TWaveFormat(48000, 1, 2));
    EXPECT_EQ(f.GetBitsPerSample(), 16);
    EXPECT_EQ(f.MaxValue, 32767);
    EXPECT_EQ(f.MinValue, -32767);
    EXPECT_EQ(f.ZeroOffset, 0);

    f.Set(44100, 3, 5);
    EXPECT_EQ(f, TWaveFormat(44100, 1, 2));

    f.Set(8000, 2, 1);
    EXPECT_EQ(f.GetBitsPerSample(), 8);
    EXPECT_EQ(f.MaxValue, 255);
    EXPECT_EQ(f.MinValue, 0);
    EXPECT_EQ(f.ZeroOffset, 127);
    EXPECT_EQ(TWaveFormat(8000, 1, 3).MinValue, -8388607);

    // A 4-byte range needs more than 32 bits.
    const TWaveFormat f32(48000, 1, 4);
    EXPECT_EQ(f32.MinValue, -2147483647);
    EXPECT_EQ(f32.Range(), 4294967294LL);
    EXPECT_DOUBLE_EQ(f32.HalfRange(), 2147483647.0);
}

TEST(WaveFormat, DecodeAndEncodeExtendOnlyTwentyFourBits)
{
    const TWaveFormat f24(48000, 1, 3);
    EXPECT_EQ(f24.DecodeSample(8388607), 8388607);
    EXPECT_EQ(f24.DecodeSample(0x800000), -8388608);
    EXPECT_EQ(f24.DecodeSample(0xFFFFFF), -1);
    EXPECT_EQ(f24.EncodeSample(-1), 0xFFFFFF);
    EXPECT_EQ(f24.EncodeSample(-8388608), 8388608);
    EXPECT_EQ(f24.EncodeSample(5), 5);

    const TWaveFormat f16(48000, 1, 2);
    EXPECT_EQ(f16.DecodeSample(32768), 32768);
    EXPECT_EQ(f16.EncodeSample(-5), -5);
}

TEST(WaveFormat, SampleBytesAreLittleEndianPerWidth)
{
    struct Case {
        std::uint16_t bytes;
        std::int32_t value;
        std::array<std::uint8_t, 4> stored;
    };
    const Case cases[] = {
        {1, 127, {0x7F}},  // 8-bit silence
        {1, 255, {0xFF}},
        {2, -2, {0xFE, 0xFF}},
        {2, 0x1234, {0x34, 0x12}},
        {3, -2, {0xFE, 0xFF, 0xFF}},
        {3, 0x123456, {0x56, 0x34, 0x12}},
        {3, -8388607, {0x01, 0x00, 0x80}},
        {4, -2, {0xFE, 0xFF, 0xFF, 0xFF}},
        {4, 0x12345678, {0x78, 0x56, 0x34, 0x12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytes << " bytes, value " << c.value);
        const TWaveFormat f(48000, 1, c.bytes);
        std::array<std::uint8_t, 5> out;
        out.fill(0xAA);  // the byte after the sample must stay untouched
        f.WriteSample(out.data(), c.value);
        for (std::size_t i = 0; i < c.bytes; ++i)
            EXPECT_EQ(out[i], c.stored[i]) << "byte " << i;
        EXPECT_EQ(out[c.bytes], 0xAA);
        EXPECT_EQ(f.ReadSample(c.stored.data()), c.value);
    }
}

TEST(WaveFormat, ExtremesRoundTripAndOverdriveSaturates)
{
    for (std::uint16_t bytes = 1; bytes <= 4; ++bytes) {
        const TWaveFormat f(48000, 1, bytes);
        for (std::int32_t v : {f.MinValue, f.MaxValue, f.ZeroOffset, 0}) {
            std::uint8_t buf[4] = {};
            f.WriteSample(buf, v);
            EXPECT_EQ(f.ReadSample(buf), v) << bytes << " bytes";
        }
    }

    std::uint8_t buf[4] = {};
    const TWaveFormat f16(48000, 1, 2);
    f16.WriteSample(buf, 40000);
    EXPECT_EQ(f16.ReadSample(buf), 32767);
    const TWaveFormat f24(48000, 1, 3);
    f24.WriteSample(buf, -9000000);
    EXPECT_EQ(f24.ReadSample(buf), -8388608);
    const TWaveFormat f8(48000, 1, 1);
    f8.WriteSample(buf, -3);
    EXPECT_EQ(buf[0], 0x00);
}
