// Readouts of a spectrum. Small cases set the averaged arrays directly;
// accuracy cases run tones through window, transform and average.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <random>

#include "tests/engine/SpectralTestSupport.h"

using namespace spectral_test;
using Access = SpectralDataTestAccess;

namespace {

constexpr float kNo = SpectralData::kNoValue;
constexpr std::uint16_t kDb = ScalingOpts::kLogarithmic, kLin = ScalingOpts::kLinear;
constexpr std::uint16_t kOct = ScalingOpts::kOctave, kFft = ScalingOpts::kFftLinear;

std::unique_ptr<SpectralData> Make(std::uint16_t amp, std::uint32_t fft = 1024,
                                   std::uint16_t freqScale = kFft,
                                   std::uint16_t window = smoothing::Flattop)
{
    TProcessingSettings settings = MakeSettings(48000, fft);
    settings.SmoothingWindow = window;
    return std::make_unique<SpectralData>(settings, MakeScaling(amp, freqScale), 0, false);
}

void Analyse(SpectralData& d, const std::vector<float>& samples,
             std::uint16_t scaling = smoothing::Amplitude, std::uint16_t type = smoothing::Flattop)
{
    const TSmoothing window(d.GetFFTSize(), type, scaling);
    RunBlock(d, samples, window);
}

// Tones of the given frequencies and fractions of full scale, added to `sum`.
std::vector<float> Tones(const TProcessingSettings& s, std::vector<std::pair<double, double>> parts,
                         std::vector<float> sum = {})
{
    sum.resize(s.FFTsize);
    for (auto [frequency, fraction] : parts) {
        const auto tone = Tone(s, frequency, fraction);
        std::transform(sum.begin(), sum.end(), tone.begin(), sum.begin(), std::plus<>());
    }
    return sum;
}

double Db(double power) { return 10.0 * std::log10(power); }

// Accuracy cases: 65536 lines at 48 kHz.
const TProcessingSettings kLarge = MakeSettings(48000, 65536);

// The k-th peak between two lines: its line and value.
std::pair<long, float> Peak(SpectralData& d, std::uint32_t from, std::uint32_t to, int k = 0)
{
    float f = -1, v = -1;
    d.FindPeak(from, to, &f, &v, k);
    return {std::lround(f / d.GetLineSpacing()), v};
}

} // namespace

TEST(SpectralReadouts, PeakSearchRanksLocalMaximaAndBandsStrongestFirst)
{
    auto d = Make(kLin);
    const std::uint32_t L = d->GetLines();
    SetLines(*d, {{300, 0.9}, {120, 0.8}, {50, 0.3}, {200, 0.3}, {299, 0.5}, {301, 0.5}}); // 299, 301: a skirt
    const std::uint32_t expected[] = {300, 120, 50, 200, 0}; // equal peaks: lower line first
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(Peak(*d, 0, L + 100, k), std::pair(long(expected[k]), d->GetValue(expected[k]))) << k;
    EXPECT_EQ(Peak(*d, 130, 250).first, 200);
    // The strongest peak of a range is its highest line only when that line
    // is a peak: 299, the skirt of 300, is the highest of 130 … 299 but the
    // peak is 200; with no peak inside, line 0.
    for (auto [from, to, line] : {std::tuple{130u, 299u, 200u}, {301u, 399u, 0u}, {290u, 310u, 300u}}) {
        auto fresh = Make(kLin);
        SetLines(*fresh, {{300, 0.9}, {120, 0.8}, {50, 0.3}, {200, 0.3}, {299, 0.5}, {301, 0.5}});
        EXPECT_EQ(Peak(*fresh, from, to).first, long(line)) << from << "…" << to;
    }
    // A run of equal lines is one peak, on its first line.
    SetLines(*d, {{400, 0.6}, {401, 0.6}});
    EXPECT_EQ(Peak(*d, 350, 450).first, 400);
    // Five lines from the top a peak lacks neighbours and is never found.
    SetLines(*d, {{L - 5, 4.0}});
    EXPECT_EQ(Peak(*d, 0, L).first, 300);
    SetLines(*d, {{L - 5, 0.0}, {L - 6, 4.0}});
    EXPECT_EQ(Peak(*d, 0, L).first, L - 6);

    // Band peaks are ranked by level.
    auto bands = Make(kDb, 65536, kOct);
    const std::uint32_t first = bands->GetFirstBand(), B = bands->GetBandCount();
    float* levels = Access::BandLevels(*bands);
    levels[first - 1] = 10.0f; // below the first band shown
    levels[first + 5] = -10.0f;
    levels[first + 9] = -3.0f;
    levels[B - 1] = 0.0f; // the end band itself is not searched
    // {from, to, rank, band found}
    for (auto [from, to, k, band] : {std::tuple{0u, B - 1, 0, first + 9}, {0u, B - 1, 1, first + 5},
                                     {0u, B - 1, 2, 0u}, {0u, B + 10, 0, B - 1}, {first - 1, first - 1, 0, first - 1}}) {
        float f = 0, v = 0;
        bands->FindPeak(from, to, &f, &v, k);
        EXPECT_EQ(f, bands->GetBandCenter(band)) << from << "…" << to << " k = " << k;
        EXPECT_EQ(v, band > 0 ? levels[band] : kNo) << from << "…" << to << " k = " << k;
    }
}

