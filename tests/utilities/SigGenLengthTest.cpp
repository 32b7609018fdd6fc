// Buffer lengths, step counts and channel amplitudes, against values worked
// out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

#include "tests/utilities/SigGenTestSupport.h"
#include "utilities/siggen/TSigGenAmplitude.h"
#include "utilities/siggen/TSigGenLength.h"
#include "utilities/siggen/TSigGenSteps.h"

namespace {

using L = TSigGenLength;
using S = SigGenChannelSettings;

S Of(std::int32_t type, const std::function<void(S&)>& set = {})
{
    S s;
    s.SigType = type;
    if (set)
        set(s);
    return s;
}

} // namespace

TEST(SigGenLength, WholeSecondRuleAndWholePeriods)
{
    // A divisor of the rate still goes above it.
    EXPECT_EQ(std::vector({L::ExtendToOneSecond(0, 48000), L::ExtendToOneSecond(1000, 48000),
                           L::ExtendToOneSecond(48000, 48000), L::ExtendToOneSecond(1, 48000)}),
              std::vector<std::uint64_t>({48000, 49000, 48000, 48001}));

    // 48000 / 1234.56 = 38.88 frames a period; 12345 periods = 479976.0. The last: at least one period.
    EXPECT_EQ(std::vector({L::TrimToWholePeriods(480000, 48000, 1000.0f),
                           L::TrimToWholePeriods(480000, 48000, 1234.56f), L::TrimToWholePeriods(480000, 48000, 0.1f),
                           L::TrimToWholePeriods(10, 48000, 1000.0f)}),
              std::vector<std::uint64_t>({480000, 479976, 480000, 10}));
    // Fractions of a frame are cut: under one frame is none, exactly one is one.
    EXPECT_EQ(std::vector({L::ClampFrames(0.99, 48000), L::ClampFrames(1.0, 48000), L::ClampFrames(2.5, 48000)}),
              std::vector<std::uint64_t>({0, 1, 2}));
}

