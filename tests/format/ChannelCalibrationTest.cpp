#include "format/TChannelCalibration.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

namespace {

using Bytes = std::array<std::uint8_t, TChannelCalibration::kPackedSize>;

std::uint32_t Le(const Bytes& b, std::size_t off, int width)
{
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | b[off + i];
    return v;
}
float LeF32(const Bytes& b, std::size_t off) { return std::bit_cast<float>(Le(b, off, 4)); }
const char* Text(const Bytes& b, std::size_t off) { return reinterpret_cast<const char*>(&b[off]); }

}  // namespace

TEST(ChannelCalibration, PackPutsEveryFieldAtItsFileOffset)
{
    static_assert(TChannelCalibration::kPackedSize == 634);
    TChannelCalibration c;
    c.IsEnabled = 0x01020304;
    c.RefLevel = 1.5f;
    c.RefType = 0x11121314;
    c.RefUnits = 10;
    std::strcpy(c.LabelLinear, "linear");
    std::strcpy(c.LabelLog, "log");
    c.LabelType = 0x21222324;
    c.PctFullScale = -0.25f;
    c.CalRatio = 3.75f;
    c.ConversionType = 0x31323334;
    c.IntegrationType = 0x41424344;
    std::strcpy(c.ChannelName, "name");
    c.Reserved1.fill(0x5A);
    c.CalCreateMode = 0xA1A2;
    c.TransducerSensitivityVolts = 0.012f;
    c.DAQVoltageRange = 0.625f;
    c.CalVersion = 5100;
    c.Reserved2.fill(0xC3);

    Bytes b;
    b.fill(0xEE);
    c.Pack(b.data());
    EXPECT_EQ(b[0], 0x04);  // least significant byte first
    EXPECT_EQ(Le(b, 0, 4), 0x01020304u);
    EXPECT_EQ(LeF32(b, 4), 1.5f);
    EXPECT_EQ(Le(b, 8, 4), 0x11121314u);
    EXPECT_EQ(Le(b, 12, 4), 10u);
    EXPECT_STREQ(Text(b, 16), "linear");
    EXPECT_STREQ(Text(b, 76), "log");
    EXPECT_EQ(Le(b, 136, 4), 0x21222324u);
    EXPECT_EQ(LeF32(b, 140), -0.25f);
    EXPECT_EQ(LeF32(b, 144), 3.75f);
    EXPECT_EQ(Le(b, 148, 4), 0x31323334u);
    EXPECT_EQ(Le(b, 152, 4), 0x41424344u);
    EXPECT_STREQ(Text(b, 156), "name");
    EXPECT_EQ(std::count(b.begin() + 196, b.begin() + 468, 0x5A), 272);
    EXPECT_EQ(Le(b, 468, 2), 0xA1A2u);
    EXPECT_EQ(LeF32(b, 470), 0.012f);  // no alignment gap after the u16
    EXPECT_EQ(LeF32(b, 474), 0.625f);
    EXPECT_EQ(Le(b, 478, 2), 5100u);
    EXPECT_EQ(std::count(b.begin() + 480, b.end(), 0xC3), 154);
}

TEST(ChannelCalibration, BytesRoundTripExactlyAndBadTextStaysBounded)
{
    Bytes original;
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::uint8_t>(i * 31 + 5);
    // Terminated texts with leftovers behind the terminator.
    original[16 + 3] = original[76 + 59] = original[156 + 10] = 0;
    Bytes again{};
    TChannelCalibration::Unpack(original.data()).Pack(again.data());
    EXPECT_EQ(again, original);

    Bytes unterminated;
    unterminated.fill('x');
    const TChannelCalibration c = TChannelCalibration::Unpack(unterminated.data());
    EXPECT_EQ(std::strlen(c.LabelLinear), 59u);
    EXPECT_EQ(std::strlen(c.LabelLog), 59u);
    EXPECT_EQ(std::strlen(c.ChannelName), 39u);

    TChannelCalibration out = DefaultChannelCalibration(0);
    EXPECT_FALSE(TChannelCalibration::Unpack(unterminated.data(), unterminated.size() - 1, out));
    EXPECT_STREQ(out.ChannelName, "Microphone");
}
