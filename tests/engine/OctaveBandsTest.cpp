#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "tests/engine/SpectralTestSupport.h"
#include "tests/support/PlatformTestSupport.h"

namespace {

using Access = SpectralDataTestAccess;

std::unique_ptr<SpectralData> MakeBands(std::uint32_t rate, std::uint32_t fftSize, std::uint16_t b)
{
    ScalingOpts scaling = spectral_test::MakeScaling(ScalingOpts::kLinear, ScalingOpts::kOctave);
    scaling.OctaveNumber = b;
    return std::make_unique<SpectralData>(spectral_test::MakeSettings(rate, fftSize), scaling, 0, false);
}

// Every line at `power`, then the band levels of the averaged (or latest) lines.
void Levels(SpectralData& d, float power, bool means, bool latest = false)
{
    std::fill_n(Access::AvgPower(d), d.GetLines(), power);
    Access::ComputeBandLevels(d, means, latest);
}

double Level(SpectralData& d, std::uint32_t band) { return Access::BandLevels(d)[band]; }

} // namespace

TEST(OctaveBands, CountTopBandAndShownRangeFollowTheSpan)
{
    auto d = MakeBands(48000, 65536, 3);
    for (std::uint32_t n = 0; n < d->GetBandCount(); ++n) // exact centres: 10^(n/10)
        EXPECT_NEAR(d->GetBands()[n].Center / std::pow(10.0, n / 10.0), 1.0, 1e-6) << n;
    EXPECT_NEAR(d->GetBandLowerEdge(0), std::pow(2.0, -1.0 / 6.0), 1e-6);
    EXPECT_EQ(d->GetBandLowerEdge(31), d->GetBandUpperEdge(30));

    auto octave = MakeBands(48000, 65536, 1), zero = MakeBands(48000, 65536, 0);
    ASSERT_EQ(std::vector({octave->GetBandCount(), zero->GetBandCount(), MakeBands(192000, 65536, 3)->GetBandCount(),
                           MakeBands(192000, 65536, 1)->GetBandCount()}),
              std::vector({15u, 15u, 50u, 17u}));
    EXPECT_NEAR(octave->GetBands()[14].Center, 15848.93, 0.05);
    // At 20 kHz the span ends on the centre of band 40 (10 kHz), which is not shown.
    EXPECT_EQ(MakeBands(20000, 65536, 3)->GetBandCount(), 40u);
    EXPECT_FLOAT_EQ(octave->GetBandCenter(14), 16000.0f);
    EXPECT_NEAR(octave->GetBandUpperEdge(14) / octave->GetBands()[14].Center, std::sqrt(2.0), 1e-6);
    EXPECT_EQ(zero->GetBandUpperEdge(14), octave->GetBandUpperEdge(14));

    EXPECT_EQ(std::vector({d->FrequencyToBand(0.1f), d->FrequencyToBand(-5.0f), d->FrequencyToBand(23000.0f),
                           d->FrequencyToBand(d->GetBandLowerEdge(31)), d->GetBinIndex(1000.0f)}),
              std::vector({0u, 0u, 43u, 31u, 30u}));
    EXPECT_FLOAT_EQ(d->GetBinFrequency(30), 1000.0f);
    // Δf = 0.7324 Hz: band 6 (3.55–4.47 Hz) spans lines 5–6, band 7 (4.47–5.63 Hz) lines 6–8.
    EXPECT_EQ(std::vector({d->GetFirstBand(), d->GetStartBin(), d->GetEndBin()}), std::vector({7u, 7u, 43u}));
    EXPECT_NEAR(d->GetStartFrequency(), std::pow(10.0, 0.6) * std::pow(2.0, 1.0 / 6.0), 1e-5);
    EXPECT_NEAR(d->GetEndFrequency(), std::pow(10.0, 4.3) * std::pow(2.0, 1.0 / 6.0), 0.01);
}