// The strongest peak found without the list is the one the list ranks
// first, over noise with tones, for ranges anywhere (edges on a slope, on a
// tone, past the lines): each range asked on a fresh pass, then again once
// the list exists.
TEST(SpectralReadouts, TheStrongestPeakIsTheListsFirstForAnyRange)
{
    std::mt19937 random(5);
    std::normal_distribution<float> noise(0.0f, 0.002f);
    std::uniform_int_distribution<std::uint32_t> line(0, 560);
    const TProcessingSettings s = MakeSettings(48000, 1024);
    std::vector<float> samples = Tones(s, {{1000.0, 0.3}, {5000.0, 0.1}, {5050.0, 0.1}, {12000.0, 0.02}});
    for (float& v : samples)
        v += noise(random);
    for (int round = 0; round < 300; ++round) {
        std::uint32_t from = line(random), to = line(random);
        if (from > to)
            std::swap(from, to);
        auto fresh = Make(kLin);
        Analyse(*fresh, samples);
        const auto found = Peak(*fresh, from, to);
        Peak(*fresh, from, to, 1); // builds the list for this pass
        EXPECT_EQ(found, Peak(*fresh, from, to)) << from << "…" << to;
    }
}

TEST(SpectralReadouts, RangesPastTheLastLineAreClampedNotReadAsZero)
{
    auto d = Make(kDb);
    const int L = int(d->GetLines());
    THoldEntry* hold = Access::Hold(*d);
    for (int i = 0; i < L; ++i) {
        SetLines(*d, {{std::uint32_t(i), 1e-6}}); // −60 dB
        hold[i].Value = -50.0f;
    }
    SetLines(*d, {{100, 0.01}, {200, 1e-8}, {201, 1e-8}}); // equal minima: the first is reported
    hold[300].Value = -10.0f;

    EXPECT_NEAR(d->GetMaxValue(10, L + 50), -20.0f, 1e-4);
    EXPECT_NEAR(d->GetMaxValue(L - 3, L + 5), -60.0f, 1e-4);
    EXPECT_EQ(d->GetMaxValue(100, 101), d->GetValue(101)); // adjacent lines read the last only
    float f = 0, v = 0;
    d->FindMinimum(0, std::uint32_t(L + 50), &f, &v);
    EXPECT_NEAR(v, -80.0f, 1e-4);
    EXPECT_FLOAT_EQ(f, 200 * d->GetLineSpacing());
    SetLines(*d, {{std::uint32_t(L - 1), 1e-9}}); // the range's last line is searched too
    d->FindMinimum(0, std::uint32_t(L + 50), &f, &v);
    EXPECT_FLOAT_EQ(f, float(L - 1) * d->GetLineSpacing());
    EXPECT_EQ(std::vector({d->GetHoldMax(0, L + 100), d->GetHoldMax(5, 6), d->GetHoldValue(std::uint32_t(L + 7))}),
              std::vector({-10.0f, d->GetHoldValue(6), d->GetHoldValue(std::uint32_t(L - 1))}));
    EXPECT_FLOAT_EQ(d->GetHoldPeakFrequency(0, L + 100), 300 * d->GetLineSpacing());
    // Equal held values: the first one inside the range, not one before it.
    EXPECT_FLOAT_EQ(d->GetHoldPeakFrequency(310, 400), 310 * d->GetLineSpacing());
}

