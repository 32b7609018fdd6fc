// Run, the acquisition loop and Stop, driven by a fake input that plays a
// known tone into each channel, a fake clock and a fake timer.

#include "tests/app_core/RunTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "audio/TWaveFile.h"


using run_test::ChannelSignal;
using run_test::Events;
using run_test::Harness;
using namespace ::testing;

TEST(RunControl, RunAnalysesEachChannelsToneThenStops)
{
    Harness h;
    h.audio.input.left = {ChannelSignal::kTone, 1000.0, 0.5};
    h.audio.input.right = {ChannelSignal::kTone, 5000.0, 0.1};

    ASSERT_TRUE(h.run.StartInput());
    EXPECT_TRUE(h.run.IsRunning());
    EXPECT_EQ(h.Take({"input.", "log.", "timer.", "runstate", "status", "plots."}),
              (Events{"input.create 3 1", "input.open", "input.prepare", "input.start", "log.start",
                      "timer.start 10", "runstate", "status 2", "plots.active"}));
    EXPECT_EQ(h.Input().blockLength, 4096u);
    EXPECT_EQ(h.settings.m_InputDevice, 3);

    // Run while running is refused and changes nothing; Restart is Stop
    // then Run: a new port, a new run.
    EXPECT_FALSE(h.run.StartInput());
    EXPECT_TRUE(h.events.empty());
    h.run.OnRestart();
    EXPECT_TRUE(h.run.IsRunning());
    EXPECT_EQ(h.Take({"input.create", "input.deleted", "timer.start"}),
              (Events{"input.deleted", "input.create 3 1", "timer.start 10"}));

    EXPECT_EQ(h.Ticks(8), 8);
    EXPECT_EQ(h.run.GetFrameCounter(), 8u);

    // The display objects show each tone at its frequency and level (the
    // data-log tests read the logging objects).
    const double spacing = h.processing.GetDisplayData(0)->GetLineSpacing();
    for (const auto& [c, hz, fraction] : {std::tuple{0, 1000.0, 0.5}, {1, 5000.0, 0.1}}) {
        EXPECT_NEAR(run_test::FindPeak(*h.processing.GetDisplayData(c)).frequency, hz, spacing);
        EXPECT_NEAR(run_test::FindPeak(*h.processing.GetDisplayData(c)).level, 20.0 * std::log10(fraction), 0.1);
    }

    // Each result reaches both plots and both log channels, in that order per channel.
    ASSERT_EQ(h.plots.updates.size(), 16u);
    ASSERT_EQ(h.dataLog.records.size(), 16u);
    EXPECT_EQ(std::make_pair(h.dataLog.records[0].first, h.dataLog.records[1].first), std::make_pair(0, 1));
    EXPECT_NEAR(h.dataLog.records[0].second, h.clock.TimeOfDaySeconds() - 7 * 0.025f, 0.01) << "the time of day";
    EXPECT_DOUBLE_EQ(h.plots.updates.back().second, h.clock.steady) << "plots get steady block times";

    h.events.clear();
    h.run.OnStop();
    EXPECT_FALSE(h.run.IsRunning());
    EXPECT_EQ(h.Take({"input.", "log.", "timer.", "runstate", "status", "plots.", "plot.reset"}),
              (Events{"timer.stop", "input.stop", "log.stop", "runstate", "status 2", "plots.idle", "plot.reset 0",
                      "plot.reset 1"}));

    // A timer event already queued when Stop came neither reads nor re-arms.
    const int reads = h.Input().reads;
    h.run.OnTimer();
    EXPECT_FALSE(h.timer.armed);
    EXPECT_EQ(h.Input().reads, reads);
}

// Each refused step: false, stopped, one message; a generator the start
// played is stopped again.
TEST(RunControl, ARefusedStartReturnsFalseStaysStoppedAndSaysWhy)
{
    const char* says[] = {"not detected", "Unable to open", "Sampling Rate is not supported", "starting input"};
    for (int refused = 0; refused < 4; ++refused) {  // no device, open, rate, start with a generator open
        SCOPED_TRACE(refused);
        Harness h;
        h.audio.deviceCount = refused == 0 ? 0 : 1;
        h.audio.input.openOk = refused != 1;
        h.audio.input.rateOk = refused != 2;
        h.audio.input.startOk = refused != 3;
        h.utilities.generator = refused == 3;
        EXPECT_FALSE(h.run.StartInput());
        EXPECT_FALSE(h.run.IsRunning());
        if (h.utilities.generator) {
            EXPECT_EQ(h.Take({"gen.", "input.start", "timer.start"}),
                      (Events{"gen.stop", "gen.start", "input.start", "gen.stop"}));
            EXPECT_FALSE(h.utilities.generatorPlaying);
        }
        EXPECT_EQ(h.Take({"runstate", "log.start", "plots.active", "timer.start"}), Events{});
        EXPECT_THAT(h.messages, ElementsAre(HasSubstr(says[refused])));
        EXPECT_EQ(h.run.ProcessInputTick(), 0) << "a stopped run processes nothing";
    }
}

