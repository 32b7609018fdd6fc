#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/SpectralData.h"
#include "platform/MessageBox.h"
#include "platform/ZeroFilledArray.h"
#include "tests/engine/SpectralTestSupport.h"

namespace {

using Access = SpectralDataTestAccess;

std::unique_ptr<SpectralData> MakeBands(std::uint32_t rate, std::uint32_t fftSize, std::uint16_t b)
{
    ScalingOpts scaling = spectral_test::MakeScaling(ScalingOpts::kLinear, ScalingOpts::kOctave);
    scaling.OctaveNumber = b;
    return std::make_unique<SpectralData>(spectral_test::MakeSettings(rate, fftSize), scaling, 0, false);
}

void FillPower(SpectralData& d, float power)
{
    std::fill_n(Access::AvgPower(d), d.GetLines(), power);
}

double Level(SpectralData& d, std::uint32_t band) { return Access::BandLevels(d)[band]; }

} // namespace

TEST(OctaveBands, CountAndTopBandFollowTheSpan)
{
    auto third = MakeBands(48000, 65536, 3);
    EXPECT_NEAR(third->GetBands()[43].Center, 19952.62, 0.05);
    EXPECT_NEAR(third->GetBands()[1].Center, 1.258925, 1e-5);
    EXPECT_NEAR(third->GetBands()[7].Center, 5.011872, 1e-5);
    EXPECT_NEAR(third->GetBandLowerEdge(0), std::pow(2.0, -1.0 / 6.0), 1e-6);
    EXPECT_EQ(third->GetBandLowerEdge(31), third->GetBandUpperEdge(30));

    auto octave = MakeBands(48000, 65536, 1);
    ASSERT_EQ(octave->GetBandCount(), 15u);
    EXPECT_NEAR(octave->GetBands()[14].Center, 15848.93, 0.05);
    EXPECT_FLOAT_EQ(octave->GetBandCenter(14), 16000.0f);
    EXPECT_NEAR(octave->GetBandUpperEdge(14) / octave->GetBands()[14].Center, std::sqrt(2.0), 1e-6);

    auto zero = MakeBands(48000, 65536, 0);
    ASSERT_EQ(zero->GetBandCount(), 15u);
    EXPECT_EQ(zero->GetBandUpperEdge(14), octave->GetBandUpperEdge(14));

    EXPECT_EQ(MakeBands(192000, 65536, 3)->GetBandCount(), 50u);
    EXPECT_EQ(MakeBands(192000, 65536, 1)->GetBandCount(), 17u);
}

TEST(OctaveBands, NominalCentresAreThePreferredNumbers)
{
    const std::vector<float> preferred = {
        1, 1.25, 1.6, 2, 2.5, 3.15, 4, 5, 6.3, 8, 10, 12.5, 16, 20, 25, 31.5, 40, 50, 63, 80, 100, 125,
        160, 200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000,
        6300, 8000, 10000, 12500, 16000, 20000};
    auto d = MakeBands(48000, 65536, 3);
    ASSERT_EQ(d->GetBandCount(), preferred.size());
    for (std::uint32_t n = 0; n < preferred.size(); ++n)
        EXPECT_FLOAT_EQ(d->GetBandCenter(n), preferred[n]) << "band " << n;
    EXPECT_EQ(d->GetBandCenter(44), 0.0f);
    EXPECT_EQ(d->GetBandUpperEdge(44), 0.0f);

    EXPECT_EQ(d->NominalBandCenter(0.5f), 1.0f);
    EXPECT_EQ(d->NominalBandCenter(2.0e6f), 1.0e6f);
    EXPECT_FLOAT_EQ(d->NominalBandCenter(1.35f), 1.33f);  // equally near 1.33 and 1.37: the first wins
    // Twenty-four bands an octave: the nominal centres of the fine series,
    // 100 Hz up in band 160.
    const float centres[] = {100, 103, 106, 109, 112, 115, 118, 121, 125, 130, 133, 137, 140, 145, 150, 155,
                         160, 165, 170, 175, 180, 185, 190, 195, 200, 206, 212, 218, 224, 230, 237, 244,
                         250, 257, 265, 272, 280, 290, 300, 307, 315, 325, 335, 345, 355, 365, 375, 387,
                         400, 412, 425, 437, 450, 462, 475, 487, 500, 515, 530, 545, 560, 580, 600, 615,
                         630, 650, 670, 690, 710, 730, 750, 775, 800, 825, 850, 875, 900, 925, 950, 975};
    auto fine = MakeBands(48000, 65536, 24);
    for (std::uint32_t n = 0; n < std::size(centres); ++n) {
        EXPECT_FLOAT_EQ(fine->GetBandCenter(160 + n), centres[n]) << "band " << 160 + n;
        EXPECT_FLOAT_EQ(fine->GetBandCenter(240 + n), 10 * centres[n]) << "band " << 240 + n;
    }
    // Beyond the table's resolution: four significant digits, cut off.
    EXPECT_FLOAT_EQ(MakeBands(48000, 4096, 48)->NominalBandCenter(1234.567f), 1234.0f);
}

