// Playing the recorder's wave file through the analysis.

#include "tests/app_core/RunTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "audio/TWaveFile.h"
#include "engine/TSampleBuffer.h"
#include "platform/ZeroFilledArray.h"

using run_test::Events;
using run_test::FindPeak;
using ::testing::Contains;

namespace {

// The harness with its processing built and the recorder holding a 48 kHz
// wave (16-bit unless told) with a tone {Hz, fraction of full scale} per channel.
struct Player : run_test::Harness {
    Player(std::uint64_t frames, std::vector<std::pair<double, double>> tones, std::uint16_t bytes = 2)
        : wave(frames, TWaveFormat(48000, std::uint16_t(tones.size()), bytes))
    {
        for (std::uint64_t n = 0; n < frames; ++n) {
            for (std::size_t c = 0; c < tones.size(); ++c) {
                const double v = tones[c].second * std::sin(2 * M_PI * tones[c].first * double(n) / 48000.0);
                wave.PutSample(std::int32_t(std::lround(v * wave.GetFormat().HalfRange())), n, int(c));
            }
        }
        wave.Rewind();
        processing.BuildProcessing();
        utilities.recorder = true;
        utilities.wave = &wave;
    }
    TWaveFile wave;
};

} // namespace

// The recorder's end-to-end test on the main frame plays a recorded stereo
// tone through the analysis and to its end.
TEST(Playback, FollowsTheOutputThroughTheAnalysisAndLeavesTheLogAndTheViewersAlone)
{
    Player h(48000, {{1500.0, 0.5}});  // mono
    ASSERT_TRUE(h.run.StartPlayback());
    // Each event places the cursor where the sound is heard.
    h.clock.Advance(0.1);
    h.run.OnTimer();
    EXPECT_EQ(h.timer.interval, 10u);
    EXPECT_NEAR(double(h.wave.GetPosition()), 4800.0 + h.run.GetHopSize(), 1.0);
    for (int i = 0; i < 5; ++i) {
        h.clock.Advance(0.05);
        h.run.OnTimer();
    }
    EXPECT_TRUE(h.run.IsPlayback());
    EXPECT_EQ(h.run.GetFrameCounter(), 6u);
    // A mono wave leaves the right channel silent.
    EXPECT_NEAR(FindPeak(*h.processing.GetDisplayData(0)).level, 20.0 * std::log10(0.5), 0.1);
    EXPECT_LT(FindPeak(*h.processing.GetDisplayData(1)).level, -100.0);

    // Block times are the middle of each block in wave time.
    ASSERT_FALSE(h.plots.updates.empty());
    EXPECT_NEAR(h.plots.updates.front().second, (4800 + 2048) / 48000.0, 1.5 / 48000.0);
    EXPECT_TRUE(h.dataLog.records.empty());
    EXPECT_EQ(h.observer.viewerUpdates, 0);
}

TEST(Playback, RefusalsAndStopLeaveNothingPlayingAndAWaveShorterThanABlockStopsAtTheFirstEvent)
{
    Player h(1000, {{1000.0, 0.5}, {1000.0, 0.5}});
    h.utilities.recorder = false;
    EXPECT_FALSE(h.run.StartPlayback()) << "no recorder";
    h.utilities.recorder = true;
    h.audio.output.openOk = false;
    EXPECT_FALSE(h.run.StartPlayback());
    h.audio.output = {true, false};
    EXPECT_FALSE(h.run.StartPlayback());
    EXPECT_EQ(h.messages.size(), 2u);
    EXPECT_FALSE(h.run.IsRunning());
    EXPECT_EQ(h.Take({"timer.start"}), Events{});

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
    h.events.clear();
    ASSERT_TRUE(h.run.StartPlayback());
    EXPECT_TRUE(h.run.IsPlayback());
    EXPECT_TRUE(h.run.IsRunning());
    EXPECT_EQ(h.Take({"output.", "timer.", "plots."}),
              (Events{"output.create 0 1", "plots.active", "output.prepare 0 -1 -1", "output.start", "timer.start 100"}));

    h.clock.Advance(0.1);
    h.run.OnTimer();
    EXPECT_FALSE(h.run.IsPlayback());
    EXPECT_FALSE(h.run.IsRunning());
    EXPECT_THAT(h.Take({"runstate"}), Contains("runstate")) << "the Run lamp goes out with the run";
    EXPECT_FALSE(h.timer.armed);
    EXPECT_EQ(h.wave.GetPosition(), h.wave.GetNumFrames());
    EXPECT_EQ(h.run.GetOutputPort(), nullptr);
    EXPECT_EQ(h.run.GetFrameCounter(), 0u);
    EXPECT_TRUE(h.plots.updates.empty());
}

