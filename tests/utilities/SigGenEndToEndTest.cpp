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
