// Every averaged line gets the same mean, the lines the vectorised kernels
// take in fours and the odd lines left at the top of the range alike (the
// averaged range is one short of the block's lines, so a few are always left).
#include "tests/engine/SpectralTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using spectral_test::MakeScaling;
using spectral_test::MakeSettings;

namespace {

// Lines whose value differs from `expected`, listed as "line:value".
std::string Differing(const float* values, std::uint32_t count, float expected)
{
    std::string out;
    for (std::uint32_t i = 0; i < count; ++i)
        if (std::abs(values[i] - expected) > 1e-5f * expected)
            out += std::to_string(i) + ":" + std::to_string(values[i]) + " ";
    return out;
}

} // namespace

TEST(SpectralAveragingEveryLine, EachAverageTypeGivesEveryLineTheHandWorkedMeanWithAndWithoutTheHold)
{
    // Block j has every line at j + 2j·i (power 5j²); each line's averaged
    // complex value is the mean of the blocks', whatever the type.
    const struct {
        const char* name;
        std::uint16_t type;
        float mean[3];
    } cases[] = {
        {"linear then exponential: mean of 5j²", 0, {5.0f, 12.5f, 70.0f / 3.0f}},
        {"moving window of 4: mean of 5j²", 1, {5.0f, 12.5f, 70.0f / 3.0f}},
        {"vector: 5 (mean of j)²", 2, {5.0f, 11.25f, 20.0f}},
    };
    for (const auto& c : cases) {
        for (std::uint16_t hold : {0, 1}) {
            SCOPED_TRACE(testing::Message() << c.name << ", hold mode " << hold);
            SpectralData data(MakeSettings(48000, 1024, 4, c.type), MakeScaling(), 0, false);
            data.SetPeakHoldMode(hold);
            data.ResetAveraging();
            const std::uint32_t averaged = data.GetLines() - 1;  // 511: three left over the fours
            for (int j = 1; j <= 3; ++j) {
                float* block = data.GetComplexBuffer();
                for (std::uint32_t i = 0; i < data.GetLines(); ++i) {
                    block[2 * i] = static_cast<float>(j);
                    block[2 * i + 1] = static_cast<float>(2 * j);
                }
                data.Average(false);
                EXPECT_EQ(Differing(data.GetPowerBuffer(), averaged, c.mean[j - 1]), "") << "block " << j;
                std::vector<float> re(averaged), im(averaged);
                for (std::uint32_t i = 0; i < averaged; ++i) {
                    re[i] = data.GetAveragedComplexSpectrum()[2 * i];
                    im[i] = data.GetAveragedComplexSpectrum()[2 * i + 1];
                }
                const float meanJ = (1.0f + static_cast<float>(j)) / 2.0f;
                EXPECT_EQ(Differing(re.data(), averaged, meanJ) + Differing(im.data(), averaged, 2 * meanJ), "")
                    << "block " << j;
                if (hold != 0) {
                    EXPECT_EQ(Differing(data.GetLatestPowerBuffer(), averaged, float(5 * j * j)), "") << "block " << j;
                }
            }
        }
    }
}

// Each line averages its own values: line i at i, then at 2i, averages to
// (i² + 4i²)/2 = 2.5·i², for every type that averages powers, on the lines
// taken in fours and on those left over.
TEST(SpectralAveragingEveryLine, EachLineAveragesItsOwnValues)
{
    for (std::uint16_t type : {0, 1}) {
        SCOPED_TRACE(type);
        SpectralData data(MakeSettings(48000, 1024, 4, type), MakeScaling(), 0, false);
        data.ResetAveraging();
        for (int j = 1; j <= 2; ++j) {
            float* block = data.GetComplexBuffer();
            for (std::uint32_t i = 0; i < data.GetLines(); ++i) {
                block[2 * i] = static_cast<float>(j * i);
                block[2 * i + 1] = 0.0f;
            }
            data.Average(false);
        }
        std::string wrong;
        for (std::uint32_t i = 1; i < data.GetLines() - 1; ++i) {
            const float expected = 2.5f * float(i) * float(i);
            if (std::abs(data.GetPowerBuffer()[i] - expected) > 1e-5f * expected)
                wrong += std::to_string(i) + ":" + std::to_string(data.GetPowerBuffer()[i]) + " ";
        }
        EXPECT_EQ(wrong, "");
    }
}
