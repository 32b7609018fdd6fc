// Playing the recorder's wave file through the analysis.

#include "tests/app_core/RunTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "audio/TWaveFile.h"

using run_test::Events;
using run_test::Harness;

namespace {

// A new in-memory wave with a tone per channel (amplitude 0 for none).
std::unique_ptr<TWaveFile> ToneWave(std::uint64_t frames, std::uint16_t channels, double leftHz, double leftFraction,
                                    double rightHz = 0.0, double rightFraction = 0.0)
{
    const TWaveFormat format(48000, channels, 2);
    auto wave = std::make_unique<TWaveFile>(frames, format);
    const double fullScale = format.HalfRange();
    for (std::uint64_t n = 0; n < frames; ++n) {
        const double t = double(n) / format.SamplingRate;
        wave->PutSample(std::int32_t(std::lround(leftFraction * fullScale * std::sin(2 * M_PI * leftHz * t))), n, 0);
        if (channels == 2)
            wave->PutSample(std::int32_t(std::lround(rightFraction * fullScale * std::sin(2 * M_PI * rightHz * t))),
                            n, 1);
    }
    wave->Rewind();
    return wave;
}

void Hold(Harness& h, TWaveFile& wave)
{
    h.utilities.recorder = true;
    h.utilities.wave = &wave;
}

} // namespace

TEST(Playback, WaveShorterThanABlockStopsAtTheFirstEvent)
{
    Harness h;
    h.processing.BuildProcessing();
    auto wave = ToneWave(1000, 2, 1000.0, 0.5, 1000.0, 0.5);
    Hold(h, *wave);

    ASSERT_TRUE(h.run.StartPlayback());
    EXPECT_TRUE(h.run.IsPlayback());
    EXPECT_TRUE(h.run.IsRunning());
    EXPECT_EQ(h.timer.interval, 100u);
    EXPECT_EQ(h.Take({"output.", "timer.", "plots."}),
              (Events{"output.create 0 1", "plots.active", "output.prepare 0 -1 -1", "output.start", "timer.start 100"}));

    h.clock.Advance(0.1);
    h.run.OnTimer();
    EXPECT_FALSE(h.run.IsPlayback());
    EXPECT_FALSE(h.run.IsRunning());
    EXPECT_FALSE(h.timer.armed);
    EXPECT_EQ(wave->GetPosition(), wave->GetNumFrames());
    EXPECT_EQ(h.run.GetOutputPort(), nullptr);
    EXPECT_EQ(h.run.GetFrameCounter(), 0u);
    EXPECT_TRUE(h.dataLog.records.empty());
    EXPECT_TRUE(h.plots.updates.empty());
}

TEST(Playback, FollowsTheOutputThroughTheAnalysisAndWritesNoLog)
{
    Harness h;
    h.processing.BuildProcessing();
    auto wave = ToneWave(48000, 2, 1500.0, 0.5, 6000.0, 0.25);
    Hold(h, *wave);
    ASSERT_TRUE(h.run.StartPlayback());

    // Each event places the cursor where the sound is heard.
    h.clock.Advance(0.1);
    h.run.OnTimer();
    EXPECT_EQ(h.timer.interval, 10u);
    EXPECT_NEAR(double(wave->GetPosition()), 4800.0 + h.run.GetHopSize(), 1.0);
    for (int i = 0; i < 5; ++i) {
        h.clock.Advance(0.05);
        h.run.OnTimer();
    }
    EXPECT_TRUE(h.run.IsPlayback());
    EXPECT_EQ(h.run.GetFrameCounter(), 6u);

    const SpectralData& left = *h.processing.GetDisplayData(0);
    const SpectralData& right = *h.processing.GetDisplayData(1);
    EXPECT_NEAR(run_test::FindPeak(left).frequency, 1500.0, left.GetLineSpacing());
    EXPECT_NEAR(run_test::FindPeak(left).level, 20 * std::log10(0.5), 0.1);
    EXPECT_NEAR(run_test::FindPeak(right).frequency, 6000.0, right.GetLineSpacing());
    EXPECT_NEAR(run_test::FindPeak(right).level, 20 * std::log10(0.25), 0.1);
    // Block times are the middle of each block in wave time.
    ASSERT_FALSE(h.plots.updates.empty());
    EXPECT_NEAR(h.plots.updates.front().second, (4800 + 2048) / 48000.0, 1.5 / 48000.0);
    EXPECT_TRUE(h.dataLog.records.empty());

    // Past the end the run stops by itself.
    h.clock.Advance(1.0);
    h.run.OnTimer();
    EXPECT_FALSE(h.run.IsRunning());
    EXPECT_FALSE(h.timer.armed);
}

TEST(Playback, MonoWaveLeavesTheRightChannelSilent)
{
    Harness h;
    h.processing.BuildProcessing();
    auto wave = ToneWave(48000, 1, 1000.0, 0.5);
    Hold(h, *wave);
    ASSERT_TRUE(h.run.StartPlayback());
    h.clock.Advance(0.1);
    h.run.OnTimer();
    ASSERT_EQ(h.run.GetFrameCounter(), 1u);
    EXPECT_NEAR(run_test::FindPeak(*h.processing.GetDisplayData(0)).level, 20 * std::log10(0.5), 0.1);
    EXPECT_LT(run_test::FindPeak(*h.processing.GetDisplayData(1)).level, -100.0);
}

TEST(Playback, RefusalsAndStopLeaveNothingPlaying)
{
    Harness h;
    h.processing.BuildProcessing();
    EXPECT_FALSE(h.run.StartPlayback()) << "no recorder";
    auto wave = ToneWave(48000, 2, 1000.0, 0.5, 1000.0, 0.5);
    Hold(h, *wave);

    h.audio.output.openOk = false;
    EXPECT_FALSE(h.run.StartPlayback());
    h.audio.output = {true, false};
    EXPECT_FALSE(h.run.StartPlayback());
    EXPECT_EQ(h.messages, (std::vector<std::string>{"Failure opening sound card for playback.",
                                                    "The current Sampling Rate is not supported by your sound card.  "
                                                    "Please check the processing settings and the output device "
                                                    "selection."}));
    EXPECT_FALSE(h.run.IsRunning());
    EXPECT_TRUE(h.timer.starts.empty());

    // The generator makes way; Stop ends playback so that Play works again.
    h.audio.output = {};
    h.utilities.generator = h.utilities.generatorPlaying = true;
    ASSERT_TRUE(h.run.StartPlayback());
    EXPECT_FALSE(h.utilities.generatorPlaying);
    EXPECT_EQ(h.clock.sleeps, std::vector<std::uint32_t>{500});
    EXPECT_FALSE(h.run.StartPlayback()) << "already playing";
    h.run.OnStop();
    EXPECT_FALSE(h.run.IsPlayback());
    EXPECT_EQ(h.run.GetOutputPort(), nullptr);
    EXPECT_TRUE(h.run.StartPlayback());
}
