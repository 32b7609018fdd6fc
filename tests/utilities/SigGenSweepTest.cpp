// Sweeps and steps, measured by zero crossings: the instantaneous frequency
// of phase (i + 1)·f(i) is f(i) + (i + 1)·f'(i).

#include <gtest/gtest.h>

#include <cmath>

#include "tests/utilities/SigGenTestSupport.h"
#include "utilities/siggen/TSigGenSteps.h"
#include "utilities/siggen/TSigGenerator.h"

using namespace siggen_test;

namespace {

TSigGenBuildRequest Sweep(float from, float to, std::int32_t ms, std::int32_t type)
{
    TSigGenBuildRequest r = Request(kSigFreqSweep);
    r.Channel[0].FreqSweep = {from, to, ms, type, 1, 0};
    return r;
}

// Measured frequency in windows of `window` frames against `expected` at
// the centre of the crossings measured, to a relative tolerance.
template <typename Expected>
void FollowsFrequency(const std::vector<double>& x, double window, Expected expected, double tolerance)
{
    const std::vector<double> up = UpCrossings(x);
    for (double start = 0; start + window <= double(x.size()); start += window) {
        double centre = 0;
        const double measured = CrossingFrequency(up, start, start + window, 48000, &centre);
        const double f = expected(centre);
        ASSERT_NEAR(measured, f, f * tolerance) << "at frame " << start;
    }
}

} // namespace

TEST(SigGenSweep, LinearSweepRisesEvenlyAndLogSweepStartsAtItsStartAndEndsAtItsStop)
{
    const std::vector<double> x = Samples(Sweep(100, 5000, 1000, 1));
    FollowsFrequency(x, 2400, [](double i) { return 100.0 + 4900.0 * i / 48000.0; }, 0.01);

    // 20 Hz to 20 kHz over ten seconds: f(L − 1) is near 10 kHz, yet the
    // signal at the end runs at 20 kHz.
    const std::vector<double> wide = UpCrossings(Samples(Sweep(20, 20000, 10000, 1)));
    EXPECT_NEAR(CrossingFrequency(wide, 480000 - 480, 480000, 48000), 19990.0, 100.0);

    // A log sweep starts at its start and ends at its stop. 20 Hz to 20 kHz in ten seconds: the first guess 0.5·log10(1000)/L is
    // stretched by 0.1 % steps to about 4.61·10⁻⁶ a frame.
    const std::int64_t L = 480000;
    const double k = TSigGenerator::FitLogSweepSlope(2.0, 2000.0, L, 48000);
    EXPECT_NEAR(k, 4.61e-6, 0.01e-6);

    const std::vector<double> logSweep = Samples(Sweep(20, 20000, 10000, 2));
    const double base = std::log10(20.0);
    const auto instantaneous = [&](double i) {
        return std::pow(10.0, i * k + base) * (1.0 + (i + 1.0) * k * std::log(10.0));
    };
    FollowsFrequency(Slice(logSweep, 0, 240000), 24000, instantaneous, 0.01);
    const std::vector<double> up = UpCrossings(logSweep);
    EXPECT_NEAR(CrossingFrequency(up, 0, 4800, 48000), 21.0, 2.0); // near 20 Hz, not 2 Hz
    EXPECT_NEAR(CrossingFrequency(up, L - 240, L, 48000), 20000.0, 400.0);
}

TEST(SigGenSweep, DownwardLogSweepReturnsAndRepeats)
{
    TSigGenBuildRequest r = Request(kSigFreqSweep);
    r.Channel[0].FreqSweep = {5000, 50, 500, 2, 0, 1}; // repeating, with a return
    const std::vector<double> x = Samples(r);
    ASSERT_EQ(x.size(), 48000u); // two 24000-frame patterns
    // Down from the top, then the same frames mirrored back up.
    for (std::size_t j = 0; j < 24000; ++j)
        ASSERT_EQ(x[24000 + j], x[23999 - j]) << j;
    const std::vector<double> up = UpCrossings(x);
    EXPECT_NEAR(CrossingFrequency(up, 0, 480, 48000), 5000.0, 250.0);
    EXPECT_LT(CrossingFrequency(up, 21600, 24000, 48000), 100.0);
    // The pattern repeats: frame d holds frame d mod P.
    TSigGenBuildRequest stereo = Request(kSigFreqSweep, 48000, 2, 2);
    stereo.Channel[0] = r.Channel[0];
    stereo.Channel[1].SigType = kSigTone1kHz;
    const std::vector<double> repeated = Samples(stereo);
    ASSERT_EQ(repeated.size(), 480000u);
    for (std::size_t d = 0; d < repeated.size(); d += 997)
        ASSERT_EQ(repeated[d], repeated[d % 48000]) << d;

    // Fewer than two whole patterns: the rest stays silent.
    stereo.Channel[1].SigType = kSigNoiseBurst;
    stereo.Channel[1].NoiseBurst.CycleTimeMsec = 1500;
    const std::vector<double> once = Samples(stereo);
    ASSERT_EQ(once.size(), 72000u);
    EXPECT_EQ(Mean(Slice(once, 48000, 24000)), 0.0);
}

