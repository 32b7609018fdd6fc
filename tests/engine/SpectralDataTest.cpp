#include "engine/DbConversions.h"
#include "engine/LineKernels.h"
#include "tests/engine/SpectralTestSupport.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>
#include <vector>

using spectral_test::MakeScaling;
using spectral_test::MakeSettings;

TEST(SpectralData, LineGeometryFollowsRateAndSizeAndTheNameIsBounded)
{
    // Δf = rate / N exactly for N = 65536.
    for (auto [rate, spacing] : {std::pair{48000u, 0.732421875}, {192000u, 2.9296875}}) {
        const SpectralData data(MakeSettings(rate), MakeScaling(), 0, false);
        EXPECT_EQ(std::pair(data.GetLines(), data.GetStartBin()), std::pair(32768u, 3u));
        EXPECT_DOUBLE_EQ(data.GetLineSpacing(), spacing);
        EXPECT_FLOAT_EQ(data.GetLowerLimit(), float(3 * spacing));
        EXPECT_FLOAT_EQ(data.GetUpperLimit(), 0.99f * rate / 2.0f);
        EXPECT_FLOAT_EQ(data.BinToFrequency(32767), float(32767 * spacing));
        EXPECT_FLOAT_EQ(data.BinToFrequency(32768), rate / 2.0f);
        EXPECT_FLOAT_EQ(data.GetSpan(), rate / 2.0f);
    }
    // Decimation narrows the span.
    TProcessingSettings decimated = MakeSettings(48000);
    decimated.DecimationRatio = 4;
    EXPECT_FLOAT_EQ(SpectralData(decimated, MakeScaling(), 0, false).GetSpan(), 6000.0f);

    // Frequencies round to the nearest line within the spectrum (1000 / 0.732421875 = 1365.33).
    const SpectralData data(MakeSettings(48000), MakeScaling(), 0, false);
    const float df = data.GetLineSpacing();
    std::vector<std::uint32_t> bins;
    for (float f : {-1.0f, 0.0f, 0.5f * df, 0.49f * df, 1000.0f, 24000.0f, 30000.0f, std::nanf("")})
        bins.push_back(data.FrequencyToBin(f));
    EXPECT_EQ(bins, (std::vector<std::uint32_t>{0, 0, 1, 0, 1365, 32767, 32767, 0}));

    // The name defaults to "Spectrum" and is bounded.
    SpectralData named(MakeSettings(48000, 1024), MakeScaling(), 0, false);
    EXPECT_STREQ(named.GetName(), "Spectrum");
    named.SetName("");
    EXPECT_STREQ(named.GetName(), "Spectrum");
    named.SetName(std::string(200, 'x').c_str());
    EXPECT_EQ(std::string(named.GetName()), std::string(79, 'x'));
}

// Sizes the transform cannot take, and a failed allocation (reported), give an
// object whose every accessor answers its no-value result, and nothing crashes.
TEST(SpectralData, FailedObjectsAreInert)
{
    MessageLog log;
    std::vector<std::unique_ptr<SpectralData>> failed;
    for (std::uint32_t size : {0u, 1000u, 16u, 131072u}) {
        failed.push_back(std::make_unique<SpectralData>(MakeSettings(48000, size), MakeScaling(), 0, false));
        EXPECT_TRUE(failed.back()->GetComplexBuffer() == nullptr && failed.back()->GetPowerBuffer() == nullptr);
    }
    EXPECT_TRUE(log.texts.empty());
    platform::FailNextAllocations(1);
    failed.push_back(std::make_unique<SpectralData>(MakeSettings(48000, 1024), MakeScaling(), 0, false));
    EXPECT_EQ(log.texts.at(0), spectral_test::kNoMemory);
    for (auto& data : failed) {
        EXPECT_TRUE(data->HasFailed());
        data->ComputeSpectrum();
        data->Average(false);
        data->UpdatePeakHold();
        float frequency = 1.0f, level = 1.0f;
        data->FindPeak(0, 100, &frequency, &level, 0);
        constexpr float no = SpectralData::kNoValue;
        EXPECT_EQ(std::vector({data->GetValue(10), data->GetTotalPower(), data->GetHoldValue(10), data->GetTHD(),
                               data->GetSNR()}),
                  std::vector({0.0f, no, no, 0.0f, 0.0f}));
        EXPECT_FALSE(std::isnan(frequency) || std::isnan(level));
    }
}