TEST(SpectralReadouts, DistortionSumsHarmonicsUpToTheLimitAndNoiseTheTenPeaksBesideTheTone)
{
    // THD of a linear spectrum of `fft` points, the tone on the first line given.
    auto thd = [](std::uint32_t fft, std::vector<std::pair<std::uint32_t, double>> lines) {
        auto d = Make(kLin, fft);
        SetLines(*d, lines);
        Access::SetPeakLine(*d, lines[0].first);
        return d->GetTHD();
    };
    // 1 kHz (line 1365): 1 % a line off the second harmonic, 0.5 % two lines
    // below the third; up to 23760 Hz (H = 24), so harmonic 24 above the limit still counts.
    EXPECT_NEAR(thd(65536, {{1365, 1.0f}, {2731, 1e-4f}, {4093, 2.5e-5f}}), std::sqrt(1.25), 1e-4);
    EXPECT_NEAR(thd(65536, {{1365, 1.0f}, {2731, 1e-4f}, {4093, 2.5e-5f}, {24 * 1365, 1e-4f}}), 1.5, 1e-4);
    // The second harmonic's search reaches four lines either side of 2730, not five.
    EXPECT_NEAR(thd(65536, {{1365, 1.0f}, {2726, 1e-4f}}), 1.0, 1e-4);
    EXPECT_EQ(thd(65536, {{1365, 1.0f}, {2735, 1e-4f}}), 0.0f);
    // 100 Hz: harmonics 2 … 40 only; a tone at 0.73 Hz has none.
    EXPECT_NEAR(thd(65536, {{137, 1.0f}, {40 * 137, 1e-4f}, {41 * 137, 1.0f}}), 1.0, 1e-4);
    EXPECT_EQ(thd(65536, {{1, 1.0f}, {137, 1.0f}}), 0.0f);
    // A tone two lines above DC: every harmonic's search reaches down to
    // line 1, so a line there four times the tone doubles the figure.
    EXPECT_NEAR(thd(1024, {{2, 1.0f}, {1, 4.0f}}), 2 * thd(1024, {{2, 1.0f}}), 1e-3 * thd(1024, {{2, 1.0f}}));

    auto d = Make(kDb, 65536);
    SetLines(*d, {{2000, 1.0}});
    // A pure tone: no second peak, no ratio.
    EXPECT_EQ(Peak(*d, 0, d->GetLines(), 1), std::pair(0L, kNo));
    EXPECT_EQ(std::vector({d->GetSNR(), d->GetSINAD(), d->GetTHDN()}), std::vector({kNo, kNo, 0.0f}));

    double beside = 0;
    for (std::uint32_t n = 1; n <= 11; ++n) {
        SetLines(*d, {{2000 + 100 * n, 1e-4f / float(n)}});
        beside += n <= 10 ? 1e-4f / float(n) : 0; // the weakest is not counted
    }
    EXPECT_NEAR(d->GetTHDN(), 100 * std::sqrt(beside), 1e-4);
    EXPECT_NEAR(d->GetSNR(), -Db(beside), 1e-3);
    EXPECT_NEAR(d->GetSINAD(), Db(1 + beside) - Db(beside), 1e-3);
}

