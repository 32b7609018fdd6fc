#include "format/TWaveFormat.h"

#include <array>
#include <cstdint>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

TEST(WaveFormat, SetCorrectsValuesAndSamplesAreCodedLittleEndianSaturating)
{
    TWaveFormat f(0, 0, 0);
    EXPECT_EQ(f, TWaveFormat(48000, 1, 2));

    f.Set(44100, 3, 5);
    EXPECT_EQ(f, TWaveFormat(44100, 1, 2));

    f.Set(8000, 2, 1);
    EXPECT_EQ(std::vector({f.MaxValue, f.MinValue, f.ZeroOffset}), std::vector({255, 0, 127}));
    for (std::uint16_t bytes = 2; bytes <= 4; ++bytes)
        EXPECT_EQ(TWaveFormat(8000, 1, bytes).MinValue, 1 - (1LL << (8 * bytes - 1)));

    // A 4-byte range needs more than 32 bits.
    const TWaveFormat f32(48000, 1, 4);
    EXPECT_EQ(f32.Range(), 4294967294LL);
    EXPECT_DOUBLE_EQ(f32.HalfRange(), 2147483647.0);

    // {bytes, value, stored}: the bytes after the sample stay untouched.
    const std::tuple<std::uint16_t, std::int32_t, std::array<std::uint8_t, 5>> cases[] = {
        {1, 127, {0x7F, 0xAA, 0xAA, 0xAA, 0xAA}}, // 8-bit silence
        {2, 0x1234, {0x34, 0x12, 0xAA, 0xAA, 0xAA}},
        {3, -8388607, {0x01, 0x00, 0x80, 0xAA, 0xAA}},
        {4, 0x12345678, {0x78, 0x56, 0x34, 0x12, 0xAA}},
    };
    for (const auto& [bytes, value, stored] : cases) {
        SCOPED_TRACE(testing::Message() << bytes << " bytes, value " << value);
        const TWaveFormat coded(48000, 1, bytes);
        std::array<std::uint8_t, 5> out;
        out.fill(0xAA);
        coded.WriteSample(out.data(), value);
        EXPECT_EQ(out, stored);
        EXPECT_EQ(coded.ReadSample(stored.data()), value);
    }

    const TWaveFormat f24(48000, 1, 3);
    EXPECT_EQ(f24.DecodeSample(0x800000), -8388608);
    const TWaveFormat f16(48000, 1, 2);
    EXPECT_EQ(f16.DecodeSample(32768), 32768);
    EXPECT_EQ(f16.EncodeSample(-5), -5);

    std::uint8_t buf[4] = {};
    f16.WriteSample(buf, 40000);
    EXPECT_EQ(f16.ReadSample(buf), 32767);
    f24.WriteSample(buf, -9000000);
    EXPECT_EQ(f24.ReadSample(buf), -8388608);
    TWaveFormat(48000, 1, 1).WriteSample(buf, -3);
    EXPECT_EQ(buf[0], 0x00);
}