// Another object's transform is taken whole when the sizes agree, and not
// at all when they do not.
TEST(SpectralData, ATransformIsCopiedWholeBetweenObjectsOfOneSize)
{
    SpectralData from(MakeSettings(48000, 1024), MakeScaling(), 0, false), into(MakeSettings(48000, 1024), MakeScaling(), 1, false);
    SpectralData other(MakeSettings(48000, 2048), MakeScaling(), 0, false);
    std::iota(from.GetComplexBuffer(), from.GetComplexBuffer() + 1024, 1.0f);
    into.CopyTransformFrom(from);
    EXPECT_TRUE(std::equal(from.GetComplexBuffer(), from.GetComplexBuffer() + 1024, into.GetComplexBuffer()));
    other.CopyTransformFrom(from);
    EXPECT_TRUE(std::all_of(other.GetComplexBuffer(), other.GetComplexBuffer() + 2048, [](float v) { return v == 0.0f; }));
}

// The line arrays' power-to-dB conversion (one line and whole arrays)
// rounds to the float the library's log10 gives, over the whole range of
// float powers, and keeps the no-value marker for what has no logarithm.
TEST(DbConversions, LinePowersToDbMatchTheLibraryLogarithm)
{
    std::vector<float> powers{0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), 1.0e-44f, 1.0f, 100.0f};
    for (double p = 1.0e-38; p < 3.0e38; p *= 1.0173)
        powers.push_back(static_cast<float>(p));
    std::vector<float> dB(powers.size());
    db::LinePowersToDb(powers.data(), dB.data(), powers.size());
    int differing = 0;
    for (std::size_t i = 0; i < powers.size(); ++i) {
        const float expected = db::PowerToDb(powers[i]);
        ASSERT_NEAR(dB[i], expected, std::abs(expected) * 2e-7f + 1e-6f) << powers[i];
        EXPECT_EQ(db::LinePowerToDb(powers[i]), dB[i]) << powers[i];
        differing += dB[i] != expected;
    }
    EXPECT_LT(differing, 5);
    EXPECT_EQ(std::vector(dB.begin(), dB.begin() + 6),
              std::vector({db::kNoValue, db::kNoValue, db::kNoValue, dB[3], 0.0f, 20.0f}));
}

TEST(SpectralData, LineScalingCoversEveryLineWhateverTheCount)
{
    // Eight lines at a time, then the rest one by one: 3 and 11 lines take
    // only the tail, or both. Line i (from 1) times i/2 is i²/2.
    for (const std::size_t count : {3u, 11u}) {
        std::vector<float> values(count), factors(count), pairs, squares, squarePairs;
        std::iota(values.begin(), values.end(), 1.0f);
        for (const float v : values) {
            factors[std::size_t(v) - 1] = 0.5f * v;
            pairs.insert(pairs.end(), {v, -v});
            squares.push_back(0.5f * v * v);
            squarePairs.insert(squarePairs.end(), {0.5f * v * v, -0.5f * v * v});
        }
        // A line past the count is left alone.
        values.push_back(7.0f);
        factors.push_back(3.0f);
        pairs.insert(pairs.end(), {7.0f, -7.0f});
        squares.push_back(7.0f);
        squarePairs.insert(squarePairs.end(), {7.0f, -7.0f});
        line_kernels::ScaleInPlace(values.data(), factors.data(), count);
        line_kernels::ScalePairsInPlace(pairs.data(), factors.data(), count);
        EXPECT_EQ(values, squares) << count << " lines";
        EXPECT_EQ(pairs, squarePairs) << count << " lines";
    }
}