TEST(OctaveBands, FrequencyToBandAndShownRange)
{
    auto d = MakeBands(48000, 65536, 3);
    EXPECT_EQ(d->FrequencyToBand(0.1f), 0u);
    EXPECT_EQ(d->FrequencyToBand(-5.0f), 0u);
    EXPECT_EQ(d->FrequencyToBand(23000.0f), 43u);
    EXPECT_EQ(d->FrequencyToBand(d->GetBandLowerEdge(31)), 31u);
    EXPECT_EQ(d->GetBinIndex(1000.0f), 30u);
    EXPECT_FLOAT_EQ(d->GetBinFrequency(30), 1000.0f);

    // Δf = 0.7324 Hz: band 6 (3.55–4.47 Hz) spans lines 5–6, band 7 (4.47–5.63 Hz) lines 6–8.
    EXPECT_EQ(d->GetFirstBand(), 7u);
    EXPECT_EQ(d->GetStartBin(), 7u);
    EXPECT_EQ(d->GetEndBin(), 43u);
    EXPECT_NEAR(d->GetStartFrequency(), std::pow(10.0, 0.6) * std::pow(2.0, 1.0 / 6.0), 1e-5);
    EXPECT_NEAR(d->GetEndFrequency(), std::pow(10.0, 4.3) * std::pow(2.0, 1.0 / 6.0), 0.01);
}

TEST(OctaveBands, BandInsideOneLineTakesBothWeights)
{
    auto d = MakeBands(48000, 1024, 3);  // Δf = 46.875 Hz
    const TBandLineMap& map = d->GetBandLineMap()[10];  // 8.91–11.22 Hz, inside line 0
    ASSERT_EQ(map.LowLine, 0u);
    ASSERT_EQ(map.HighLine, 0u);
    const double overlap = (d->GetBandUpperEdge(10) - d->GetBandLowerEdge(10)) / 46.875;
    EXPECT_NEAR(map.LowWeight + map.HighWeight - 1.0, overlap, 1e-6);

    FillPower(*d, 2.0f);
    Access::ComputeBandLevels(*d, false, false);
    EXPECT_NEAR(Level(*d, 10), 10.0 * std::log10(2.0 * (1.0 + overlap)), 1e-4);
    Access::ComputeBandLevels(*d, true, false);
    EXPECT_NEAR(Level(*d, 10), 10.0 * std::log10(2.0 * (1.0 + overlap) / overlap), 1e-4);
}

TEST(OctaveBands, WhiteSpectrumRisesWithBandwidth)
{
    for (std::uint16_t b : {1, 3}) {
        auto d = MakeBands(48000, 65536, b);
        FillPower(*d, 1.0f);
        Access::ComputeBandLevels(*d, false, false);
        const double step = 10.0 * std::log10(std::pow(2.0, 1.0 / b));
        for (std::uint32_t n = 10 * b / 3 + 1; n + 1 < d->GetLastBand(); ++n) {
            EXPECT_NEAR(Level(*d, n + 1) - Level(*d, n), step, 0.011) << "b " << b << " band " << n;
            const double lines = (d->GetBandUpperEdge(n) - d->GetBandLowerEdge(n)) / d->GetLineSpacing();
            EXPECT_NEAR(Level(*d, n), 10.0 * std::log10(lines), 1e-3);
        }
        FillPower(*d, 4.0e-3f);
        Access::ComputeBandLevels(*d, true, false);
        for (std::uint32_t n = d->GetFirstBand(); n <= d->GetLastBand(); ++n)
            EXPECT_NEAR(Level(*d, n), 10.0 * std::log10(4.0e-3), 1e-4) << "band " << n;
    }
}