// The recorder gets the input only while it is recording.
TEST(RunControl, CalibrationWarningsDoNotStopTheStartAndARecordingRecorderReceivesTheInputUntilStop)
{
    // A microphone set up for the DAQ's features, on another device (the
    // frame's run test answers the never-calibrated warning).
    Harness h;
    TWaveFile recording(48000, TWaveFormat(48000, 2, 2));
    h.utilities.recorder = true;
    h.utilities.wave = &recording;
    h.settings.Calibration[0] = DefaultChannelCalibration(0);
    h.settings.Calibration[0].CalCreateMode = 2;
    ASSERT_TRUE(h.run.StartInput());
    EXPECT_EQ(h.Input().recording, nullptr) << "a recorder that is not recording gets nothing";
    EXPECT_THAT(h.messages, ElementsAre(HasSubstr("it is not the selected device")));
    EXPECT_EQ(h.Take({"daq."}), Events{});

    // On the DAQ module the session is renewed and the front end configured instead.
    h.run.StopInput();
    h.messages.clear();
    h.audio.input.isDaq = true;
    h.utilities.recorderState = RunUtilities::kRecorderRecording;
    ASSERT_TRUE(h.run.StartInput());
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(h.Take({"daq."}), (Events{"daq.reopen", "daq.configure 3 1"}));
    EXPECT_EQ(h.Input().recording, &recording);
    // The open recorder leaves the timer reading the live input, not its file.
    h.clock.Advance(0.025);
    h.run.OnTimer();
    EXPECT_EQ(std::pair(h.Input().reads, h.run.GetFrameCounter()), std::pair(1, 1u));
    h.run.StopInput();
    EXPECT_EQ(h.utilities.recorderState, RunUtilities::kRecorderStopped);
}

TEST(RunControl, StepsOncePerNewBufferWhateverThePlotsDisplayIntervalAndBacksOffBetween)
{
    Harness h;
    ASSERT_TRUE(h.run.StartInput());
    // One timer event after `seconds`: the blocks read so far.
    auto readsAfter = [&h](double seconds) {
        h.clock.Advance(seconds);
        h.run.OnTimer();
        return h.Input().reads;
    };

    // Fewer samples than a block: one step, nothing read, re-armed at 20 ms;
    // only the run-state text (the ring's filling) is refreshed.
    h.Input().behaviour.available = 4095;
    EXPECT_EQ(readsAfter(0.025), 0);
    EXPECT_EQ(h.timer.interval, 20u);
    EXPECT_EQ(h.observer.viewerUpdates, 0);
    EXPECT_EQ(h.Take({"status 1", "status 3"}), (Events{"status 1"}));

    // A full ring and a new buffer: exactly one step, however cheap, and the
    // event's next call finds nothing new and re-arms at 20 ms.
    h.Input().behaviour.available = 1 << 20;
    EXPECT_EQ(readsAfter(0.0), 1);
    EXPECT_EQ(h.run.GetFrameCounter(), 1u);
    EXPECT_EQ(h.timer.interval, 20u);
    EXPECT_TRUE(h.timer.armed);
    EXPECT_EQ(h.observer.viewerUpdates, 1);
    EXPECT_EQ(h.Take({"status 1", "status 3"}), (Events{"status 1", "status 3", "status 1"}))
        << "the step's refresh, then the event's second call's text alone";

    // No frame since: no block is read.
    EXPECT_EQ(readsAfter(0.0), 1);

    // A new buffer (512 frames, 10.7 ms) is analysed at once, sooner than
    // the plots' 20 ms display interval: the plots skip frames themselves.
    EXPECT_EQ(readsAfter(0.011), 2);
    EXPECT_EQ(h.run.GetFrameCounter(), 2u);
    EXPECT_EQ(h.plots.updates.size(), 4u) << "one frame per plot per step";

    // So does every new buffer under plots that redraw every 3 s.
    for (int c = 0; c < 2; ++c)
        h.settings.Spectrum[c].IntervalSecs = 3.0f;
    EXPECT_EQ(readsAfter(0.011), 3);
    EXPECT_EQ(readsAfter(0.011), 4);
    EXPECT_EQ(h.plots.updates.size(), 8u);

    // A new run steps at its first buffer however soon after the last run's step.
    h.run.OnStop();
    ASSERT_TRUE(h.run.StartInput());
    EXPECT_EQ(readsAfter(0.011), 1);
}