TEST(SpectralReadouts, IntermodulationAndAGaussianPeakBetweenLines)
{
    // Products at 200 Hz and 2.2 kHz, 40 dB below two equal tones:
    // 100·√(2·0.004²) / √(2·0.4²) = 1 %. With the upper tone the stronger,
    // the difference product still counts.
    for (auto [amp, upper] : {std::pair{kLin, 0.4}, {kDb, 0.4}, {kDb, 0.41}}) {
        SpectralData d(kLarge, MakeScaling(amp), 0, false);
        Analyse(d, Tones(kLarge, {{1000, 0.4}, {1200, upper}, {200, 0.004}, {2200, 0.004}}));
        EXPECT_NEAR(d.GetIMD(), 100 * std::sqrt(2 * 0.004 * 0.004 / (0.4 * 0.4 + upper * upper)), 0.005) << upper;
    }

    // The Gaussian lobe is Gaussian, so two lines place the tone; the level
    // of the nearest line lies within the window's half-line scalloping.
    const double df = 48000.0 / 65536;
    TProcessingSettings s = kLarge;
    s.SmoothingWindow = smoothing::Gaussian;
    for (double offset : {0.1, 0.5, 0.9}) {
        SpectralData gauss(s, MakeScaling(kDb), 0, false);
        Analyse(gauss, Tone(s, 1000.0 + offset * df, 1.0), smoothing::Amplitude, smoothing::Gaussian);
        float f = 0, v = 0;
        gauss.FindPeak(0, gauss.GetLines(), &f, &v);
        EXPECT_NEAR(f, 1000.0 + offset * df, 0.02 * df) << "offset " << offset;
        EXPECT_TRUE(v > -0.45 && v < 0.05) << v << " at offset " << offset;
    }
}

TEST(SpectralReadouts, BandPowerOfToneNoiseAndSilence)
{
    // A full-scale tone at 100 Hz reads 0 dB, A-weighted −19.1 dB, B −5.4 dB,
    // C −0.3 dB (the tables the weightings come from); a display weighting is taken out
    // before the requested one (−1: the display's) is applied. Each weighting
    // asked of the same lines keeps its own curve.
    ScalingOpts weighted = MakeScaling(kDb);
    weighted.StandardWeighting = 1;
    SpectralData d(kLarge, weighted, 0, false);
    Analyse(d, Tone(kLarge, 100.0, 1.0));
    const std::uint32_t line = d.FrequencyToBin(100.0f);
    for (auto [weighting, expected] : {std::pair{0, 0.0}, {1, -19.1}, {-1, -19.1}, {2, -5.4}, {3, -0.3}, {1, -19.1}})
        EXPECT_NEAR(d.GetBandPower(line - 20, line + 20, 1, weighting), expected, 0.05) << weighting;

    // 0 dB is a full-scale sine (mean square 1/2): white noise reads
    // 10·log10(2·its mean square) through every window that is scaled to read
    // a sine's amplitude. The exponential window is left unscaled, so its
    // levels are relative. A 65536-sample estimate scatters by a few 0.01 dB.
    const double sigma = 0.1, half = kLarge.Format.HalfRange();
    const auto noise = WhiteNoise(kLarge.FFTsize, sigma * half, 3);
    const double meanSquare =
        std::inner_product(noise.begin(), noise.end(), noise.begin(), 0.0) / (half * half * double(noise.size()));
    for (std::uint16_t window = 0; window < smoothing::kWindowTypeCount; ++window) {
        if (window == smoothing::Exponential)
            continue;
        auto narrow = Make(kDb, 65536, kFft, window);
        Analyse(*narrow, noise, smoothing::Amplitude, window);
        EXPECT_NEAR(narrow->GetBandPower(0, narrow->GetLines(), 1, 0), Db(2 * meanSquare), 0.1) << window;
    }
    // Bands sum their lines as the energy-scaled window leaves them; they
    // end near 22.4 kHz and hold that part of the noise.
    auto bands = Make(kDb, 65536, kOct);
    Analyse(*bands, noise, smoothing::Energy);
    const std::uint32_t first = bands->GetStartBin(), last = bands->GetEndBin();
    const double covered = (bands->GetBandUpperEdge(last) - bands->GetBandLowerEdge(first)) / 24000;
    EXPECT_NEAR(bands->GetBandPower(first, last, 1, 0), Db(2 * sigma * sigma * covered), 0.1);

    // Silent lines have no band power (a linear sum of the shown lines is
    // 0); a calibrated one keeps its unit offset where it is weighted.
    auto silent = Make(kDb);
    EXPECT_EQ(silent->GetBandPower(10, 20, 0, 2), SpectralData::kNoBandPower);
    EXPECT_EQ(silent->GetBandPower(10, 20, 1, -1), SpectralData::kNoBandPower);
    EXPECT_EQ(silent->GetBandPower(10, 20, 0, -1), 0.0f);
    TChannelCalibration cal{};
    cal.IsEnabled = 1;
    cal.RefUnits = 2;
    cal.CalRatio = 1.0f;
    silent->SetCalibration(&cal);
    EXPECT_NEAR(silent->GetBandPower(10, 20, 1, 0), SpectralData::kNoBandPower + 93.9794f, 1e-3);
    EXPECT_EQ(silent->GetBandPower(10, 20, 1, -1), SpectralData::kNoBandPower);
}

