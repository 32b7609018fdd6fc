// Buffer lengths, step counts and channel amplitudes, against values worked
// out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "utilities/siggen/TSigGenAmplitude.h"
#include "utilities/siggen/TSigGenLength.h"
#include "utilities/siggen/TSigGenSteps.h"

namespace {

using L = TSigGenLength;

std::uint64_t LengthOf(const SigGenChannelSettings& s, std::uint32_t rate, std::uint64_t pink = 0,
                       std::uint64_t user = 0)
{
    return L::GetChannelLength(s, TWaveFormat(rate, 2, 2), pink, user);
}

SigGenChannelSettings OfType(std::int32_t type)
{
    SigGenChannelSettings s;
    s.SigType = type;
    return s;
}

} // namespace

TEST(SigGenLength, WholeSecondRuleAndWholePeriods)
{
    EXPECT_EQ(L::ExtendToOneSecond(0, 48000), 48000u);
    EXPECT_EQ(L::ExtendToOneSecond(1000, 48000), 49000u); // a divisor still goes above
    EXPECT_EQ(L::ExtendToOneSecond(48000, 48000), 48000u);

    EXPECT_EQ(L::TrimToWholePeriods(480000, 48000, 1000.0f), 480000u);
    // 48000 / 1234.56 = 38.88 frames a period; 12345 periods = 479976.0.
    EXPECT_EQ(L::TrimToWholePeriods(480000, 48000, 1234.56f), 479976u);
    EXPECT_EQ(L::TrimToWholePeriods(480000, 48000, 0.1f), 480000u);
    EXPECT_EQ(L::TrimToWholePeriods(10, 48000, 1000.0f), 10u); // at least one period
}

TEST(SigGenLength, EachTypeAtTheDefaults)
{
    EXPECT_EQ(LengthOf(OfType(kSigWhiteNoise), 48000), 2880000u);
    EXPECT_EQ(LengthOf(OfType(kSigPinkNoise), 48000, 2644268), 2644268u); // not extended
    EXPECT_EQ(LengthOf(OfType(kSigNoiseBurst), 48000), 96000u);
    EXPECT_EQ(LengthOf(OfType(kSigTone1kHz), 48000), 480000u);
    EXPECT_EQ(LengthOf(OfType(kSigToneBurst), 48000), 96000u);
    EXPECT_EQ(LengthOf(OfType(kSigIMD), 48000), 48000u);
    EXPECT_EQ(LengthOf(OfType(kSigFreqSweep), 48000), 480000u);
    EXPECT_EQ(LengthOf(OfType(kSigLevelSweep), 48000), 480000u);
    EXPECT_EQ(LengthOf(OfType(kSigSawtooth), 44100), 44132u); // one 44-frame period, extended
    EXPECT_EQ(LengthOf(OfType(kSigSquare), 48000), 48024u);   // 24 frames at 2 kHz
    EXPECT_EQ(LengthOf(OfType(kSigPulse), 48000), 48480u);    // 480 frames, 101 times
    EXPECT_EQ(LengthOf(OfType(kSigUserWave), 48000, 0, 12345), 12345u);
    EXPECT_EQ(LengthOf(OfType(kSigUserWave), 48000, 0, 0), 0u);
    EXPECT_EQ(LengthOf(OfType(kSigDTMF), 44100), 44100u);
    // 20 … 22000 Hz in 1000 Hz steps: 22 steps of one second.
    EXPECT_EQ(LengthOf(OfType(kSigFreqStep), 48000), 22u * 48000u);

    SigGenChannelSettings tones = OfType(kSigMultipleTones);
    tones.Tones[0].ToneEnable = 0;
    tones.Tones[3].ToneEnable = 1;
    tones.Tones[3].FreqHz = 1234.56f; // the first enabled tone sets the period
    EXPECT_EQ(LengthOf(tones, 48000), 479976u);
}

TEST(SigGenLength, OneShotsKeepTheirLengthAndReturnsDouble)
{
    SigGenChannelSettings s = OfType(kSigFreqSweep);
    s.FreqSweep.TimeMSec = 5000;
    s.FreqSweep.SingleSweepFlag = 1;
    EXPECT_EQ(LengthOf(s, 48000), 240000u);
    s.FreqSweep.ReturnSweepFlag = 1;
    EXPECT_EQ(LengthOf(s, 48000), 480000u);
    s.FreqSweep.SingleSweepFlag = 0;
    s.FreqSweep.TimeMSec = 300; // 28800, doubled, then whole patterns past a second
    EXPECT_EQ(LengthOf(s, 48000), 57600u);

    SigGenChannelSettings pulse = OfType(kSigPulse);
    pulse.Pulse.OneShotFlag = 1;
    EXPECT_EQ(LengthOf(pulse, 44100), 441u);

    SigGenChannelSettings steps = OfType(kSigFreqStep);
    steps.FreqStep.StepType = 2;
    steps.FreqStep.FStartHz = 20.0f;
    steps.FreqStep.FStopHz = 20000.0f;
    steps.FreqStep.DwellTimeMSec = 100;
    steps.FreqStep.SingleStepFlag = 1;
    steps.FreqStep.ReturnStepFlag = 1;
    EXPECT_EQ(LengthOf(steps, 48000), 2u * 31u * 4800u);
}

