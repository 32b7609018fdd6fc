// Driver buffer codes: a block encoded at once gives the codes one sample at
// a time gives, and both are the hand-worked ones: round to nearest with
// ties to even, saturating at the type's range.

#include "drivers/common/SampleCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::int32_t CodeOf(const std::uint8_t* slot, int bytes)
{
    std::uint32_t word = 0;
    for (int i = 0; i < bytes; ++i)
        word |= std::uint32_t{slot[i]} << (8 * i);
    const int unused = 32 - 8 * bytes;
    return static_cast<std::int32_t>(word << unused) >> unused;
}

} // namespace

TEST(SampleCodec, ABlockEncodesToTheCodesOfEachSampleRoundedToEvenAndSaturated)
{
    struct Case {
        ASIOSampleType type;
        float value;
        std::int32_t code;
    };
    constexpr float kStep16 = 1.0f / 32768.0f;
    constexpr float kStep24 = 1.0f / 8388608.0f;
    const std::vector<Case> cases = {
        {ASIOSTInt16LSB, 0.0f, 0},          {ASIOSTInt16LSB, 0.5f * kStep16, 0},
        {ASIOSTInt16LSB, 1.5f * kStep16, 2}, {ASIOSTInt16LSB, 2.5f * kStep16, 2},
        {ASIOSTInt16LSB, -1.5f * kStep16, -2}, {ASIOSTInt16LSB, 0.25f, 8192},
        {ASIOSTInt16LSB, 1.0f, 32767},       {ASIOSTInt16LSB, -1.0f, -32768},
        {ASIOSTInt16LSB, 7.0f, 32767},       {ASIOSTInt16LSB, -7.0f, -32768},
        {ASIOSTInt24LSB, 3.5f * kStep24, 4}, {ASIOSTInt24LSB, -0.5f, -4194304},
        {ASIOSTInt24LSB, 1.2f, 8388607},     {ASIOSTInt24LSB, -100.0f, -8388608},
        {ASIOSTInt32LSB, 0.5f, 1073741824},  {ASIOSTInt32LSB, 1.0f, 2147483647},
        {ASIOSTInt32LSB, -1.0f, -2147483647 - 1},
    };
    for (ASIOSampleType type : {ASIOSTInt16LSB, ASIOSTInt24LSB, ASIOSTInt32LSB}) {
        const int bytes = SampleCodec::BytesPerSample(type);
        std::vector<float> values;
        std::vector<std::int32_t> codes;
        for (const Case& c : cases) {
            if (c.type == type) {
                values.push_back(c.value);
                codes.push_back(c.code);
            }
        }
        std::vector<std::uint8_t> block(values.size() * bytes + 1, 0xAA), single(values.size() * bytes + 1, 0xAA);
        SampleCodec::EncodeBlock(type, values.data(), values.size(), block.data());
        for (std::size_t n = 0; n < values.size(); ++n)
            SampleCodec::Encode(type, values[n], single.data() + n * bytes);
        EXPECT_EQ(block, single) << bytes << " bytes";
        std::vector<std::int32_t> got;
        for (std::size_t n = 0; n < values.size(); ++n)
            got.push_back(CodeOf(block.data() + n * bytes, bytes));
        EXPECT_EQ(got, codes) << bytes << " bytes";
        EXPECT_EQ(block.back(), 0xAA) << "nothing written past the block";
    }
}