TEST(SpectralReadouts, LevelPhaseComplexValueAndSmoothingOfLines)
{
    auto d = Make(kDb);
    const std::uint32_t L = d->GetLines();
    const double df = d->GetLineSpacing();
    float* c = Access::AvgComplex(*d);
    c[2 * 40 + 1] = 0.5f;
    c[2 * 41] = -1.0f;
    SetLines(*d, {{2, 0.25}, {40, 0.25}, {L - 2, 0.25}});
    EXPECT_EQ(std::vector({d->GetLevelAtFrequency(float(40 * df)), d->GetLevelAtFrequency(float(2 * df)),
                           d->GetLevelAtFrequency(float((L - 2) * df))}),
              std::vector({0.25f, 0.0f, 0.0f}));
    EXPECT_NEAR(d->GetPhase(40), 90.0, 1e-4);
    EXPECT_NEAR(d->GetPhase(41), 180.0, 1e-4);
    float re = 1, im = 1;
    d->GetComplexValue(40, &re, &im); // −6.02 dB back to an amplitude of 0.5
    EXPECT_NEAR(re, 0.0, 1e-6);
    EXPECT_NEAR(im, 0.5, 1e-5);
    d->GetComplexValue(L, &re, &im);
    EXPECT_TRUE(re == 0.0f && im == 0.0f);

    // Smoothing averages unsmoothed neighbours of narrowband lines only.
    SetLines(*d, {{100, 1.0}});
    Access::Hold(*d)[100].Value = 0.0f;
    d->SmoothAcrossBins(3);
    const float third = 20.0f * std::log10(1.0f / 3.0f);
    for (std::uint32_t i : {99u, 100u, 101u}) {
        EXPECT_NEAR(d->GetValue(i), third, 1e-4) << i;
        EXPECT_NEAR(d->GetHoldValue(i), third, 1e-4) << i;
    }
    EXPECT_NEAR(d->GetValue(98), kNo, 0.01);
    EXPECT_NEAR(d->GetHoldValue(102), kNo, 0.01);
    // The largest value is the largest shown: after smoothing, line 201
    // between amplitudes 1 and 0.894 reads (1 + 0.894)/3, above line 200's 1/3.
    SetLines(*d, {{100, 0.0}, {200, 1.0}, {202, 0.8}, {203, 0.8}});
    d->SmoothAcrossBins(3);
    EXPECT_NEAR(d->GetMaxValue(190, 210), 20.0 * std::log10((1 + std::sqrt(0.8)) / 3), 1e-4);
    // The last line has one neighbour: amplitudes 0.5 and 1 average to 0.75.
    SetLines(*d, {{L - 1, 1.0}});
    d->SmoothAcrossBins(3);
    EXPECT_NEAR(d->GetValue(L - 1), 20.0 * std::log10(0.75), 1e-4);

    // Bands have a hold entry per band, far fewer than lines: left alone.
    auto bands = Make(kDb, 65536, kOct);
    Access::Hold(*bands)[3].Value = -20.0f;
    bands->SmoothAcrossBins(5);
    EXPECT_EQ(bands->GetHoldValue(3), -20.0f);
    EXPECT_EQ(bands->GetHoldValue(4), kNo);
}

