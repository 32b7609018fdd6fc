// Readouts at the edges of what they cover: each intermodulation product on
// its own, the level at a frequency near both ends of the spectrum, maxima
// of bands and of a range's first lines, the latest band levels the hold
// reads, phases on every axis, band powers across averages, and copies.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "tests/engine/SpectralTestSupport.h"

using namespace spectral_test;
using Access = SpectralDataTestAccess;

namespace {

std::unique_ptr<SpectralData> Make(std::uint16_t amp, std::uint32_t fft, std::uint16_t freqScale = ScalingOpts::kFftLinear,
                                   std::uint32_t blocks = 1)
{
    return std::make_unique<SpectralData>(MakeSettings(48000, fft, blocks), MakeScaling(amp, freqScale), 0, false);
}

} // namespace

// Two unit tones on lines 100 and 130; one product line of power 1e-4 at a
// time reads 100·√(1e-4)/√2 = 0.7071 %, and none at all reads 0.
TEST(SpectralProducts, EachSecondAndThirdOrderProductCountsOnItsOwn)
{
    const struct {
        const char* product;
        std::uint32_t line;
    } cases[] = {
        {"f2 + f1", 230},   {"f2 - f1", 30},   {"f2 + 2f1", 330},   {"2f1 - f2", 70},
        {"2f2 + f1", 360},  {"2f2 - f1", 160}, {"2f2 + 2f1", 460},  {"2f2 - 2f1", 60},
    };
    auto d = Make(ScalingOpts::kLinear, 4096);
    // One tone alone has no second tone to make products with.
    SetLines(*d, {{100, 1.0}});
    Access::SetPeakLine(*d, 100);
    EXPECT_EQ(d->GetIMD(), 0.0f);
    SetLines(*d, {{130, 1.0}});
    EXPECT_EQ(d->GetIMD(), 0.0f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        // Two lines off the product: the search reaches three lines either side.
        SetLines(*d, {{c.line + 2, 1e-4}});
        EXPECT_NEAR(d->GetIMD(), 100 * std::sqrt(1e-4 / 2), 1e-4);
        SetLines(*d, {{c.line + 2, 0.0}});
    }
}

TEST(SpectralProducts, LevelAtAFrequencyNeedsThreeLinesOnEitherSide)
{
    auto d = Make(ScalingOpts::kLinear, 1024); // 512 lines of 46.875 Hz
    const std::uint32_t L = d->GetLines();
    ASSERT_EQ(L, 512u);
    for (std::uint32_t line = 0; line < L; ++line)
        Access::AvgPower(*d)[line] = float(line);
    // {line, level}: lines 3 … L − 3 read their power, the rest 0.
    for (auto [line, level] : {std::pair{2u, 0.0f}, {3u, 3.0f}, {L - 3, float(L - 3)}, {L - 2, 0.0f}}) {
        EXPECT_EQ(d->GetLevelAtFrequency(float(line) * 46.875f), level) << "line " << line;
    }
}

// Octave bands have no sorted keys: the largest level is found band by band.
TEST(SpectralProducts, LargestBandLevelIsTheHighestOfTheRange)
{
    auto bands = Make(ScalingOpts::kLogarithmic, 65536, ScalingOpts::kOctave);
    const int first = int(bands->GetFirstBand());
    float* levels = Access::BandLevels(*bands);
    levels[first + 4] = -20.0f;
    levels[first + 8] = -7.5f;
    levels[first + 12] = -30.0f;
    EXPECT_EQ(bands->GetMaxValue(first, first + 20), -7.5f);
    EXPECT_EQ(bands->GetMaxValue(first, first + 6), -20.0f);
    EXPECT_EQ(bands->GetMaxValue(first + 10, first + 14), -30.0f);
}

// With the hold on, each block's own band levels are kept beside the
// average: a full-scale tone, then the same tone 6 dB down, averaged over
// two blocks, is (1 + 1/4)/2 of the power (−2.04 dB), the latest −6.02 dB.
TEST(SpectralProducts, TheHoldKeepsTheLatestBlocksBandLevels)
{
    const TProcessingSettings settings = MakeSettings(48000, 4096, 2);
    auto d = Make(ScalingOpts::kLogarithmic, 4096, ScalingOpts::kOctave, 2);
    d->SetPeakHoldMode(1);
    const TSmoothing window(4096, smoothing::Flattop, smoothing::Energy);
    const std::uint32_t band = d->FrequencyToBand(1000.0f);
    RunBlock(*d, Tone(settings, 1000.0, 1.0), window);
    const float full = d->GetValue(band);
    EXPECT_NEAR(d->GetValue(band, true), full, 1e-3);
    RunBlock(*d, Tone(settings, 1000.0, 0.5), window);
    EXPECT_NEAR(d->GetValue(band) - full, 10 * std::log10(0.625), 0.01);
    EXPECT_NEAR(d->GetValue(band, true) - full, 20 * std::log10(0.5), 0.01);
}

