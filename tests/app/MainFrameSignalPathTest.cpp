// The generator's tone through the simulated module's loopback and the
// input path, as the plots show it: at the module's low, middle and high
// rates, with the generator's channels locked, and at the level it arrives.

#include "tests/app/FrameTestSupport.h"

#include "engine/TSmoothing.h"

namespace {

// What a channel's display shows of a tone near 1 kHz: its strongest line,
// the line spacing, and the strongest other line beyond the Flattop
// window's main lobe (four lines either side of the tone, five with the
// tone between two lines).
struct ToneReading {
    float frequency = 0.0f;
    float level = 0.0f;
    float lineHz = 0.0f;
    float spurFrequency = 0.0f;
    float spurLevel = -1000.0f;
};

ToneReading ReadTone(CMainFrame& frame, int channel)
{
    const SpectralData& shown = *frame.Processing().GetDisplayData(channel);
    ToneReading r;
    const frame_test::Peak peak = frame_test::DisplayPeak(frame, channel, 500.0f, 1500.0f);
    r.frequency = peak.frequency;
    r.level = peak.level;
    r.lineHz = shown.GetBinFrequency(1) - shown.GetBinFrequency(0);
    const auto toneLine = static_cast<std::int64_t>(shown.GetBinIndex(peak.frequency));
    for (std::uint32_t b = shown.GetStartBin(); b <= shown.GetEndBin(); ++b) {
        // The input's DC (what the sensor supply leaves) and its lobe are
        // not the tone's.
        if (std::abs(static_cast<std::int64_t>(b) - toneLine) <= 5 || shown.GetBinFrequency(b) < 5.5f * r.lineHz)
            continue;
        const float v = shown.GetValue(b);
        if (v > r.spurLevel) {
            r.spurLevel = v;
            r.spurFrequency = shown.GetBinFrequency(b);
        }
    }
    return r;
}

// Stereo at a rate, dB lines, Flattop, the generator's 1 kHz at −6 dBFS on
// both channels; the room switched off so that only the signal path shows.
FrameSettings ToneAt(std::uint32_t rate)
{
    FrameSettings s = frame_test::ToneSettings(rate);
    s.Processing.SmoothingWindow = smoothing::Flattop;
    return s;
}

struct QuietRoom {
    QuietRoom() { setenv("TALVENOR_DAQSIM_AMBIENT", "0", 1); }
    ~QuietRoom() { unsetenv("TALVENOR_DAQSIM_AMBIENT"); }
};

} // namespace

// At 8 kHz the module runs at 48 kHz in 512-frame buffers and the input
// decimates by 6; at 192 kHz nothing is decimated. Each shows the tone on
// its line and nothing else within 60 dB of it.
TEST(MainFrameSignalPath, TheGeneratorsToneIsCleanAtTheModulesLowMiddleAndHighRates)
{
    const QuietRoom quiet;
    for (const std::uint32_t rate : {8000u, 48000u, 192000u}) {
        SCOPED_TRACE(rate);
        FrameHarness h(ToneAt(rate));
        CMainFrame& frame = *h.frame;
        ASSERT_TRUE(frame_test::OpenGenerator(frame));
        frame.OnStart();
        ASSERT_TRUE(frame.IsRunning());
        // The averages are filled from blocks that all hold the tone.
        ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 8; }, 60000));
        for (int c = 0; c < 2; ++c) {
            SCOPED_TRACE(c);
            const ToneReading r = ReadTone(frame, c);
            EXPECT_NEAR(r.frequency, 1000.0f, r.lineHz) << "line spacing " << r.lineHz;
            EXPECT_LT(r.spurLevel, r.level - 60.0f) << "at " << r.spurFrequency << " Hz";
        }
        frame.OnStop();
    }
}

// Locked, the generator builds one channel and plays it on both outputs;
// the stream keeps the analyzer's two inputs, so both plots show the tone.
TEST(MainFrameSignalPath, LockedGeneratorChannelsLeaveBothInputsShowingTheTone)
{
    FrameSettings s = frame_test::ToneSettings(192000);
    s.LockSignalGeneratorChannels = 1;
    FrameHarness h(s);
    CMainFrame& frame = *h.frame;
    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    ASSERT_EQ(frame.SignalGenerator()->GetChannels(), 1u);
    frame.OnStart();
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 8; }));
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        const frame_test::Peak peak = frame_test::DisplayPeak(frame, c);
        const float line = 192000.0f / static_cast<float>(frame.Settings().Processing.FFTsize);
        EXPECT_NEAR(peak.frequency, 1000.0f, line);
    }
    // Both inputs hear the same −6 dBFS, 0.354 of the full scale's 1 Pa or
    // 1 g as rms: −9.0 dB re 1 Pa on the left (85.0 dB SPL), re 1 g on the right.
    for (int c = 0; c < 2; ++c) {
        const float offset = frame.Processing().GetDisplayData(c)->GetUnitOffsetDb();
        EXPECT_NEAR(frame_test::DisplayPeak(frame, c).level - offset, -9.0f, 0.5f) << c;
    }
    frame.OnStop();
}

// The simulated module's loopback carries full scale to full scale: its
// outputs play 0.625 V peak at full scale into inputs whose default range is
// 0.625 V. A generator level is a fraction of the output's full scale (on
// the DAQ module 1 V rms), and the input hears that fraction of its own:
// 0.500 V rms is half full scale, 0.3125 V peak, 0.625 / (2·√2) = 220.97 mV
// rms; the default −6 dB full scale is 0.50119 of it, 221.50 mV rms. The
// display reads dB re the input's full-scale peak (1 Pa by the default
// calibration).
TEST(MainFrameSignalPath, TheGeneratorsLevelArrivesAsTheSameFractionOfTheInputsFullScale)
{
    const QuietRoom quiet;
    struct Row {
        std::int32_t units;
        float level;
        double millivolts;
    } rows[] = {
        {0, -6.0f, 221.50},  // dB full scale, the default
        {2, 0.5f, 220.97},   // volts rms, as the Output Level dialog sets it on the module
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.units);
        FrameSettings s = ToneAt(48000);
        s.SigGenOutput.OutputUnits = row.units;
        s.SigGenOutput.FSOption = row.units == 0 ? 1 : 0;
        s.SigGenOutput.FSVoltage = 1.0f;
        s.SigGenOutput.OutputLevel = row.level;
        s.SigGenOutput.OutputLevelR = row.level;
        FrameHarness h(s);
        CMainFrame& frame = *h.frame;
        ASSERT_TRUE(frame_test::OpenGenerator(frame));
        frame.OnStart();
        ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 8; }, 60000));
        for (int c = 0; c < 2; ++c) {
            SCOPED_TRACE(c);
            const float offset = frame.Processing().GetDisplayData(c)->GetUnitOffsetDb();
            const double dB = frame_test::DisplayPeak(frame, c).level - offset;
            EXPECT_NEAR(625.0 * std::pow(10.0, dB / 20.0), row.millivolts, 0.5);
        }
        frame.OnStop();
    }
}
