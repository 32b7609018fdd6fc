// The tonal signals, measured: zero crossings for frequency, plain RMS for
// level, a least-squares residual and the spectral engine for purity.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

#include "engine/TSmoothing.h"
#include "tests/utilities/SigGenTestSupport.h"
#include "utilities/siggen/TSigGenerator.h"

using namespace siggen_test;

namespace {

double Db(double ratio) { return 20.0 * std::log10(ratio); }

} // namespace

TEST(SigGenTone, OneKilohertzIsExactFullLevelAndClean)
{
    const Built b = Build(Request(kSigTone1kHz));
    ASSERT_TRUE(b.Wave);
    const std::vector<double> x = Channel(*b.Wave);
    ASSERT_EQ(x.size(), 480000u);

    // The first frame is already at phase 2π/48: 0.99999 × 32767 × sin(7.5°),
    // give or take the dither (one step) and the rounding (half a step).
    EXPECT_NEAR(x[0], 4276.9, 1.5);
    EXPECT_GE(x[11], 32766.0); // phase π/2
    double high = 0, low = 0;
    for (double v : x) {
        high = std::max(high, v);
        low = std::min(low, v);
    }
    EXPECT_LE(high, 32767.0);
    EXPECT_GE(low, -32767.0);

    const std::vector<double> up = UpCrossings(x);
    EXPECT_NEAR(CrossingFrequency(up, 0, x.size(), 48000), 1000.0, 1e-3);
    // A full-scale sine less the headroom: RMS 20·log10(0.99999 / √2).
    EXPECT_NEAR(RmsDb(x, 32767), Db(0.99999 / std::sqrt(2.0)), 0.002);
    // Rounding to nearest adds no DC (rounding halves up would add ¼ LSB).
    EXPECT_NEAR(Mean(x), 0.0, 0.01);
    // The residual is the rounding and the triangular dither alone:
    // 1/12 + 1/6 LSB², 0.5 LSB RMS against 23169: −93.3 dB.
    EXPECT_NEAR(ResidualThdnDb(x, 1000.0, 48000), -93.3, 0.3);
    const Spectrum level(Slice(x, 0, 65536), 48000, 2);
    EXPECT_NEAR(level.PeakDb(900, 1100), Db(0.99999), 0.02);
    // Seen through a Hanning window over seven blocks: THD+N far below
    // −90 dB, and no harmonic out of the noise. Rounding halves upward would
    // put the odd ones near −104 dB.
    const Spectrum fine(x, 48000, 2, 65536, smoothing::Hanning);
    EXPECT_LT(fine.ThdnDb(), -90.0);
    for (int h = 2; h <= 9; ++h)
        EXPECT_LT(fine.PeakDb(1000.0 * h - 20, 1000.0 * h + 20), -115.0) << h;
}

TEST(SigGenTone, LevelAndWidthFollowTheOutputFormat)
{
    TSigGenBuildRequest r = Request(kSigTone1kHz, 44100, 3);
    r.Output.OutputLevel = -6.0f;
    const Built b = Build(r);
    ASSERT_TRUE(b.Wave);
    const std::vector<double> x = Channel(*b.Wave);
    EXPECT_EQ(x.size(), 441000u);
    EXPECT_NEAR(RmsDb(x, 8388607), -6.0 + Db(0.99999 / std::sqrt(2.0)), 0.002);
    // 24 bits: far below what 16 could reach. (Over the first second: the
    // phase constant 6.283185308 drifts from 2π by 10⁻⁷ rad a second.)
    EXPECT_LT(ResidualThdnDb(Slice(x, 0, 44100), 1000.0, 44100), -120.0);

    // 8-bit samples centre on their zero level, 127.
    const Built narrow = Build(Request(kSigTone1kHz, 48000, 1));
    const std::vector<double> y = Channel(*narrow.Wave);
    EXPECT_NEAR(Mean(y), 0.0, 0.05);
    EXPECT_NEAR(RmsDb(y, 128), Db(0.99999 / std::sqrt(2.0)), 0.05);
}

TEST(SigGenTone, RoundingIsToNearestAndSymmetric)
{
    const std::pair<double, int> cases[] = {{-1.2, -1}, {-1.6, -2}, {1.6, 2}, {1.2, 1},
                                            {-0.5, -1}, {0.5, 1},   {0.49999997f, 0}};
    for (const auto& [x, rounded] : cases)
        EXPECT_EQ(TSigGenerator::RoundToNearest(x), rounded) << x;
}

