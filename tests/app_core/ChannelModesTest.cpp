// The processing objects of each channel mode, and what the modes compute
// from known signals on the two channels.

#include "tests/app_core/RunTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "settings/TextField.h"
#include "tests/support/PlatformTestSupport.h"

using run_test::ChannelSignal;
using run_test::Harness;
using namespace ::testing;

namespace {

FrameSettings ModeSettings(std::uint16_t mode, std::uint16_t channels = 2)
{
    FrameSettings s = run_test::TestSettings();
    s.Processing.Format.Set(48000, channels, 2);
    s.Processing.ChannelProcessing = mode;
    // A fixed average of many blocks, so that estimates settle.
    s.Processing.AverageMode = {0, 0};
    s.Processing.AverageBlocks = {64, 64};
    SetTextField(s.Calibration[0].ChannelName, "Mic");
    SetTextField(s.Calibration[1].ChannelName, "Accel");
    return s;
}

// Runs the mode on the given signals for a number of blocks.
void RunMode(Harness& h, const ChannelSignal& left, const ChannelSignal& right, int blocks)
{
    h.audio.input.left = left;
    h.audio.input.right = right;
    ASSERT_TRUE(h.run.StartInput());
    ASSERT_EQ(h.Ticks(blocks), blocks);
}

const ChannelSignal kNoiseA{ChannelSignal::kNoise, 0.0, 0.1, 1};
const ChannelSignal kNoiseB{ChannelSignal::kNoise, 0.0, 0.1, 2};

// Which of the objects a pointer is: L, R (display), dual, coh or -.
std::string Which(const TProcessingObjects& p, const SpectralData* d)
{
    return d == nullptr                  ? "-"
           : d == p.GetDisplayData(0)    ? "L"
           : d == p.GetDisplayData(1)    ? "R"
           : d == p.GetDualChannelData() ? "dual"
           : d == p.GetCoherenceData()   ? "coh"
                                         : "?";
}

} // namespace

TEST(ChannelModes, EachModeBuildsTheObjectsItUses)
{
    // The two results of each mode, and the dual-channel object's name:
    // the right channel first where the mode puts it first.
    const std::pair<const char*, const char*> modes[13] = {
        {"L -", ""}, {"R -", ""}, {"L R", ""}, {"dual -", "Average (Mic and Accel)"},
        {"dual -", "Transfer Function (Mic/Accel)"}, {"dual -", "Transfer Function (Accel/Mic)"},
        {"dual -", "Cross Spectrum (Mic*Accel)"}, {"dual -", "Cross Spectrum (Accel*Mic)"},
        {"dual -", "Transfer Function (Mic/Accel)"}, {"dual -", "Transfer Function (Accel/Mic)"},
        {"coh -", "Spectrum"}, {"dual coh", "Transfer Function (Mic/Accel)"},
        {"dual coh", "Transfer Function (Accel/Mic)"}};
    for (std::uint16_t channels : {1, 2}) {
        for (std::uint16_t mode = 0; mode < 13; ++mode) {
            SCOPED_TRACE(testing::Message() << channels << " channel(s), mode " << mode);
            Harness h(ModeSettings(mode, channels));
            TProcessingObjects& p = h.processing;
            p.BuildProcessing();
            const bool two = channels == 2;
            EXPECT_EQ((std::vector<bool>{p.GetSampleBuffer(0) != nullptr, p.GetWindow(0) != nullptr,
                                         p.GetDisplayData(0) != nullptr, p.GetLoggingData(0) != nullptr,
                                         p.GetSampleBuffer(1) != nullptr, p.GetWindow(1) != nullptr,
                                         p.GetDisplayData(1) != nullptr, p.GetLoggingData(1) != nullptr,
                                         p.GetDualChannelData() != nullptr, p.GetCoherenceData() != nullptr}),
                      (std::vector<bool>{true, true, true, true, two, two, two, two, two && mode >= 3,
                                         two && mode >= 10}));
            EXPECT_EQ(p.GetLoggingData(0)->GetPeakHoldMode(), 4);
            const std::string got = Which(p, p.GetModeProcessor(0)) + " " + Which(p, p.GetModeProcessor(1));
            if (!two) {
                // One channel serves mode 0 only; any other mode refuses
                // the block instead of reaching for a right channel.
                EXPECT_EQ(got, mode == 0 || mode == 2 ? "L -" : "- -");
                EXPECT_EQ(p.ProcessSpectrumBlock(p.GetLoggingData(0), nullptr, nullptr, nullptr, 1.0), mode == 0);
                continue;
            }
            EXPECT_EQ(got, modes[mode].first);
            const SpectralData* dual = p.GetDualChannelData();
            EXPECT_STREQ(dual != nullptr ? dual->GetName() : "", modes[mode].second);
            if (mode >= 10) {
                EXPECT_STREQ(p.GetCoherenceData()->GetName(), "Coherence");
            }
            EXPECT_TRUE(p.ProcessSpectrumBlock(p.GetLoggingData(0), p.GetLoggingData(1), p.GetDualChannelData(),
                                               p.GetCoherenceData(), 1.0));
            EXPECT_FALSE(p.ProcessSpectrumBlock(p.GetLoggingData(0), nullptr, p.GetDualChannelData(),
                                                p.GetCoherenceData(), 1.0));
        }
    }
}

