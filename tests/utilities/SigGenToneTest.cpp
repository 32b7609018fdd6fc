// The tonal signals, measured: zero crossings for frequency, plain RMS for
// level, and the spectral engine for purity.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/TSmoothing.h"
#include "tests/utilities/SigGenTestSupport.h"
#include "utilities/siggen/TSigGenerator.h"

using namespace siggen_test;

TEST(SigGenTone, OneKilohertzIsExactFullLevelAndClean)
{
    const std::vector<double> x = Samples(Request(kSigTone1kHz));
    ASSERT_EQ(x.size(), 480000u);
    // The first frame is already at phase 2π/48: 0.99999 × 32767 × sin(7.5°),
    // give or take the dither (one step) and the rounding (half a step).
    EXPECT_NEAR(x[0], 4276.9, 1.5);
    EXPECT_GE(x[11], 32766.0); // phase π/2
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    EXPECT_LE(std::max(-*low, *high), 32767.0);

    EXPECT_NEAR(CrossingFrequency(UpCrossings(x), 0, x.size(), 48000), 1000.0, 1e-3);
    EXPECT_NEAR(RmsDb(x, 32767), kSineRmsDb, 0.002);
    // Rounding to nearest adds no DC (rounding halves up would add ¼ LSB).
    EXPECT_NEAR(Mean(x), 0.0, 0.01);
    // Seen through a Hanning window over seven blocks: no harmonic out of
    // the noise. Rounding halves upward would put the odd ones near −104 dB.
    const Spectrum fine(x, 48000, 2, 65536, smoothing::Hanning);
    for (int h = 2; h <= 9; ++h)
        EXPECT_LT(fine.PeakDb(1000.0 * h - 20, 1000.0 * h + 20), -115.0) << h;

    const std::pair<double, int> rounding[] = {{-1.2, -1}, {-1.6, -2}, {1.6, 2}, {1.2, 1},
                                               {-0.5, -1}, {0.5, 1},   {0.49999997f, 0}};
    for (const auto& [value, rounded] : rounding)
        EXPECT_EQ(TSigGenerator::RoundToNearest(value), rounded) << value;
}

TEST(SigGenTone, LevelAndWidthFollowTheOutputFormat)
{
    TSigGenBuildRequest r = Request(kSigTone1kHz, 44100, 3);
    r.Output.OutputLevel = -6.0f;
    const std::vector<double> x = Samples(r);
    EXPECT_EQ(x.size(), 441000u);
    EXPECT_NEAR(RmsDb(x, 8388607), -6.0 + kSineRmsDb, 0.002);

    // 32-bit samples are worked in double precision: the tone's level to a thousandth of a dB.
    const std::vector<double> wide = Samples(Request(kSigTone1kHz, 48000, 4));
    EXPECT_NEAR(RmsDb(wide, 2147483647), kSineRmsDb, 0.001);

    // 8-bit samples centre on their zero level, 127.
    const std::vector<double> y = Samples(Request(kSigTone1kHz, 48000, 1));
    EXPECT_NEAR(Mean(y), 0.0, 0.05);
    EXPECT_NEAR(RmsDb(y, 128), kSineRmsDb, 0.05);

    // The right channel's dither continues the stream the left one drew from.
    TSigGenBuildRequest stereo = Request(kSigWhiteNoise, 48000, 2, 2);
    stereo.Channel[1].SigType = kSigTone1kHz;
    const std::vector<double> afterNoise = Samples(stereo, 1);
    stereo.Channel[0].SigType = kSigSilence;
    EXPECT_NE(Samples(stereo, 1), afterNoise);
}