TEST(SigGenTone, EqualSettingsBuildEqualBytes)
{
    TSigGenBuildRequest r = Request(kSigWhiteNoise, 48000, 2, 2);
    r.Channel[1].SigType = kSigTone1kHz;
    const Built a = Build(r);
    const Built b = Build(r);
    ASSERT_TRUE(a.Wave && b.Wave);
    ASSERT_EQ(a.Wave->GetSizeBytes(), b.Wave->GetSizeBytes());
    EXPECT_EQ(std::memcmp(a.Wave->GetBuffer(), b.Wave->GetBuffer(), a.Wave->GetSizeBytes()), 0);
    // The right channel's dither continues the stream the left one drew from.
    r.Channel[0].SigType = kSigSilence;
    const Built c = Build(r);
    EXPECT_NE(Channel(*c.Wave, 1), Channel(*a.Wave, 1));
}

TEST(SigGenTone, MultipleTonesKeepTheirRelativeLevels)
{
    TSigGenBuildRequest r = Request(kSigMultipleTones);
    ToneSettings* tones = r.Channel[0].Tones;
    tones[2].ToneEnable = 1; // 3000 Hz, 6 dB down
    tones[2].PwrDB = -6.0f;
    tones[2].UpdateLinearAmplitude();
    const Built b = Build(r);
    const Spectrum s(Slice(Channel(*b.Wave), 0, 65536), 48000, 2);
    // Each tone's share is 1/2 of full scale (two tones).
    EXPECT_NEAR(s.PeakDb(900, 1100), Db(0.99999 / 2.0), 0.02);
    EXPECT_NEAR(s.PeakDb(2900, 3100), Db(0.99999 / 2.0) - 6.0, 0.02);
    EXPECT_LT(s.PeakDb(1500, 2500), -90.0);
}

TEST(SigGenTone, ToneBurstIsSilentThenToneWithTheRunningPhase)
{
    TSigGenBuildRequest r = Request(kSigToneBurst);
    r.Channel[0].ToneBurst = {1000, 25, 100}; // 1200 frames of tone in 4800
    const Built b = Build(r);
    const std::vector<double> x = Channel(*b.Wave);
    ASSERT_EQ(x.size(), 52800u); // 4800 × 11: just over a second
    for (std::size_t cycle = 0; cycle < 11; ++cycle) {
        const std::size_t start = cycle * 4800;
        for (std::size_t n = start; n < start + 3600; ++n)
            ASSERT_EQ(x[n], 0.0) << n;
        // The tone's phase counts from the buffer's first frame.
        const std::size_t n = start + 3600;
        EXPECT_NEAR(x[n], 0.99999 * 32767 * std::sin(2 * M_PI * (n + 1) / 48.0), 1.5);
    }
    const std::vector<double> tone = Slice(x, 3600, 1200);
    EXPECT_NEAR(RmsDb(tone, 32767), Db(0.99999 / std::sqrt(2.0)), 0.01);
}

TEST(SigGenTone, ImdTonesStandAtFourToOne)
{
    TSigGenBuildRequest r = Request(kSigIMD);
    const Built standard = Build(r);
    const Spectrum s(Slice(Channel(*standard.Wave), 0, 32768), 48000, 2, 32768);
    EXPECT_NEAR(s.PeakDb(240, 260) - s.PeakDb(8000, 8040), 12.04, 0.03);
    EXPECT_NEAR(s.PeakDb(240, 260), Db(0.99999 / 2.0), 0.02);

    r.Channel[0].IMD = {2, 100.0f, 5000.0f, 4.0f};
    const Spectrum custom(Slice(Channel(*Build(r).Wave), 0, 32768), 48000, 2, 32768);
    EXPECT_NEAR(custom.PeakDb(90, 110) - custom.PeakDb(4990, 5010), 12.04, 0.03);
    r.Channel[0].IMD.PwrRatio = 0.0f; // no ratio: the standard 4:1
    const Spectrum fallback(Slice(Channel(*Build(r).Wave), 0, 32768), 48000, 2, 32768);
    EXPECT_NEAR(fallback.PeakDb(90, 110) - fallback.PeakDb(4990, 5010), 12.04, 0.03);
}