// A stereo 24-bit file into the 16-bit analysis: each channel reaches its
// own spectrum at its own level, each step reaches both plots once.
TEST(Playback, AStereoFileOfAnotherWidthPlaysEachChannelIntoItsOwnSpectrum)
{
    Player h(48000, {{1000.0, 0.5}, {3000.0, 0.1}}, 3);
    // A generator that is not playing is left alone.
    h.utilities.generator = true;
    ASSERT_TRUE(h.run.StartPlayback());
    EXPECT_TRUE(h.clock.sleeps.empty());
    EXPECT_EQ(h.Take({"gen."}), Events{});
    for (int i = 0; i < 4; ++i) {
        h.clock.Advance(0.05);
        h.run.OnTimer();
    }
    ASSERT_EQ(h.run.GetFrameCounter(), 4u);
    EXPECT_EQ(h.plots.updates.size(), 8u);
    for (const auto& [c, hz, fraction] : {std::tuple{0, 1000.0, 0.5}, {1, 3000.0, 0.1}}) {
        const double spacing = h.processing.GetDisplayData(c)->GetLineSpacing();
        EXPECT_NEAR(FindPeak(*h.processing.GetDisplayData(c)).frequency, hz, spacing) << c;
        EXPECT_NEAR(FindPeak(*h.processing.GetDisplayData(c)).level, 20.0 * std::log10(fraction), 0.1) << c;
    }
}

// Frames 5 … 5+count−1 of the right channel into a 64-sample 16-bit buffer,
// from a 16-bit file (copied as it stands) and a 24-bit one (sample by
// sample): a count the buffer holds is read, codes as written and the rest
// of the buffer left alone; one more than it holds, or a buffer whose memory
// could not be had, is refused with the buffer untouched.
TEST(Playback, AChannelIsReadOnlyIntoABufferThatHoldsItWhole)
{
    constexpr std::uint32_t kLength = 64;
    constexpr std::uint64_t kFirst = 5;
    constexpr std::int32_t kUntouched = 777;
    auto code = [](std::uint64_t frame, int channel) {
        return static_cast<std::int32_t>((frame * 37 + std::uint64_t(channel) * 500) % 2000) - 1000;
    };
    for (std::uint16_t bytes : {2, 3}) {
        TWaveFile wave(200, TWaveFormat(48000, 2, bytes));
        for (std::uint64_t n = 0; n < 200; ++n)
            for (int c = 0; c < 2; ++c)
                wave.PutSample(code(n, c) * (bytes == 3 ? 256 : 1), n, c);
        platform::ZeroFilledArray<std::int32_t> codes;
        for (const auto& [count, fits] : {std::pair{kLength - 1, true}, {kLength, true}, {kLength + 1, false}}) {
            for (bool failed : {false, true}) {
                SCOPED_TRACE(testing::Message() << bytes << " bytes, " << count << " frames"
                                                << (failed ? ", a failed buffer" : ""));
                if (failed)
                    platform::FailNextAllocations(1);
                TSampleBuffer buffer(kLength, TWaveFormat(48000, 1, 2), 1, 0);
                ASSERT_EQ(buffer.HasFailed(), failed);
                for (std::uint32_t i = 0; i < kLength; ++i)
                    buffer.PutSample(i, kUntouched);
                const bool read = TRunControl::ReadPlaybackChannel(wave, buffer, kFirst, count, 1, codes);
                EXPECT_EQ(read, fits && !failed);
                if (failed)
                    continue;
                std::vector<float> expected(kLength, float(kUntouched));
                for (std::uint32_t i = 0; read && i < count; ++i)
                    expected[i] = float(code(kFirst + i, 1));
                std::vector<float> samples(kLength);
                buffer.CopySamples(samples.data(), kLength);
                EXPECT_EQ(samples, expected);
            }
        }
    }
}