TEST(SigGenLength, DegenerateSettingsGiveASecondAndHugeOnesTheCap)
{
    SigGenChannelSettings sweep = OfType(kSigFreqSweep);
    sweep.FreqSweep.TimeMSec = 0;
    sweep.FreqSweep.SingleSweepFlag = 1;
    EXPECT_EQ(LengthOf(sweep, 48000), 48000u);

    SigGenChannelSettings saw = OfType(kSigSawtooth);
    saw.Sawtooth.FreqHz = 0.0f;
    EXPECT_EQ(LengthOf(saw, 48000), 48000u);
    saw.Sawtooth.FreqHz = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(LengthOf(saw, 48000), 48000u);
    saw.Sawtooth.FreqHz = 90000.0f; // beyond Nyquist: two-frame periods
    EXPECT_EQ(LengthOf(saw, 48000), 48002u);

    SigGenChannelSettings burst = OfType(kSigNoiseBurst);
    burst.NoiseBurst.CycleTimeMsec = 0;
    EXPECT_EQ(LengthOf(burst, 48000), 48000u);

    // 21981 one-Hz steps of ten minutes: far beyond 32 bits of frames.
    SigGenChannelSettings steps = OfType(kSigFreqStep);
    steps.FreqStep.StepSize = 0.0f;
    steps.FreqStep.DwellTimeMSec = 600000;
    EXPECT_EQ(LengthOf(steps, 192000), L::MaxFrames(192000));
    EXPECT_EQ(L::MaxFrames(192000), 115200000u);
    steps.FreqStep.StepType = 2;
    steps.FreqStep.OctaveNumber = 0; // counts as whole octaves
    steps.FreqStep.DwellTimeMSec = 1000;
    EXPECT_EQ(LengthOf(steps, 48000), 11u * 48000u); // bands 4 (15.8 Hz) to 14 (15849 Hz)
}

TEST(SigGenSteps, OctaveAndLinearStepCounts)
{
    FreqStepSettings s;
    s.StepType = 2;
    s.FStartHz = 20.0f;
    s.FStopHz = 20000.0f;
    std::int64_t first = 0;
    s.OctaveNumber = 3; // upward counts: SigGenSweep.OctaveStepsAreTheBaseTenBandCentres
    std::swap(s.FStartHz, s.FStopHz);
    EXPECT_EQ(TSigGenSteps::GetStepCount(s, &first), 31);
    EXPECT_EQ(first, 43); // downward from 19953 Hz

    // No band above Nyquist: at 48000 Hz the 31623 Hz octave is left out.
    s.OctaveNumber = 1;
    s.FStartHz = 20.0f;
    s.FStopHz = 24000.0f;
    EXPECT_EQ(TSigGenSteps::GetStepCount(s, &first), 12);
    EXPECT_EQ(TSigGenSteps::GetStepCount(s, &first, 48000), 11);
    // Below band 1 the steps begin at band 1.
    s.FStartHz = 0.5f;
    s.FStopHz = 10.0f;
    EXPECT_EQ(TSigGenSteps::GetStepCount(s, &first), 3);
    EXPECT_EQ(first, 1);

    FreqStepSettings linear;
    linear.StepType = 1;
    linear.FStartHz = 100.0f;
    linear.FStopHz = 1000.0f;
    linear.StepSize = 100.0f;
    EXPECT_EQ(TSigGenSteps::GetStepCount(linear), 10);
    EXPECT_DOUBLE_EQ(TSigGenSteps::GetStepFrequency(linear, -1, 9), 1000.0);
    std::swap(linear.FStartHz, linear.FStopHz);
    EXPECT_DOUBLE_EQ(TSigGenSteps::GetStepFrequency(linear, -1, 9), 100.0);
    linear.StepType = 7;
    EXPECT_EQ(TSigGenSteps::GetStepCount(linear, &first), 1);
    EXPECT_EQ(first, -1);
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
    EXPECT_NEAR(A(4, -6.0f), 0.501187, 1e-6);
    EXPECT_NEAR(A(5, 54.0f), 0.501187, 1e-6);           // 54 dBmV = 0.501 V
    EXPECT_NEAR(A(6, 0.0f, 1.55f), 0.775 / 1.55, 1e-6); // 0 dBu = 0.775 V
    EXPECT_EQ(A(7, 0.5f), 1.0);
    EXPECT_EQ(A(0, 3.0f), 1.0); // beyond full scale: full scale
    // No positive amplitude: silence, never full scale.
    EXPECT_EQ(A(1, 0.0f), 0.0);
    EXPECT_EQ(A(2, -1.0f), 0.0);
    EXPECT_EQ(A(0, std::numeric_limits<float>::quiet_NaN()), 0.0);
    // A full-scale voltage of 0 is taken as 1 V and written back.
    EXPECT_NEAR(A(2, 0.5f, 0.0f), 0.5, 1e-12);
    EXPECT_EQ(o.FSVoltage, 1.0f);
    o.OutputUnits = 0;
    o.OutputLevelR = -20.0f;
    EXPECT_NEAR(TSigGenAmplitude::GetChannelAmplitude(o, 1), 0.1, 1e-9);
    EXPECT_EQ(TSigGenAmplitude::GetChannelAmplitude(o, 2), 1.0); // 0 dBFS
}
