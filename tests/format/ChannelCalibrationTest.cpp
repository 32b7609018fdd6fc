#include "format/TChannelCalibration.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <tuple>

#include <gtest/gtest.h>

using Bytes = std::array<std::uint8_t, 634>;

static std::uint32_t Le(const Bytes& b, std::size_t off, int width)
{
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | b[off + i];
    return v;
}
static const char* Text(const Bytes& b, std::size_t off) { return reinterpret_cast<const char*>(&b[off]); }

// Unpacking a patterned record checks every field's file offset; packing it
// again must give back the same bytes, so both directions are pinned.
TEST(ChannelCalibration, FieldsSitAtTheirFileOffsetsBytesRoundTripAndTextsStayBounded)
{
    Bytes original;
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::uint8_t>(i * 31 + 5);
    // Terminated texts with leftovers behind the terminator.
    original[16 + 3] = original[76 + 59] = original[156 + 10] = 0;
    const TChannelCalibration c = TChannelCalibration::Unpack(original.data());

    // {offset, width, field's bits}
    const std::tuple<std::size_t, int, std::uint32_t> fields[] = {
        {0, 4, c.IsEnabled}, {4, 4, std::bit_cast<std::uint32_t>(c.RefLevel)}, {8, 4, c.RefType}, {12, 4, c.RefUnits},
        {136, 4, c.LabelType}, {140, 4, std::bit_cast<std::uint32_t>(c.PctFullScale)},
        {144, 4, std::bit_cast<std::uint32_t>(c.CalRatio)}, {148, 4, c.ConversionType}, {152, 4, c.IntegrationType},
        // No alignment gap after the 16-bit field.
        {468, 2, c.CalCreateMode}, {470, 4, std::bit_cast<std::uint32_t>(c.TransducerSensitivityVolts)},
        {474, 4, std::bit_cast<std::uint32_t>(c.DAQVoltageRange)}, {478, 2, c.CalVersion}};
    for (const auto& [offset, width, value] : fields)
        EXPECT_EQ(value, Le(original, offset, width)) << "offset " << offset;
    EXPECT_STREQ(c.LabelLinear, Text(original, 16));
    EXPECT_STREQ(c.LabelLog, Text(original, 76));
    EXPECT_STREQ(c.ChannelName, Text(original, 156));
    EXPECT_TRUE(std::equal(c.Reserved1.begin(), c.Reserved1.end(), original.begin() + 196));
    EXPECT_TRUE(std::equal(c.Reserved2.begin(), c.Reserved2.end(), original.begin() + 480));

    Bytes again{};
    c.Pack(again.data());
    EXPECT_EQ(again, original);

    // Unterminated texts stay bounded; too few bytes are refused untouched.
    Bytes unterminated;
    unterminated.fill('x');
    const TChannelCalibration u = TChannelCalibration::Unpack(unterminated.data());
    EXPECT_EQ(std::strlen(u.LabelLinear), 59u);
    EXPECT_EQ(std::strlen(u.ChannelName), 39u);

    TChannelCalibration out = DefaultChannelCalibration(0);
    EXPECT_FALSE(TChannelCalibration::Unpack(unterminated.data(), unterminated.size() - 1, out));
    EXPECT_STREQ(out.ChannelName, "Microphone");
}