// A 50 ms burst of 1 kHz between two redraws of plots that draw every
// 3 s is analysed: the step that hears it puts it into the peak hold, at
// about the tone's level (-6 dB: half of full scale), and the plots are
// handed every step to skip as their interval says.
TEST(RunControl, ABurstBetweenTwoRedrawsReachesThePeakHold)
{
    FrameSettings settings = run_test::TestSettings();
    for (int c = 0; c < 2; ++c) {
        settings.Spectrum[c].IntervalFlag = 1;
        settings.Spectrum[c].IntervalSecs = 3.0f;
        settings.Spectrum[c].PeakHold = SpectrumOpts::kPeakHoldForever;
    }
    settings.Processing.AverageSpeed = {0, 0};  // the live line is the latest block's
    Harness h(settings);
    h.audio.input.left = {ChannelSignal::kTone, 1000.0, 0.5, 1, 1000.5, 1000.55};
    ASSERT_TRUE(h.run.StartInput());
    const SpectralData* display = h.processing.GetDisplayData(0);
    ASSERT_NE(display, nullptr);
    const std::uint32_t tone = display->FrequencyToBin(1000.0f);

    const int before = h.Ticks(40, 0.01);  // to 1000.4 s
    EXPECT_LT(display->GetHoldValue(tone), -100.0f) << "silence so far";
    const int steps = before + h.Ticks(60, 0.01);  // to 1001.0 s, a burst and 0.45 s of silence
    EXPECT_NEAR(display->GetHoldValue(tone), 20.0 * std::log10(0.5), 1.5);
    EXPECT_LT(run_test::FindPeak(*display).level, -100.0f) << "the live spectrum is silent again";
    EXPECT_GE(steps, 90) << "every tick heard new sound";
    EXPECT_EQ(h.plots.updates.size(), 2u * std::size_t(steps));
}

// One timer event steps on while new sound keeps coming, but hands the GUI
// thread back once its 100 ms are spent: reads taking 31.25 ms each end
// after the fourth (125 ms), and the timer comes back at its fastest.
TEST(RunControl, AnEventStepsWhileSoundComesAndHandsBackAfterItsBudget)
{
    Harness h;
    ASSERT_TRUE(h.run.StartInput());
    h.Input().behaviour.secondsPerRead = 1.0 / 32.0;
    h.Input().behaviour.lastDeliveringRead = 10;  // an event without a budget would end there
    h.clock.Advance(0.025);
    h.run.OnTimer();
    EXPECT_EQ(h.Input().reads, 4);
    EXPECT_EQ(h.run.GetFrameCounter(), 4u);
    EXPECT_TRUE(h.timer.armed);
    EXPECT_EQ(h.timer.interval, 10u);
}

TEST(RunControl, ADueTickWithoutANewBufferChangesNothing)
{
    Harness h;
    h.audio.input.left = {ChannelSignal::kTone, 1000.0, 0.5};
    ASSERT_TRUE(h.run.StartInput());
    ASSERT_EQ(h.Ticks(3), 3);

    const SpectralData* display = h.processing.GetDisplayData(0);
    ASSERT_NE(display, nullptr);
    auto power = [display] {
        return std::vector<float>(display->GetPowerBuffer(), display->GetPowerBuffer() + display->GetLines());
    };
    const std::vector<float> before = power();
    const std::size_t plotFrames = h.plots.updates.size();
    const std::size_t records = h.dataLog.records.size();
    const int viewerUpdates = h.observer.viewerUpdates;
    const int reads = h.Input().reads;
    h.Take({});

    // Well past the display interval, and the driver has delivered nothing.
    h.Input().behaviour.delivering = false;
    EXPECT_EQ(h.Ticks(4, 0.05), 0);
    EXPECT_EQ(h.Input().reads, reads);
    EXPECT_EQ(power(), before);
    EXPECT_EQ(h.plots.updates.size(), plotFrames);
    EXPECT_EQ(h.dataLog.records.size(), records);
    EXPECT_EQ(h.observer.viewerUpdates, viewerUpdates);
    EXPECT_EQ(h.Take({"status"}), (Events(4, "status 1"))) << "the run-state text alone";
    EXPECT_EQ(h.run.GetFrameCounter(), 3u);
}