TEST(SigGenSweep, LevelSweepClimbsAsSetAndRestarts)
{
    TSigGenBuildRequest r = Request(kSigLevelSweep);
    r.Channel[0].LevelSweep = {-40.0f, 0.0f, 1000.0f, 100};
    const std::vector<double> x = Samples(r);
    ASSERT_EQ(x.size(), 52800u); // 4800-frame sweeps past a second
    for (std::size_t sweep = 0; sweep < 11; ++sweep) {
        for (std::size_t p = 0; p < 100; p += 11) {
            // One 48-frame period: its RMS is the level at its centre.
            const double centre = p * 48.0 + 23.5;
            const double expected = -40.0 + 40.0 * centre / 4800.0 + kSineRmsDb;
            ASSERT_NEAR(RmsDb(Slice(x, sweep * 4800 + p * 48, 48), 32767), expected, 0.1)
                << "sweep " << sweep << " period " << p;
        }
    }
}

TEST(SigGenSweep, OctaveStepsAreTheBaseTenBandCentres)
{
    // IEC 61260-1 base-ten centres, 1000 · 10^(3x/10b), third octaves from 20 Hz up.
    const FreqStepSettings s = {20.0f, 20000.0f, 1000.0f, 3, 100, 2, 1, 0}; // 100 ms a step, once
    std::int64_t first = 0;
    ASSERT_EQ(TSigGenSteps::GetStepCount(s, &first, 48000), 31);
    for (int i = 0; i < 31; ++i) {
        const double f = TSigGenSteps::GetStepFrequency(s, first, i);
        EXPECT_NEAR(f, 1000.0 * std::pow(10.0, 3.0 * (i - 17) / 30.0), 1e-9 * f) << i;
    }

    TSigGenBuildRequest r = Request(kSigFreqStep);
    r.Channel[0].FreqStep = s;
    const std::vector<double> x = Samples(r);
    ASSERT_EQ(x.size(), 31u * 4800u);
    const std::vector<double> up = UpCrossings(x);
    for (int i : {10, 17, 27, 30}) {
        const double f = TSigGenSteps::GetStepFrequency(s, first, i);
        // Each step is exactly 4800 frames and restarts its phase (so the
        // crossings at the steps' joins are left out of the measure).
        EXPECT_NEAR(CrossingFrequency(up, i * 4800.0 + 10, (i + 1) * 4800.0 - 10, 48000), f, 0.002 * f) << i;
        EXPECT_NEAR(x[i * 4800], 0.99999 * 32767 * std::sin(2 * M_PI * f / 48000), 1.5) << i;
    }
}

// The first frames of a frequency sweep and of a level sweep hold their
// tones at phase (n + 1) steps, worked out by hand: a linear sweep from
// 1000 Hz starts at 0.99999 × 32767 × sin(2π/48) = 4276.9; a level sweep
// from −20 dB at a tenth of it, and its second frame at
// 0.1 × 32766.67 × sin(4π/48) = 848.1 (its level a hair above −20 dB).
TEST(SigGenSweep, SweepsStartAtTheFirstFramesPhase)
{
    const std::vector<double> sweep = Samples(Sweep(1000, 2000, 1000, 1));
    EXPECT_NEAR(sweep[0], 4276.9, 1.5);
    TSigGenBuildRequest r = Request(kSigLevelSweep);
    r.Channel[0].LevelSweep = {-20.0f, 0.0f, 1000.0f, 1000};
    const std::vector<double> level = Samples(r);
    EXPECT_NEAR(level[0], 427.7, 1.5);
    EXPECT_NEAR(level[1], 848.1, 1.5);
}

// Steps with a return climb and come back the same frames mirrored; steps
// without one start again from the first step.
TEST(SigGenSweep, StepsReturnOnlyWhenAskedTo)
{
    TSigGenBuildRequest r = Request(kSigFreqStep);
    // Linear steps 1000, 2000, 3000 Hz of 10 ms (480 frames), played once.
    r.Channel[0].FreqStep = {1000, 3000, 1000, 3, 10, 1, 1, 1};
    const std::vector<double> back = Samples(r);
    ASSERT_EQ(back.size(), 2u * 1440u);
    for (std::size_t j = 0; j < 1440; ++j)
        ASSERT_EQ(back[1440 + j], back[1439 - j]) << j;
    EXPECT_NEAR(back[0], 4276.9, 1.5);
    EXPECT_NEAR(back[2879], 4276.9, 1.5);

    // Repeated without a return: past a second in whole 1440-frame patterns.
    r.Channel[0].FreqStep = {1000, 3000, 1000, 3, 10, 1, 0, 0};
    const std::vector<double> again = Samples(r);
    ASSERT_EQ(again.size(), 34u * 1440u);
    for (std::size_t j = 0; j < 1440; j += 7)
        ASSERT_EQ(again[1440 + j], again[j]) << j;
}