// The left channel is half the right: |H|² is 1/4 or 4 by the mode's order.
TEST(ChannelModes, TheDualModesCombineBothChannelsAsTheirTransferCoherenceOrAverage)
{
    for (std::uint16_t mode : {4, 5, 8, 9, 10, 11, 12}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        Harness h(ModeSettings(mode));
        RunMode(h, {ChannelSignal::kNoise, 0.0, 0.05, 1}, kNoiseA, 4);
        if (mode != 10) {
            const double power = mode == 4 || mode == 8 || mode == 11 ? 0.25 : 4.0;
            EXPECT_NEAR(run_test::MeanOfFunction(*h.processing.GetDualChannelData()), power, 0.01 * power);
        }
        if (mode >= 10) {
            EXPECT_NEAR(run_test::MeanOfFunction(*h.processing.GetCoherenceData()), 1.0, 0.01);
        }
    }

    Harness independent(ModeSettings(10));
    RunMode(independent, kNoiseA, kNoiseB, 40);
    const SpectralData& coherence = *independent.processing.GetCoherenceData();
    EXPECT_NEAR(run_test::MeanOfFunction(coherence), 1.0 / 40, 0.004) << "one over the blocks averaged";
    EXPECT_TRUE(coherence.IsCoherence());

    // The average mode: the power mean of the two amplitudes, sqrt((0.5² + 0.1²) / 2) of full scale.
    Harness h(ModeSettings(3));
    RunMode(h, {ChannelSignal::kTone, 2000.0, 0.5}, {ChannelSignal::kTone, 2000.0, 0.1}, 6);
    const SpectralData& average = *h.processing.GetDualChannelData();
    EXPECT_NEAR(run_test::FindPeak(average).frequency, 2000.0, average.GetLineSpacing());
    EXPECT_NEAR(run_test::FindPeak(average).level, 10.0 * std::log10((0.25 + 0.01) / 2.0), 0.1);
}

TEST(ChannelModes, PlotsDrawTheModesResults)
{
    // Shared scaling: plot 1 draws both results, plot 2 nothing. Independent
    // scaling: each channel of modes 1 and 2 on its own plot.
    for (const auto& [independent, mode, plots] : {std::tuple{0, 1, "R - / - -"}, {0, 2, "L R / - -"},
                                                   {0, 11, "dual coh / - -"}, {1, 2, "L - / R -"},
                                                   {1, 1, "- - / R -"}, {1, 12, "dual coh / - -"}}) {
        FrameSettings s = ModeSettings(std::uint16_t(mode));
        s.Processing.IndependentScalingAndCalibration = std::uint16_t(independent);
        Harness h(s);
        h.processing.BuildProcessing();
        const auto& b = h.plots.bound;
        const TProcessingObjects& p = h.processing;
        EXPECT_EQ(Which(p, b[0].first) + " " + Which(p, b[0].second) + " / " + Which(p, b[1].first) + " " +
                      Which(p, b[1].second),
                  plots)
            << independent << " " << mode;
    }
}

// The Kaiser window's parameter comes from the settings file; an invalid
// window type makes the rebuild raise a message box, and a repaint behind it
// must find the plots holding no deleted object. A name filling its whole
// field has no terminator; it still ends there.
TEST(ChannelModes, RebuildingReadsTheKaiserParameterAndUnbindsThePlotsBeforeAnyMessageCanShow)
{
    FrameSettings s = ModeSettings(5);
    s.Processing.SmoothingWindow = smoothing::Kaiser;
    std::memset(s.Calibration[1].ChannelName, 'R', sizeof s.Calibration[1].ChannelName);
    SetTextField(s.Calibration[0].ChannelName, "L");
    Harness h(s);
    h.processing.BuildProcessing();
    EXPECT_EQ(std::string(h.processing.GetDualChannelData()->GetName()),
              "Transfer Function (" + std::string(40, 'R') + "/L)");
    EXPECT_STREQ(h.processing.GetDisplayData(1)->GetName(), std::string(40, 'R').c_str());
    EXPECT_FLOAT_EQ(h.processing.GetWindow(1)->Parameter(), 5.0f) << "no settings file";
    TempFolder folder;
    WriteText(folder.Path("k.ini"), "[Settings]\r\nKaiserAlpha=8.5\r\n");
    h.processing.SetSettingsFilePath(folder.Path("k.ini"));
    h.processing.BuildProcessing();
    EXPECT_FLOAT_EQ(h.processing.GetWindow(0)->Parameter(), 8.5f);
    EXPECT_FLOAT_EQ(h.processing.GetWindow(1)->Parameter(), 8.5f);

    ASSERT_NE(h.plots.bound[0].first, nullptr);
    h.settings.Processing.SmoothingWindow = 99;
    int messages = 0;
    platform::SetMessageBoxHook([&](const platform::MessageBoxRequest&) {
        ++messages;
        EXPECT_THAT(h.plots.bound, Each(Pair(IsNull(), IsNull())));
        return platform::MessageResult::Ok;
    });
    h.processing.BuildProcessing();
    EXPECT_GT(messages, 0);
    EXPECT_EQ(h.plots.bound[0].first, h.processing.GetDualChannelData());
}