TEST(OctaveBands, NominalCentresAreThePreferredNumbers)
{
    const std::vector<float> preferred = {
        1, 1.25, 1.6, 2, 2.5, 3.15, 4, 5, 6.3, 8, 10, 12.5, 16, 20, 25, 31.5, 40, 50, 63, 80, 100, 125,
        160, 200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000,
        6300, 8000, 10000, 12500, 16000, 20000, 0};
    auto d = MakeBands(48000, 65536, 3);
    std::vector<float> centres;
    for (std::uint32_t n = 0; n <= d->GetBandCount(); ++n)
        centres.push_back(d->GetBandCenter(n));
    EXPECT_EQ(centres, preferred);
    EXPECT_EQ(d->GetBandUpperEdge(44), 0.0f);

    EXPECT_EQ(d->NominalBandCenter(0.5f), 1.0f);
    EXPECT_EQ(d->NominalBandCenter(2.0e6f), 1.0e6f);
    EXPECT_FLOAT_EQ(d->NominalBandCenter(1.35f), 1.33f);  // equally near 1.33 and 1.37: the first wins
    // Twenty-four bands an octave: the nominal centres of the fine series,
    // 100 Hz up in band 160.
    const float fine[] = {100, 103, 106, 109, 112, 115, 118, 121, 125, 130, 133, 137, 140, 145, 150, 155,
                          160, 165, 170, 175, 180, 185, 190, 195, 200, 206, 212, 218, 224, 230, 237, 244,
                          250, 257, 265, 272, 280, 290, 300, 307, 315, 325, 335, 345, 355, 365, 375, 387,
                          400, 412, 425, 437, 450, 462, 475, 487, 500, 515, 530, 545, 560, 580, 600, 615,
                          630, 650, 670, 690, 710, 730, 750, 775, 800, 825, 850, 875, 900, 925, 950, 975};
    auto bands = MakeBands(48000, 65536, 24);
    for (std::uint32_t n = 0; n < std::size(fine); ++n) {
        EXPECT_FLOAT_EQ(bands->GetBandCenter(160 + n), fine[n]) << "band " << 160 + n;
        EXPECT_FLOAT_EQ(bands->GetBandCenter(240 + n), 10 * fine[n]) << "band " << 240 + n;
    }
    // Beyond the table's resolution: four significant digits, cut off.
    EXPECT_FLOAT_EQ(MakeBands(48000, 4096, 48)->NominalBandCenter(1234.567f), 1234.0f);
}

TEST(OctaveBands, BandInsideOneLineSilenceZeroWidthLatestLevelsAndFailedAllocations)
{
    auto d = MakeBands(48000, 1024, 3);  // Δf = 46.875 Hz
    const TBandLineMap& map = d->GetBandLineMap()[10];  // 8.91–11.22 Hz, inside line 0
    ASSERT_EQ(std::pair(map.LowLine, map.HighLine), std::pair(0u, 0u));
    const double overlap = (d->GetBandUpperEdge(10) - d->GetBandLowerEdge(10)) / 46.875;
    EXPECT_NEAR(map.LowWeight + map.HighWeight - 1.0, overlap, 1e-6);
    Levels(*d, 2.0f, false);
    EXPECT_NEAR(Level(*d, 10), 10.0 * std::log10(2.0 * (1.0 + overlap)), 1e-4);
    Levels(*d, 2.0f, true);
    EXPECT_NEAR(Level(*d, 10), 10.0 * std::log10(2.0 * (1.0 + overlap) / overlap), 1e-4);

    // Silence and a zero-width band give no logarithm of zero.
    auto silent = MakeBands(48000, 4096, 3);
    Levels(*silent, 0.0f, true);
    EXPECT_EQ(Level(*silent, 30), SpectralData::kNoValue);
    Access::BandLineMap(*silent)[30] = TBandLineMap{5, 0.5f, 5, 0.5f};  // width exactly 0
    Levels(*silent, 3.0f, true);
    EXPECT_NEAR(Level(*silent, 30), 10.0 * std::log10(3.0), 1e-5);

    // Latest levels take the inner lines from the latest block.
    auto latest = MakeBands(48000, 65536, 3);
    latest->SetPeakHoldMode(1);
    std::fill_n(Access::LatestPower(*latest), latest->GetLines(), 4.0f);
    Levels(*latest, 1.0f, false, true);
    const TBandLineMap& m = latest->GetBandLineMap()[30];
    const double expected = 4.0 * (m.HighLine - m.LowLine - 1) + m.LowWeight + m.HighWeight;
    EXPECT_NEAR(Access::LatestBandLevels(*latest)[30], 10.0 * std::log10(expected), 1e-4);
    EXPECT_EQ(Level(*latest, 30), SpectralData::kNoValue);

    // Failed allocations are reported and leave no bands.
    MessageLog log;
    auto table = MakeBands(48000, 4096, 3), lineMap = MakeBands(48000, 4096, 3);
    platform::FailNextAllocations(1);
    Access::BuildOctaveBands(*table);
    EXPECT_TRUE(table->HasFailed());
    EXPECT_EQ(std::vector({table->GetBandCount(), table->FrequencyToBand(1000.0f)}), std::vector({0u, 0u}));
    EXPECT_EQ(table->GetBandCenter(0), 0.0f);

    platform::FailNextAllocations(1);
    Access::BuildBandLineMap(*lineMap);
    EXPECT_TRUE(lineMap->HasFailed());
    EXPECT_EQ(lineMap->GetFirstBand(), 0u);
    Access::ComputeBandLevels(*lineMap, true, false);  // no map: nothing to do
    EXPECT_EQ(log.texts, std::vector<std::string>(2, spectral_test::kNoMemory));
}