TEST(SigGenLength, EachTypeItsOneShotsAndItsDegenerateSettings)
{
    struct Case {
        const char* name;
        S settings;
        std::uint32_t rate;
        std::uint64_t frames;
        std::uint64_t source = 0; // pink words or user frames
    };
    const Case cases[] = {
        {"white noise", Of(kSigWhiteNoise), 48000, 2880000},
        {"pink noise, not extended", Of(kSigPinkNoise), 48000, 2644268, 2644268},
        {"noise burst", Of(kSigNoiseBurst), 48000, 96000},
        {"tone", Of(kSigTone1kHz), 48000, 480000},
        {"tone burst", Of(kSigToneBurst), 48000, 96000},
        {"IMD", Of(kSigIMD), 48000, 48000},
        {"sweep", Of(kSigFreqSweep), 48000, 480000},
        {"level sweep", Of(kSigLevelSweep), 48000, 480000},
        {"sawtooth: one 44-frame period, extended", Of(kSigSawtooth), 44100, 44132},
        {"square: 24 frames at 2 kHz", Of(kSigSquare), 48000, 48024},
        {"pulse: 480 frames, 101 times", Of(kSigPulse), 48000, 48480},
        {"user file", Of(kSigUserWave), 48000, 12345, 12345},
        {"no user file", Of(kSigUserWave), 48000, 0},
        {"DTMF: a second", Of(kSigDTMF), 44100, 44100},
        {"20 to 22000 Hz in 1000 Hz steps of a second", Of(kSigFreqStep), 48000, 22 * 48000},
        {"the first enabled tone sets the period", Of(kSigMultipleTones, [](S& s) {
             s.Tones[0].ToneEnable = 0;
             s.Tones[3] = {1, 1234.56f, 0.0f};
         }), 48000, 479976},
        {"one-shot sweep", Of(kSigFreqSweep, [](S& s) { s.FreqSweep = {20, 2000, 5000, 1, 1, 0}; }), 48000,
         240000},
        {"and return", Of(kSigFreqSweep, [](S& s) { s.FreqSweep = {20, 2000, 5000, 1, 1, 1}; }), 48000, 480000},
        {"28800 frames, doubled, then whole patterns past a second",
         Of(kSigFreqSweep, [](S& s) { s.FreqSweep = {20, 2000, 300, 1, 0, 1}; }), 48000, 57600},
        {"one-shot pulse", Of(kSigPulse, [](S& s) { s.Pulse.OneShotFlag = 1; }), 44100, 441},
        {"22 steps of 480 frames, repeated past a second: 5 x 10560",
         Of(kSigFreqStep, [](S& s) { s.FreqStep = {20, 22000, 1000, 3, 10, 1, 0, 0}; }), 48000, 52800},
        {"the same steps once", Of(kSigFreqStep, [](S& s) { s.FreqStep = {20, 22000, 1000, 3, 10, 1, 1, 0}; }),
         48000, 10560},
        {"31 third-octave steps and back",
         Of(kSigFreqStep, [](S& s) { s.FreqStep = {20, 20000, 1, 3, 100, 2, 1, 1}; }), 48000, 2 * 31 * 4800},
        {"sweep of no time", Of(kSigFreqSweep, [](S& s) { s.FreqSweep = {20, 2000, 0, 1, 1, 0}; }), 48000,
         48000},
        {"sawtooth of 0 Hz", Of(kSigSawtooth, [](S& s) { s.Sawtooth.FreqHz = 0.0f; }), 48000, 48000},
        {"sawtooth of NaN", Of(kSigSawtooth, [](S& s) { s.Sawtooth.FreqHz = std::nanf(""); }), 48000, 48000},
        {"past Nyquist: 2-frame periods", Of(kSigSawtooth, [](S& s) { s.Sawtooth.FreqHz = 9e4f; }), 48000, 48002},
        {"burst of no cycle", Of(kSigNoiseBurst, [](S& s) { s.NoiseBurst.CycleTimeMsec = 0; }), 48000, 48000},
        {"21981 one-Hz steps of ten minutes: beyond 32 bits, capped",
         Of(kSigFreqStep, [](S& s) { s.FreqStep = {20, 22000, 0, 3, 600000, 1, 0, 0}; }), 192000, 115200000},
        {"octave number 0 counts as whole octaves: bands 4 (15.8 Hz) to 14 (15849 Hz)",
         Of(kSigFreqStep, [](S& s) { s.FreqStep = {20, 22000, 0, 0, 1000, 2, 0, 0}; }), 48000, 11 * 48000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(L::GetChannelLength(c.settings, TWaveFormat(c.rate, 2, 2), c.source, c.source), c.frames)
            << c.name;
}

TEST(SigGenSteps, OctaveAndLinearStepCounts)
{
    using Steps = std::pair<std::int64_t, std::int64_t>; // count, first band
    const auto count = [](const FreqStepSettings& s, std::uint32_t rate = 0) {
        std::int64_t first = 0;
        const std::int64_t n = TSigGenSteps::GetStepCount(s, &first, rate);
        return Steps(n, first);
    };
    // Third octaves downward from 19953 Hz (upward: SigGenSweep.OctaveStepsAreTheBaseTenBandCentres).
    EXPECT_EQ(count({20000, 20, 1000, 3, 1000, 2, 0, 0}), Steps(31, 43));
    // No band above Nyquist: at 48000 Hz the 31623 Hz octave is left out.
    EXPECT_EQ(count({20, 24000, 1000, 1, 1000, 2, 0, 0}).first, 12);
    EXPECT_EQ(count({20, 24000, 1000, 1, 1000, 2, 0, 0}, 48000).first, 11);
    // Below band 1 the steps begin at band 1.
    EXPECT_EQ(count({0.5f, 10, 1000, 1, 1000, 2, 0, 0}), Steps(3, 1));

    FreqStepSettings linear = {100, 1000, 100, 3, 1000, 1, 0, 0};
    EXPECT_EQ(count(linear).first, 10);
    EXPECT_DOUBLE_EQ(TSigGenSteps::GetStepFrequency(linear, -1, 9), 1000.0);
    std::swap(linear.FStartHz, linear.FStopHz);
    EXPECT_DOUBLE_EQ(TSigGenSteps::GetStepFrequency(linear, -1, 9), 100.0);
    linear.StepType = 7;
    EXPECT_EQ(count(linear), Steps(1, -1));

    // A step size that is not a positive number steps by 1 Hz; an endless
    // range has a single step.
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float start, stop, size;
        std::int64_t steps;
    } linearCases[] = {
        {100, 110, 0, 11}, {100, 110, -5, 11}, {100, 110, inf, 11}, {100, 110, std::nanf(""), 11},
        {100, 110, 2.5f, 5}, {100, 100, 10, 1}, {inf, 100, 10, 1}, {100, -inf, 10, 1},
    };
    for (const auto& c : linearCases)
        EXPECT_EQ(count({c.start, c.stop, c.size, 3, 1000, 1, 0, 0}).first, c.steps) << c.start << " " << c.stop
                                                                                   << " by " << c.size;
    // Whole octaves to an endless stop end at band 200: from band 4 (lower
    // edge 10^1.2 / sqrt 2 = 11.2 Hz, the next 22.4 Hz) that is 197 bands.
    EXPECT_EQ(count({20, inf, 1000, 1, 1000, 2, 0, 0}), Steps(197, 4));
}

TEST(SigGenAmplitude, EveryUnitAndTheSafeReadingOfNoLevel)
{
    SigGenOutputSettings o;
    const auto A = [&o](int units, float level, float volts = 1.0f) {
        o.OutputUnits = units;
        o.OutputLevel = level;
        o.FSVoltage = volts;
        return TSigGenAmplitude::GetChannelAmplitude(o, 0);
    };
    EXPECT_NEAR(A(0, -6.0f), 0.501187, 1e-6);
    EXPECT_NEAR(A(1, 50.0f), 0.5, 1e-12);
    EXPECT_NEAR(A(2, 0.5f, 2.0f), 0.25, 1e-12);
    EXPECT_NEAR(A(3, 500.0f), 0.5, 1e-12);
    EXPECT_NEAR(A(3, 500.0f, 2.0f), 0.25, 1e-12);
    EXPECT_NEAR(A(4, -6.0f), 0.501187, 1e-6);
    EXPECT_NEAR(A(4, -6.0f, 2.0f), 0.501187 / 2, 1e-6);
    EXPECT_NEAR(A(5, 54.0f), 0.501187, 1e-6);           // 54 dBmV = 0.501 V
    EXPECT_NEAR(A(5, 54.0f, 2.0f), 0.501187 / 2, 1e-6);
    EXPECT_NEAR(A(6, 0.0f, 1.55f), 0.775 / 1.55, 1e-6); // 0 dBu = 0.775 V
    // An unknown unit and beyond full scale: full scale. No positive amplitude: silence, never full scale.
    EXPECT_EQ(std::vector({A(7, 0.5f), A(0, 3.0f), A(1, 0.0f), A(2, -1.0f), A(0, std::nanf(""))}),
              std::vector({1.0, 1.0, 0.0, 0.0, 0.0}));
    // A full-scale voltage of 0 is taken as 1 V and written back.
    EXPECT_NEAR(A(2, 0.5f, 0.0f), 0.5, 1e-12);
    EXPECT_EQ(o.FSVoltage, 1.0f);
    o.OutputUnits = 0;
    o.OutputLevelR = -20.0f;
    EXPECT_NEAR(TSigGenAmplitude::GetChannelAmplitude(o, 1), 0.1, 1e-9);
    EXPECT_EQ(TSigGenAmplitude::GetChannelAmplitude(o, 2), 1.0); // 0 dBFS
}

// A span that holds no step, or no band centre, plays one step: the one at
// its start (linear) or the band the start lies in (octaves), not two.
TEST(SigGenSteps, ASpanWithoutAStepPlaysOneStep)
{
    const struct {
        const char* name;
        FreqStepSettings settings;
        std::uint32_t rate;
        std::int64_t first;
        double frequency;
    } cases[] = {
        {"5 Hz in steps of 10", {1000, 1005, 10, 3, 100, 1, 1, 0}, 48000, -1, 1000.0},
        {"downward, 5 Hz in steps of 10", {1005, 1000, 10, 3, 100, 1, 1, 0}, 48000, -1, 1005.0},
        {"one frequency, linear", {1000, 1000, 10, 3, 100, 1, 1, 0}, 48000, -1, 1000.0},
        {"inside the 1 kHz third octave", {1050, 1100, 10, 3, 100, 2, 1, 0}, 48000, 30, 1000.0},
        {"downward inside it", {1100, 1050, 10, 3, 100, 2, 1, 0}, 48000, 30, 1000.0},
        {"one frequency, third octaves", {1000, 1000, 10, 3, 100, 2, 1, 0}, 48000, 30, 1000.0},
        // Below band 1 (lower edge 10^0.3 / sqrt 2 = 1.41 Hz): band 1, 1.995 Hz.
        {"below the first octave", {0.5f, 1.0f, 10, 1, 100, 2, 1, 0}, 48000, 1, std::pow(10.0, 0.3)},
        // Above Nyquist the last band below it, 10^4.2 Hz, stands alone.
        {"above Nyquist", {30000, 40000, 10, 1, 100, 2, 1, 0}, 48000, 14, std::pow(10.0, 4.2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::int64_t first = 0;
        EXPECT_EQ(TSigGenSteps::GetStepCount(c.settings, &first, c.rate), 1);
        EXPECT_EQ(first, c.first);
        EXPECT_NEAR(TSigGenSteps::GetStepFrequency(c.settings, first, 0), c.frequency, 1e-9 * c.frequency);
        // Played once: one step of 100 ms, 4800 frames.
        TSigGenBuildRequest r = siggen_test::Request(kSigFreqStep, c.rate);
        r.Channel[0].FreqStep = c.settings;
        const std::vector<double> x = siggen_test::Samples(r);
        EXPECT_EQ(x.size(), 4800u);
        EXPECT_NEAR(x.at(0), 0.99999 * 32767 * std::sin(2 * M_PI * c.frequency / c.rate), 1.5);
    }
}