// The logging pass takes the display pass's transform when both objects
// correct alike; its spectra must not differ by a bit from a transform of
// its own.
TEST(ChannelModes, SharedTransformGivesTheLoggingPassBitIdenticalSpectra)
{
    auto fill = [](SpectralData* data, unsigned seed) {
        std::mt19937 noise(seed);
        std::normal_distribution<float> gauss(0.0f, 3000.0f);
        float* block = data->GetComplexBuffer();
        for (std::uint32_t i = 0; i < data->GetFFTSize(); ++i)
            block[i] = gauss(noise) + 8000.0f * std::sin(0.05f * float(i));
    };
    auto same = [](const SpectralData* a, const SpectralData* b, const float* (SpectralData::*buffer)() const,
                   std::size_t perLine) {
        return std::memcmp((a->*buffer)(), (b->*buffer)(), perLine * a->GetLines() * sizeof(float)) == 0;
    };
    Harness separate(ModeSettings(12)), shared(ModeSettings(12));
    // A running log: the logging objects keep their latest lines.
    shared.settings.DataLog.Active = 1;
    TProcessingObjects &s = separate.processing, &t = shared.processing;
    s.BuildProcessing();
    t.BuildProcessing();
    ASSERT_TRUE(t.LoggingSharesDisplayTransform(0) && t.LoggingSharesDisplayTransform(1));
    for (int block = 0; block < 3; ++block) {
        for (int c = 0; c < 2; ++c) {
            for (SpectralData* data : {s.GetDisplayData(c), s.GetLoggingData(c), t.GetDisplayData(c)})
                fill(data, 17u + unsigned(c));
        }
        auto process = [block](TProcessingObjects& p, SpectralData* left, SpectralData* right) {
            return p.ProcessSpectrumBlock(left, right, p.GetDualChannelData(), p.GetCoherenceData(), 1.0 + block);
        };
        ASSERT_TRUE(process(s, s.GetDisplayData(0), s.GetDisplayData(1)) &&
                    process(s, s.GetLoggingData(0), s.GetLoggingData(1)) &&
                    process(t, t.GetDisplayData(0), t.GetDisplayData(1)) && t.ProcessLoggingBlock(1.0 + block));
    }
    for (int c = 0; c < 2; ++c) {
        EXPECT_TRUE(same(s.GetLoggingData(c), t.GetLoggingData(c), &SpectralData::GetComplexSpectrum, 2));
        EXPECT_TRUE(same(s.GetLoggingData(c), t.GetLoggingData(c), &SpectralData::GetPowerBuffer, 1));
        EXPECT_TRUE(same(s.GetLoggingData(c), t.GetLoggingData(c), &SpectralData::GetLatestPowerBuffer, 1));
        EXPECT_TRUE(same(s.GetDisplayData(c), t.GetDisplayData(c), &SpectralData::GetPowerBuffer, 1));
    }
    EXPECT_TRUE(same(s.GetDualChannelData(), t.GetDualChannelData(), &SpectralData::GetPowerBuffer, 1));
    EXPECT_TRUE(same(s.GetCoherenceData(), t.GetCoherenceData(), &SpectralData::GetPowerBuffer, 1));
}