TEST(OctaveBands, TopBandBeyondTheSpanStaysInRange)
{
    for (std::uint32_t rate : {4000u, 8000u, 32000u, 44100u}) {
        for (std::uint32_t fft : {512u, 65536u}) {
            auto d = MakeBands(rate, fft, 3);
            const std::uint32_t B = d->GetBandCount(), L = d->GetLines();
            ASSERT_GT(d->GetBandUpperEdge(B - 1), d->GetSpan()) << rate;
            for (std::uint32_t n = 0; n < B; ++n) {
                const TBandLineMap& m = d->GetBandLineMap()[n];
                EXPECT_LE(m.LowLine, m.HighLine);
                EXPECT_LT(m.HighLine, L);
                EXPECT_TRUE(m.LowWeight >= 0.0f && m.LowWeight <= 1.0f) << rate << " band " << n;
                EXPECT_TRUE(m.HighWeight >= 0.0f && m.HighWeight <= 1.0f) << rate << " band " << n;
            }
            EXPECT_EQ(d->GetBandLineMap()[B - 1].HighLine, L - 1);
            EXPECT_EQ(d->GetBandLineMap()[B - 1].HighWeight, 1.0f);
            FillPower(*d, 1.0f);
            for (bool means : {false, true}) {
                Access::ComputeBandLevels(*d, means, false);
                for (std::uint32_t n = 0; n < B; ++n)
                    EXPECT_FALSE(std::isnan(Level(*d, n))) << rate << " band " << n;
            }
        }
    }
}

TEST(OctaveBands, SilenceAndZeroWidthGiveNoLogOfZero)
{
    auto d = MakeBands(48000, 4096, 3);
    FillPower(*d, 0.0f);
    Access::ComputeBandLevels(*d, true, false);
    EXPECT_EQ(Level(*d, 30), SpectralData::kNoValue);

    FillPower(*d, 3.0f);
    Access::BandLineMap(*d)[30] = TBandLineMap{5, 0.5f, 5, 0.5f};  // width exactly 0
    Access::ComputeBandLevels(*d, true, false);
    EXPECT_NEAR(Level(*d, 30), 10.0 * std::log10(3.0), 1e-5);
}

TEST(OctaveBands, LatestLevelsTakeInnerLinesFromTheLatestBlock)
{
    auto d = MakeBands(48000, 65536, 3);
    d->SetPeakHoldMode(1);
    FillPower(*d, 1.0f);
    std::fill_n(Access::LatestPower(*d), d->GetLines(), 4.0f);
    Access::ComputeBandLevels(*d, false, true);
    const TBandLineMap& m = d->GetBandLineMap()[30];
    const double expected = 4.0 * (m.HighLine - m.LowLine - 1) + m.LowWeight + m.HighWeight;
    EXPECT_NEAR(Access::LatestBandLevels(*d)[30], 10.0 * std::log10(expected), 1e-4);
    EXPECT_EQ(Level(*d, 30), SpectralData::kNoValue);
}

TEST(OctaveBands, AllocationFailureIsReported)
{
    MessageLog log;
    auto table = MakeBands(48000, 4096, 3);
    platform::FailNextAllocations(1);
    Access::BuildOctaveBands(*table);
    platform::FailNextAllocations(0);
    EXPECT_TRUE(table->HasFailed());
    EXPECT_EQ(table->GetBandCount(), 0u);
    EXPECT_EQ(table->GetBandCenter(0), 0.0f);
    EXPECT_EQ(table->FrequencyToBand(1000.0f), 0u);

    auto map = MakeBands(48000, 4096, 3);
    platform::FailNextAllocations(1);
    Access::BuildBandLineMap(*map);
    platform::FailNextAllocations(0);
    EXPECT_TRUE(map->HasFailed());
    EXPECT_EQ(map->GetFirstBand(), 0u);
    Access::ComputeBandLevels(*map, true, false);  // no map: nothing to do

    const std::string expected = "SpectralData - Insufficient memory available for working memory";
    EXPECT_EQ(log.texts, (std::vector<std::string>{expected, expected}));
}