// Peak hold and the plot's column maxima take one display value per line
// or range from the larger power or level; they must equal the larger of
// the display values themselves, on every scale.
TEST(SpectralReadouts, HoldAndColumnMaximaEqualTheLargerDisplayValue)
{
    const TProcessingSettings settings = MakeSettings(48000, 4096, 4);
    // A loud block, then a quiet one: the average lies above the latest
    // block on the tone and below it where the second block is louder.
    const std::vector<float> loud = Tones(settings, {{1000.0, 0.5}}, WhiteNoise(4096, 30.0, 1));
    const TSmoothing window(4096, 2, 2);
    // {amplitude scale, density flag, density type}
    for (auto [amp, density, type] : {std::tuple{kDb, 0, 0}, {kDb, 1, 0}, {kLin, 0, 0}, {kLin, 1, 0}, {kLin, 1, 1},
                                      {ScalingOpts::kLogMagnitude, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << "scale " << amp << ", density " << density << "/" << type);
        ScalingOpts scaling = MakeScaling(amp);
        scaling.SpectralDensityFlag = std::uint8_t(density);
        scaling.SpectralDensityType = std::uint16_t(type);
        SpectralData d(settings, scaling, 0, false);
        d.SetPeakHoldMode(2);
        RunBlock(d, loud, window, 0.0);
        RunBlock(d, WhiteNoise(4096, 300.0, 2), window, 0.1);
        std::fill_n(Access::Hold(d), d.GetLines(), THoldEntry{kNo, 0.0});
        d.UpdatePeakHold();

        int latestWins = 0;
        std::vector<float> shown = {kNo}; // the display value of each line from line 1 on
        for (std::uint32_t i = 1; i < d.GetLines(); ++i) {
            shown.push_back(d.GetValue(i, false));
            const float latest = d.GetValue(i, true);
            ASSERT_EQ(d.GetHoldValue(i), std::max(shown[i], latest)) << i;
            latestWins += latest > shown[i];
        }
        EXPECT_GT(latestWins, 10) << "both arrays take part";
        for (auto [first, last] : {std::pair{1, 9}, {80, 90}, {40, 1500}})
            EXPECT_EQ(d.GetMaxValue(first, last), *std::max_element(&shown[first], &shown[last] + 1)) << first;
    }
}

TEST(SpectralReadouts, ACopyOfTheResultsReadsAsTheOriginalDidWhileTheOriginalGoesOn)
{
    const TProcessingSettings settings = MakeSettings(48000, 4096);
    for (auto [amp, freqScale] : {std::pair{kDb, kFft}, {kLin, kFft}, {kDb, kOct}}) {
        auto d = Make(amp, 4096, freqScale);
        d->SetPeakHoldMode(4);
        Analyse(*d, Tones(settings, {{1000.0, 0.5}, {3000.0, 0.01}, {7000.0, 0.002}}));
        const std::uint32_t count = freqScale == kOct ? d->GetBandCount() : d->GetLines();
        auto readings = [count](SpectralData& s) {
            std::vector<float> r;
            for (std::uint32_t i = 0; i < count; ++i) {
                float re = 0.0f, im = 0.0f;
                s.GetComplexValue(i, &re, &im);
                r.insert(r.end(), {s.GetValue(i), s.GetValue(i, true), s.GetHoldValue(i), s.GetPhase(i), re, im});
            }
            const auto [line, level] = Peak(s, 10, count - 10, 1);
            r.insert(r.end(), {float(line), level, s.GetBandPower(10, count - 10, 1, 0), s.GetBandPower(10, 400, 1, 1),
                               s.GetBandPower(10, 400, 0, 3, true), s.GetTHD(), s.GetTHDN(), s.GetSNR(), s.GetIMD(),
                               s.GetHoldPeakFrequency(10, 400), s.GetTotalPower(), s.GetUnitOffsetDb()});
            return r;
        };
        const std::vector<float> before = readings(*d);
        auto copy = SpectralData::NewCopyTarget();
        ASSERT_TRUE(d->CopyResultsTo(*copy));
        Analyse(*d, Tones(settings, {{5000.0, 0.3}}));
        ASSERT_NE(readings(*d), before) << "the original has moved on";
        EXPECT_EQ(readings(*copy), before) << amp << " " << freqScale;
        ASSERT_TRUE(d->CopyResultsTo(*copy));
        EXPECT_EQ(readings(*copy), readings(*d)) << "copied again in place";
    }
}