// A logging object recalibrated between blocks stops taking the display's
// transform at the next block, and from then on transforms its own block
// bit for bit as an object that never shared.
TEST(ChannelModes, ALoggingObjectRecalibratedMidRunTransformsItsOwnBlockFromTheNextBlockOn)
{
    Harness separate(ModeSettings(2)), shared(ModeSettings(2));
    // A running log: with it off nothing reads the logging objects of this mode.
    shared.settings.DataLog.Active = 1;
    TProcessingObjects &s = separate.processing, &t = shared.processing;
    s.BuildProcessing();
    t.BuildProcessing();
    TChannelCalibration doubled;
    doubled.IsEnabled = 1;
    doubled.CalRatio = 2.0f;
    const std::vector<bool> sharesAtBlock = {true, false, false};
    for (int block = 0; block < 3; ++block) {
        if (block == 1) {
            for (TProcessingObjects* p : {&s, &t})
                p->GetLoggingData(1)->SetCalibration(&doubled);
        }
        EXPECT_TRUE(t.LoggingSharesDisplayTransform(0)) << block;
        EXPECT_EQ(t.LoggingSharesDisplayTransform(1), sharesAtBlock[std::size_t(block)]) << block;
        for (int c = 0; c < 2; ++c) {
            std::mt19937 noise(31u * unsigned(block) + unsigned(c));
            std::normal_distribution<float> gauss(0.0f, 2000.0f);
            std::vector<float> samples(s.GetDisplayData(c)->GetFFTSize());
            for (float& v : samples)
                v = gauss(noise);
            for (SpectralData* data : {s.GetDisplayData(c), s.GetLoggingData(c), t.GetDisplayData(c)})
                std::copy(samples.begin(), samples.end(), data->GetComplexBuffer());
            // Not sharing: the run loop copies the block into the logging object.
            if (!t.LoggingSharesDisplayTransform(c))
                std::copy(samples.begin(), samples.end(), t.GetLoggingData(c)->GetComplexBuffer());
        }
        auto process = [block](TProcessingObjects& p, SpectralData* left, SpectralData* right) {
            return p.ProcessSpectrumBlock(left, right, p.GetDualChannelData(), p.GetCoherenceData(), 1.0 + block);
        };
        ASSERT_TRUE(process(s, s.GetDisplayData(0), s.GetDisplayData(1)) &&
                    process(s, s.GetLoggingData(0), s.GetLoggingData(1)) &&
                    process(t, t.GetDisplayData(0), t.GetDisplayData(1)) && t.ProcessLoggingBlock(1.0 + block));
        for (int c = 0; c < 2; ++c) {
            const SpectralData *a = s.GetLoggingData(c), *b = t.GetLoggingData(c);
            const std::size_t lines = a->GetLines();
            EXPECT_EQ(std::memcmp(a->GetComplexSpectrum(), b->GetComplexSpectrum(), 2 * lines * sizeof(float)), 0)
                << block << " " << c;
            EXPECT_EQ(std::memcmp(a->GetPowerBuffer(), b->GetPowerBuffer(), lines * sizeof(float)), 0)
                << block << " " << c;
        }
    }
}

// The log starts only with a run, on fresh objects. While it is off, the
// single-channel modes leave their logging objects alone (nothing reads
// them) and still step; the dual-channel modes run the logging pair, as the
// plots read the dual-channel and coherence objects it leaves, with the
// logging pair's hold suspended. A run that logs averages and holds the
// logging objects at every step.
TEST(ChannelModes, WhileTheLogIsOffOnlyTheDualModesRunTheLoggingPassAndALoggedRunHoldsEveryStep)
{
    for (const auto& [mode, active] : {std::pair{0, false}, {2, false}, {2, true}, {4, false}, {10, false}, {12, false}}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << (active ? ", log on" : ", log off"));
        Harness h(ModeSettings(std::uint16_t(mode)));
        // Started today: no new log day (and its pause) comes between blocks.
        h.settings.DataLog.LogStartTime = std::chrono::system_clock::to_time_t(h.clock.Now());
        h.settings.DataLog.Active = active ? 1 : 0;
        h.audio.input.left = {ChannelSignal::kTone, 1000.0, 0.5};
        h.audio.input.right = kNoiseA;
        ASSERT_TRUE(h.run.StartInput());
        if (active) {
            // As the log's start does: a forever average and the hold until reset.
            for (int c = 0; c < 2; ++c) {
                h.processing.GetLoggingData(c)->SetAveraging(4, 100000);
                h.processing.GetLoggingData(c)->SetPeakHoldMode(4);
            }
        }
        ASSERT_EQ(h.Ticks(4), 4) << "every step has its result";
        const bool runs = active || mode >= 3;
        const SpectralData* logging = h.processing.GetLoggingData(0);
        ASSERT_NE(logging, nullptr);
        EXPECT_EQ(logging->GetBlocksAveraged(), runs ? 4 : 0);
        EXPECT_EQ(logging->IsHoldSuspended(), runs && !active);
        const std::uint32_t tone = logging->FrequencyToBin(1000.0f);
        const bool held = logging->GetHoldValue(tone) > SpectralData::kNoValue;
        EXPECT_EQ(held, active) << "only a running log holds";
    }
}