// A step waits for a sixteenth of a block of new frames, or 80 ms of sound
// at the most, whatever the display allows: with a plot that draws every
// frame and a tick each millisecond for one second, the 65536-point block
// steps at its first buffer and then at every 4096 frames at 192 kHz
// (192000 / 4096 = 46.9: 46 more), at every 8th 512-frame buffer at 48 kHz
// (3840 frames of 80 ms round up to 4096: 11 more) and at every 256 frames
// with a 4096-point block (every 512-frame buffer: 48000 / 512 = 93.75).
TEST(RunControl, AStepWaitsForASixteenthOfABlockOfNewSoundOrEightyMilliseconds)
{
    // At 8 kHz a sixteenth of 65536 points would be 512 ms: 80 ms (640
    // frames) decide, and buffers of 512 frames come every 64 ms, so a step
    // follows every second buffer: the first, then 7 more in the second.
    for (const auto& [rate, fft, steps] : {std::tuple{192000u, 65536u, 47}, {48000u, 65536u, 12}, {48000u, 4096u, 94},
                                           {8000u, 65536u, 8}}) {
        SCOPED_TRACE(testing::Message() << rate << " Hz, " << fft << " points");
        FrameSettings settings = run_test::TestSettings();
        settings.Processing.Format.Set(rate, 1, 2);
        settings.Processing.ChannelProcessing = 0;
        settings.Processing.FFTsize = fft;
        settings.Spectrum[0].IntervalFlag = 0;
        Harness h(settings);
        h.audio.input.left = {ChannelSignal::kTone, 1000.0, 0.5};
        ASSERT_TRUE(h.run.StartInput());
        EXPECT_EQ(h.Ticks(1000, 0.001), steps);
    }
}

// Held lines fall by their hold mode's step once per 20 ms, however far
// apart the steps are: after a tone stops, Fast hold (1 s, then 1 dB a
// step) falls 50 dB a second at 48 kHz (12 steps a second) as at 192 kHz
// (47 a second).
TEST(RunControl, HeldLinesFallAsFastASecondAtEveryRate)
{
    for (std::uint32_t rate : {48000u, 192000u}) {
        SCOPED_TRACE(testing::Message() << rate << " Hz");
        FrameSettings settings = run_test::TestSettings();
        settings.Processing.Format.Set(rate, 1, 2);
        settings.Processing.ChannelProcessing = 0;
        settings.Processing.FFTsize = 65536;
        settings.Spectrum[0].PeakHold = 1;
        // No averaging: the silence's level is the floor at once.
        settings.Processing.AverageSpeed = {0, 0};
        Harness h(settings);
        h.audio.input.left = {ChannelSignal::kTone, 1000.0, 0.5};
        ASSERT_TRUE(h.run.StartInput());
        h.Ticks(20, 0.02);
        h.Input().behaviour.left = {};
        const SpectralData* display = h.processing.GetDisplayData(0);
        ASSERT_NE(display, nullptr);
        const std::uint32_t tone = display->FrequencyToBin(1000.0f);
        // Past the hold time and the block's length of silence: (time, held level) at each step.
        std::vector<std::pair<double, float>> falling;
        for (int tick = 0; tick < 3000; ++tick) {
            if (h.Ticks(1, 0.001) == 1 && tick > 2000)
                falling.emplace_back(h.clock.steady, display->GetHoldValue(tone));
        }
        const std::size_t count = falling.size();
        if (count < 8) {
            ADD_FAILURE() << "only " << count << " steps";
            continue;
        }
        const double seconds = falling[count - 1].first - falling[0].first;
        const double fell = double{falling[0].second} - falling[count - 1].second;
        EXPECT_NEAR(fell / seconds, 50.0, 0.5);
    }
}