TEST(OctaveBands, WhiteSpectrumRisesWithBandwidthAndTheTopBandStaysInRange)
{
    for (std::uint16_t b : {1, 3}) {
        auto d = MakeBands(48000, 65536, b);
        Levels(*d, 1.0f, false);
        const double step = 10.0 * std::log10(std::pow(2.0, 1.0 / b));
        for (std::uint32_t n = 10 * b / 3 + 1; n + 1 < d->GetLastBand(); ++n) {
            EXPECT_NEAR(Level(*d, n + 1) - Level(*d, n), step, 0.011) << "b " << b << " band " << n;
            const double lines = (d->GetBandUpperEdge(n) - d->GetBandLowerEdge(n)) / d->GetLineSpacing();
            EXPECT_NEAR(Level(*d, n), 10.0 * std::log10(lines), 1e-3);
        }
        Levels(*d, 4.0e-3f, true);
        for (std::uint32_t n = d->GetFirstBand(); n <= d->GetLastBand(); ++n)
            EXPECT_NEAR(Level(*d, n), 10.0 * std::log10(4.0e-3), 1e-4) << "band " << n;
    }

    for (std::uint32_t rate : {4000u, 8000u, 32000u, 44100u}) {
        for (std::uint32_t fft : {512u, 65536u}) {
            SCOPED_TRACE(testing::Message() << rate << " Hz, " << fft);
            auto d = MakeBands(rate, fft, 3);
            const std::uint32_t B = d->GetBandCount(), L = d->GetLines();
            const TBandLineMap* map = d->GetBandLineMap();
            ASSERT_GT(d->GetBandUpperEdge(B - 1), d->GetSpan());
            EXPECT_TRUE(std::all_of(map, map + B, [L](const TBandLineMap& m) {
                return m.LowLine <= m.HighLine && m.HighLine < L && m.LowWeight >= 0 && m.LowWeight <= 1 &&
                       m.HighWeight >= 0 && m.HighWeight <= 1;
            }));
            EXPECT_EQ(std::pair(map[B - 1].HighLine, map[B - 1].HighWeight), std::pair(L - 1, 1.0f));
            for (bool means : {false, true}) {
                Levels(*d, 1.0f, means);
                const float* levels = Access::BandLevels(*d);
                EXPECT_TRUE(std::none_of(levels, levels + B, [](float v) { return std::isnan(v); }));
            }
        }
    }
}