// A line's phase is the angle of its complex value; a line without one has 0.
TEST(SpectralProducts, PhaseIsTheAngleOfTheLineOnEveryAxis)
{
    auto d = Make(ScalingOpts::kLogarithmic, 1024);
    float* complex = Access::AvgComplex(*d);
    const struct {
        float re, im;
        double degrees;
    } cases[] = {{1, 0, 0}, {0, 1, 90}, {-1, 0, 180}, {0, -1, -90}, {1, 1, 45}, {0, 0, 0}};
    for (std::uint32_t line = 0; line < std::size(cases); ++line) {
        complex[2 * (line + 10)] = cases[line].re;
        complex[2 * (line + 10) + 1] = cases[line].im;
    }
    Access::MarkAveraged(*d);
    for (std::uint32_t line = 0; line < std::size(cases); ++line)
        EXPECT_NEAR(d->GetPhase(line + 10), cases[line].degrees, 1e-4) << cases[line].re << " " << cases[line].im;
}

// Line maxima from the first line on, the first and second lines of a range
// included; a band power follows each new average and takes an unknown
// weighting as none.
TEST(SpectralProducts, MaximaFromTheRangesStartAndBandPowerFollowsEachAverage)
{
    auto d = Make(ScalingOpts::kLinear, 1024);
    for (std::uint32_t line = 0; line < d->GetLines(); ++line)
        Access::AvgPower(*d)[line] = 1e-4f;
    SetLines(*d, {{5, 0.25}, {0, 0.01}});
    EXPECT_FLOAT_EQ(d->GetMaxValue(0, 10), d->GetValue(5));
    EXPECT_FLOAT_EQ(d->GetMaxValue(4, 10), d->GetValue(5));
    EXPECT_FLOAT_EQ(d->GetValue(5), 50.0f) << "an amplitude of 0.5: 50 % of full scale";

    const float before = d->GetBandPower(10, 20, 0, 0);
    EXPECT_EQ(d->GetBandPower(10, 20, 0, 4), before);
    SetLines(*d, {{15, 1.0}});
    EXPECT_GT(d->GetBandPower(10, 20, 0, 0), before);
}

// Arrays of 64 KB and more are copied past the caches: every line of a
// 32768-line copy still reads as the original's.
TEST(SpectralProducts, ALargeCopyReadsEveryLineAsTheOriginal)
{
    auto d = Make(ScalingOpts::kLinear, 65536);
    float* power = Access::AvgPower(*d);
    for (std::uint32_t line = 0; line < d->GetLines(); ++line)
        power[line] = float(line + 1);
    Access::MarkAveraged(*d);
    auto copy = SpectralData::NewCopyTarget();
    ASSERT_TRUE(d->CopyResultsTo(*copy));
    std::uint32_t differing = 0;
    for (std::uint32_t line = 0; line < d->GetLines(); ++line)
        differing += copy->GetValue(line) != d->GetValue(line);
    EXPECT_EQ(differing, 0u);
}

// A search over another range, starting or ending elsewhere than the last
// one, finds that range's own peaks.
TEST(SpectralProducts, ASearchFromAnotherStartFindsItsOwnPeak)
{
    auto d = Make(ScalingOpts::kLinear, 1024);
    SetLines(*d, {{100, 0.9}, {300, 0.5}, {350, 0.3}});
    float f = 0, v = 0;
    // The second peak, which comes from the ranked list of the range.
    d->FindPeak(0, 400, &f, &v, 1);
    EXPECT_EQ(std::lround(f / d->GetLineSpacing()), 300);
    d->FindPeak(200, 400, &f, &v, 1);
    EXPECT_EQ(std::lround(f / d->GetLineSpacing()), 350);
    // Ending before the third peak, the range has no second one.
    d->FindPeak(200, 320, &f, &v, 1);
    EXPECT_EQ(std::lround(f / d->GetLineSpacing()), 0);
}