TEST(SigGenTone, MultipleTonesKeepTheirRelativeLevelsAndImdTonesStandAtFourToOne)
{
    TSigGenBuildRequest r = Request(kSigMultipleTones);
    ToneSettings& third = r.Channel[0].Tones[2];
    third.ToneEnable = 1; // 3000 Hz, 6 dB down
    third.PwrDB = -6.0f;
    third.UpdateLinearAmplitude();
    const Spectrum s(Slice(Samples(r), 0, 65536), 48000, 2);
    // Each tone's share is 1/2 of full scale (two tones).
    EXPECT_NEAR(s.PeakDb(900, 1100), Db(0.99999 / 2.0), 0.02);
    EXPECT_NEAR(s.PeakDb(2900, 3100), Db(0.99999 / 2.0) - 6.0, 0.02);
    EXPECT_LT(s.PeakDb(1500, 2500), -90.0);

    // IMD tones stand at four to one.
    r = Request(kSigIMD);
    const auto spectrum = [&r] { return Spectrum(Slice(Samples(r), 0, 32768), 48000, 2, 32768); };
    const Spectrum standard = spectrum();
    EXPECT_NEAR(standard.PeakDb(240, 260) - standard.PeakDb(8000, 8040), 12.04, 0.03);
    EXPECT_NEAR(standard.PeakDb(240, 260), Db(0.99999 / 2.0), 0.02);
    // Frame n holds (sin((n + 1) 2pi 250 / 48000) + sin((n + 1) 2pi 8020 / 48000) / 4) / 2, both phases rising.
    const std::vector<double> x = Samples(r);
    for (std::size_t n : {0, 1, 7, 100, 4799}) {
        const double i = double(n + 1);
        const double v = (std::sin(i * 2 * M_PI * 250 / 48000) + 0.25 * std::sin(i * 2 * M_PI * 8020 / 48000)) / 2;
        EXPECT_NEAR(x[n], 0.99999 * 32767 * v, 1.5) << n;
    }

    r.Channel[0].IMD = {2, 100.0f, 5000.0f, 4.0f};
    const Spectrum custom = spectrum();
    EXPECT_NEAR(custom.PeakDb(90, 110) - custom.PeakDb(4990, 5010), 12.04, 0.03);
    r.Channel[0].IMD.PwrRatio = 0.0f; // no ratio: the standard 4:1
    const Spectrum fallback = spectrum();
    EXPECT_NEAR(fallback.PeakDb(90, 110) - fallback.PeakDb(4990, 5010), 12.04, 0.03);
}

TEST(SigGenTone, ToneBurstIsSilentThenToneWithTheRunningPhase)
{
    TSigGenBuildRequest r = Request(kSigToneBurst);
    r.Channel[0].ToneBurst = {1000, 25, 100}; // 1200 frames of tone in 4800
    const std::vector<double> x = Samples(r);
    ASSERT_EQ(x.size(), 52800u); // 4800 × 11: just over a second
    for (std::size_t start = 0; start < x.size(); start += 4800) {
        EXPECT_EQ(CountOf(x, start, 3600, 0.0), 3600) << start;
        // The tone's phase counts from the buffer's first frame.
        const std::size_t n = start + 3600;
        EXPECT_NEAR(x[n], 0.99999 * 32767 * std::sin(2 * M_PI * (n + 1) / 48.0), 1.5);
    }
    EXPECT_NEAR(RmsDb(Slice(x, 3600, 1200), 32767), kSineRmsDb, 0.01);
}

// Frame n of a multi-tone signal holds the tones at phase (n + 1) steps, the
// first frame included, and the phasors resynchronised every 1000th frame
// keep that phase: 1000 Hz at 0 dB plus 3000 Hz at −6 dB, halved, values
// worked out by hand (0.99999 × 32767 × (sin(i·π/24) + 0.501187 sin(i·π/8)) / 2).
TEST(SigGenTone, MultipleTonesStartAtTheFirstFramesPhaseAndKeepIt)
{
    TSigGenBuildRequest r = Request(kSigMultipleTones);
    ToneSettings& third = r.Channel[0].Tones[2];
    third.ToneEnable = 1;
    third.PwrDB = -6.0f;
    third.UpdateLinearAmplitude();
    const std::vector<double> x = Samples(r);
    const std::pair<std::size_t, double> frames[] = {
        {0, 5280.7},     {1, 10046.5},    {2, 13855.7},    {3, 16402.8},   {999, -14188.4},
        {1000, -16140.0}, {1001, -17390.9}, {1999, -14188.4}, {2000, -11994.0},
    };
    for (const auto& [n, value] : frames)
        EXPECT_NEAR(x.at(n), value, 1.6) << n;
}