// The read converts each channel's block straight into its display block:
// exactly the floats the sample buffer gives back, for the 16- and 24-bit
// formats (the 24-bit one through the eight-sample path).
TEST(RunControl, TheReadFillsTheDisplayBlocksWithWhatTheSampleBuffersHold)
{
    for (std::uint16_t bytes : {2, 3}) {
        SCOPED_TRACE(testing::Message() << bytes << " bytes");
        FrameSettings settings = run_test::TestSettings();
        settings.Processing.Format.Set(48000, 2, bytes);
        Harness h(settings);
        h.audio.input.left = {ChannelSignal::kTone, 1000.0, 0.5};
        h.audio.input.right = {ChannelSignal::kNoise, 0.0, 0.2, 3};
        ASSERT_TRUE(h.run.StartInput());
        h.clock.Advance(0.025);
        ASSERT_EQ(h.run.ReadInputBlocks(h.processing.GetSampleBuffer(0), h.processing.GetSampleBuffer(1)), 1);
        for (int c = 0; c < 2; ++c) {
            SpectralData* display = h.processing.GetDisplayData(c);
            const TSampleBuffer* buffer = h.processing.GetSampleBuffer(c);
            ASSERT_TRUE(display != nullptr && buffer != nullptr);
            const std::uint32_t n = display->GetFFTSize();
            std::vector<float> expected(n);
            buffer->CopySamples(expected.data(), n);
            EXPECT_EQ(std::vector<float>(display->GetComplexBuffer(), display->GetComplexBuffer() + n), expected);
            EXPECT_NE(expected[n / 2], 0.0f) << "a block was read";
        }
    }
}

// Silent from its start: the run stops once the limit (0.5 s) has passed
// since the start, whether the timer ticked often or first ticked exactly
// at the limit (which is no hold-up of the program).
TEST(RunControl, ADeviceSilentFromItsStartStopsTheRunOnceTheLimitHasPassed)
{
    const struct {
        const char* name;
        std::vector<double> steps;  // seconds between ticks; the last one stops the run
    } cases[] = {
        {"ticks every 0.125 s", {0.125, 0.125, 0.125, 0.125, 0.125}},
        {"a first tick at the limit", {0.5, 0.125}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.audio.input.delivery = SoundInputPort::DeliveryState{};
        h.audio.input.available = 0;
        ASSERT_TRUE(h.run.StartInput());
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            EXPECT_TRUE(h.run.IsRunning()) << "tick " << i;
            h.clock.Advance(c.steps[i]);
            h.run.OnTimer();
        }
        EXPECT_FALSE(h.run.IsRunning());
        EXPECT_THAT(h.messages, ElementsAre(HasSubstr("no sound for 0.5 seconds")));
    }
}

TEST(RunControl, ADeviceThatStopsDeliveringStopsTheRunWithOneMessageAndRunWorksAgain)
{
    // 4096-point blocks at 48 kHz: two blocks are 0.17 s, so the shortest
    // limit, 0.5 s, holds.
    for (const auto& [reset, says] : {std::pair{true, "asked to be reset"}, {false, "no sound for 0.5 seconds"}}) {
        SCOPED_TRACE(says);
        Harness h;
        h.audio.input.delivery = SoundInputPort::DeliveryState{};
        h.audio.input.available = 0;
        // Buffers keep coming, 0.4 s apart: the run goes on.
        auto deliver = [&h] {
            for (int i = 0; i < 5; ++i) {
                h.clock.Advance(0.4);
                ++h.Input().behaviour.delivery->Buffers;
                h.run.OnTimer();
            }
            return h.run.IsRunning();
        };
        ASSERT_TRUE(h.run.StartInput());
        ASSERT_TRUE(deliver());
        if (reset) {
            h.Input().behaviour.delivery->ResetRequested = true;
        } else {
            h.clock.Advance(0.45);
            h.run.OnTimer();
            ASSERT_TRUE(h.run.IsRunning()) << "0.45 s without a buffer is not yet a stop";
            h.clock.Advance(0.1);
        }
        h.run.OnTimer();
        EXPECT_FALSE(h.run.IsRunning());
        EXPECT_FALSE(h.timer.armed);
        EXPECT_EQ(h.run.GetInputPort(), nullptr) << "the next Run opens the device afresh";
        h.run.OnTimer();
        EXPECT_THAT(h.messages, ElementsAre(AllOf(HasSubstr("\"Test Device\""), HasSubstr(says))));

        // The device is back: Run runs, and goes on while buffers come.
        ASSERT_TRUE(h.run.StartInput());
        EXPECT_TRUE(deliver());
        EXPECT_EQ(h.messages.size(), 1u);
    }
}
