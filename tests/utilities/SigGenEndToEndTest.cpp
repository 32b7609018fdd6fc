// The generator window's signals played through the simulated DAQ module's
// output, heard on its input and analysed by the run control, as when the
// operator opens the generator and presses Run in the main window.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/utilities/SigGenLoopback.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"

using siggen_loopback::Loopback;

namespace {

FrameSettings LoopbackSettings()
{
    FrameSettings s = run_test::TestSettings();
    s.SoundCardDriverMode = 1;
    s.m_OutputDevice = 0;
    return s;
}

double Power(float db)
{
    return std::pow(10.0, db / 10.0);
}

} // namespace

TEST(SigGenEndToEnd, ATonePlaysWhileTheAnalyzerRunsAndReadsAtItsLevel)
{
    FrameSettings s = LoopbackSettings();
    s.SigGenChannel[0].SigType = kSigTone1kHz;
    s.SigGenChannel[1].SigType = kSigTone1kHz;
    s.SigGenOutput.OutputUnits = 0;
    s.SigGenOutput.OutputLevel = -6.0f;
    s.SigGenOutput.OutputLevelR = -6.0f;
    Loopback h(s);
    ASSERT_TRUE(h.OpenGenerator());

    ASSERT_TRUE(h.run.StartInput());
    EXPECT_TRUE(h.window->IsPlaying()) << "the analyzer's start plays the open generator";
    ASSERT_TRUE(h.Acquire(12));

    for (int channel = 0; channel < 2; ++channel) {
        const SpectralData& shown = *h.processing.GetDisplayData(channel);
        const run_test::Peak peak = run_test::FindPeak(shown);
        EXPECT_NEAR(peak.frequency, 1000.0, shown.GetLineSpacing()) << channel;
        // The module's output and input ranges match: −6 dBFS out, −6 dB in.
        EXPECT_NEAR(peak.level, -6.0, 0.3) << channel;
    }

    // The generator's own Run is refused meanwhile; its Stop stops the analyzer.
    h.window->StopOutput();
    h.window->OnRunButton();
    EXPECT_FALSE(h.window->IsPlaying());
    ASSERT_FALSE(h.messages.empty());
    EXPECT_EQ(h.messages.back().text, TSigGenPlayRules::kAsioRunningMessage);
    h.window->StartGenerator();
    h.window->StopGenerator();
    EXPECT_FALSE(h.run.IsRunning());
    EXPECT_FALSE(h.window->IsPlaying());
}

TEST(SigGenEndToEnd, PinkNoiseCarriesEqualPowerPerOctaveInThirdOctaveBands)
{
    FrameSettings s = LoopbackSettings();
    s.SigGenChannel[0].SigType = kSigPinkNoise;
    s.SigGenChannel[1].SigType = kSigPinkNoise;
    s.SigGenOutput.OutputLevel = 0.0f;
    s.SigGenOutput.OutputLevelR = 0.0f;
    for (int c = 0; c < 2; ++c) {
        s.Scaling[c].FreqScaleType = ScalingOpts::kOctave;
        s.Scaling[c].OctaveNumber = 3;
        // Average every block of the run alike.
        s.Processing.AverageMode[c] = 1;
        s.Processing.AverageSpeed[c] = 4;
    }
    Loopback h(s);
    ASSERT_TRUE(h.OpenGenerator());
    ASSERT_TRUE(h.run.StartInput());
    // Each result from a block of its own (4096 frames, 85 ms), so that the
    // average is over independent noise.
    ASSERT_TRUE(h.Acquire(48, 90));

    const SpectralData& shown = *h.processing.GetDisplayData(0);
    ASSERT_TRUE(shown.IsOctaveMode());
    // Octaves from 500 Hz to 8 kHz, each the power of its three third-octave bands.
    std::vector<double> octaveDb;
    for (double centre = 500.0; centre < 9000.0; centre *= 2.0) {
        double power = 0.0;
        int bands = 0;
        for (std::uint32_t b = shown.GetStartBin(); b <= shown.GetEndBin(); ++b) {
            const double f = shown.GetBinFrequency(b);
            if (f > centre * std::pow(2.0, -0.45) && f < centre * std::pow(2.0, 0.45)) {
                power += Power(shown.GetValue(b));
                ++bands;
            }
        }
        ASSERT_EQ(bands, 3) << centre;
        octaveDb.push_back(10.0 * std::log10(power));
    }
    for (std::size_t k = 1; k < octaveDb.size(); ++k) {
        // Pink: equal power in every octave, so the power per hertz (the
        // bands widen with frequency) falls 3 dB an octave.
        EXPECT_NEAR(octaveDb[k] - octaveDb[k - 1], 0.0, 1.0) << k;
        const double densityStep = (octaveDb[k] - 10.0 * std::log10(2.0)) - octaveDb[k - 1];
        EXPECT_NEAR(densityStep, -3.01, 1.0) << k;
    }
}
