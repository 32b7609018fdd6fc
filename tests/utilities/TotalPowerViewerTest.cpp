// The Total Power viewer reads the averaged spectrum, not the latest block:
// after blocks with every line at 3 and then at 1, the averaged power is
// five times the latest, 6.99 dB above it.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <tuple>

#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "engine/TProcessingSettings.h"
#include "settings/SpectrumOpts.h"
#include "utilities/recorderlogic/AnalysisViewText.h"
#include "utilities/recorderlogic/DataGridCells.h"

using namespace analysis_view;

namespace {

// One channel of 1024 points, four blocks averaged linearly.
TProcessingSettings ViewerSettings(std::uint32_t rate)
{
    TProcessingSettings settings;
    settings.SetFrameDefaults();
    settings.Format.Set(rate, 1, 2);
    settings.FFTsize = 1024;
    settings.AverageType = {0, 0};
    settings.AverageMode = {0, 0};
    settings.AverageBlocks = {4, 4};
    return settings;
}

} // namespace

TEST(TotalPowerViewer, ShowsTheAveragedPowerNotTheLatestBlocks)
{
    const TProcessingSettings settings = ViewerSettings(48000);
    ScalingOpts scaling;
    scaling.AmpScaleType = ScalingOpts::kLogarithmic;
    scaling.UtilityFreqSpanType = 0;
    SpectralData data(settings, scaling, 0, false);
    data.SetPeakHoldMode(1);
    data.ResetAveraging();
    for (float amplitude : {3.0f, 1.0f}) {
        float* block = data.GetComplexBuffer();
        for (std::uint32_t i = 0; i < data.GetLines(); ++i) {
            block[2 * i] = amplitude;
            block[2 * i + 1] = 0.0f;
        }
        data.Average(false);
    }
    const std::uint32_t first = data.GetStartBin(), last = data.GetEndBin();
    const float averaged = data.GetBandPower(first, last, ScalingOpts::kLogarithmic, data.GetTotalPowerWeighting(), false);
    const float latest = data.GetBandPower(first, last, ScalingOpts::kLogarithmic, data.GetTotalPowerWeighting(), true);
    ASSERT_NEAR(averaged - latest, 10 * std::log10(5.0), 0.01) << "the two readings differ as worked out";

    Sources sources;
    sources.processors[0] = &data;
    sources.scaling[0] = &scaling;
    DataGridCells grid;
    grid.SetSize(1, 1);
    UpdateResults(kTotalPower, sources, grid);
    const std::string shown(grid.CellText(0, 0));
    EXPECT_NEAR(std::stof(shown), averaged, 0.006f) << shown;
}

// Over the whole range the viewer reads the channel's own weighting; a span
// of the viewer's own reads the plain display power. A single line at
// 125 Hz (32 kHz, 1024 points: line 4), where A-weighting is -16.19 dB
// (IEC 61672-1 formula): A-weighted over the whole range, 16.19 dB below
// the same line read over a custom span.
TEST(TotalPowerViewer, TheWholeRangeReadsTheChannelsWeightingACustomSpanTheUnweightedPower)
{
    const TProcessingSettings settings = ViewerSettings(32000);
    ScalingOpts scaling;
    scaling.AmpScaleType = ScalingOpts::kLogarithmic;
    scaling.TotalPowerWeighting = 1;
    SpectralData data(settings, scaling, 0, false);
    data.ResetAveraging();
    float* block = data.GetComplexBuffer();
    for (std::uint32_t i = 0; i < data.GetLines(); ++i)
        block[2 * i] = block[2 * i + 1] = 0.0f;
    block[2 * 4] = 1.0f;
    data.Average(false);
    ASSERT_FLOAT_EQ(data.GetBinFrequency(4), 125.0f);

    Sources sources;
    sources.processors[0] = &data;
    sources.scaling[0] = &scaling;
    DataGridCells grid;
    grid.SetSize(1, 1);
    auto shown = [&](std::uint16_t spanType) {
        scaling.UtilityFreqSpanType = spanType;
        scaling.UtilityFreqCustomStart = 0.0f;
        scaling.UtilityFreqCustomStop = 16000.0f;
        UpdateResults(kTotalPower, sources, grid);
        return std::string(grid.CellText(0, 0));
    };
    const std::string whole = shown(0);
    const std::string custom = shown(2);
    EXPECT_TRUE(whole.ends_with(" A")) << whole;
    EXPECT_NEAR(std::stof(whole) - std::stof(custom), -16.19f, 0.02f) << whole << " against " << custom;
}

// The viewers' rows and caption, channel by channel, for each span choice:
// a single line at 625 Hz (32 kHz, 1024 points: line 20), uncalibrated dB.
TEST(AnalysisViewers, EachChannelShowsARowOverItsSpanAndWhatItCannotReadStaysBlank)
{
    const TProcessingSettings settings = ViewerSettings(32000);
    ScalingOpts scaling;
    scaling.AmpScaleType = ScalingOpts::kLogarithmic;
    scaling.TotalPowerWeighting = 3;
    scaling.UtilityFreqSpanType = 0;
    SpectralData data(settings, scaling, 0, false);
    data.ResetAveraging();
    SpectrumOpts plot;
    plot.StartFreq = 500.0f;
    plot.StopFreq = 800.0f;

    Sources sources;
    EXPECT_EQ(CountChannels(sources), 0);
    sources.processors[1] = &data;
    sources.scaling[1] = &scaling;
    EXPECT_EQ(CountChannels(sources), 1);
    DataGridCells grid;
    grid.SetSize(2, 1);
    auto show = [&](int kind) {
        grid.SetCellText(0, 0, "old");
        grid.SetCellText(1, 0, "old");
        const std::optional<std::string> caption = UpdateResults(kind, sources, grid);
        return std::tuple(caption.value_or("none"), std::string(grid.CellText(0, 0)), std::string(grid.CellText(1, 0)));
    };
    using Shown = std::tuple<std::string, std::string, std::string>;
    const std::string whole = "(R: " + std::to_string(int(data.GetStartFrequency())) + "Hz to "
                            + std::to_string(int(data.GetEndFrequency())) + "Hz)";
    EXPECT_EQ(show(kPeakFrequency), Shown("Peak Freq  " + whole, kNoDataText, "old")) << "before the first block";

    float* block = data.GetComplexBuffer();
    for (std::uint32_t i = 0; i < data.GetLines(); ++i)
        block[2 * i] = block[2 * i + 1] = 0.0f;
    block[2 * 20] = 0.5f;  // half the full-scale line: -6.02 dBr
    data.Average(false);
    EXPECT_EQ(show(kPeakFrequency), Shown("Peak Freq  " + whole, " 625.0 Hz", "old")) << "the right channel in row 0";

    // dB levels keep two decimals, in the short unit; the power names its weighting.
    EXPECT_EQ(show(kPeakAmplitude), Shown("Peak Amplitude  " + whole, " -6.02 dBr", "old"));
    const std::string power = std::get<1>(show(kTotalPower));
    EXPECT_TRUE(power.ends_with(" dBr C") && power[power.size() - 9] == '.') << power;

    // The plot's span: without the plot's record nothing can be read.
    scaling.UtilityFreqSpanType = 1;
    EXPECT_EQ(show(kPeakFrequency), Shown("none", "", "old"));
    sources.spectrum[1] = &plot;
    EXPECT_EQ(show(kPeakFrequency), Shown("Peak Freq  (R: 500Hz to 800Hz)", " 625.0 Hz", "old"));
    scaling.UtilityFreqSpanType = 3;
    EXPECT_EQ(show(kPeakFrequency), Shown("none", "", "old")) << "an unknown span";

    // Both channels: a row each; a channel without its scaling shows nothing.
    scaling.UtilityFreqSpanType = 1;
    sources.processors[0] = &data;
    sources.scaling[0] = &scaling;
    sources.spectrum[0] = &plot;
    EXPECT_EQ(CountChannels(sources), 2);
    EXPECT_EQ(show(kPeakFrequency),
              Shown("Peak Freq (L: 500Hz to 800Hz) (R: 500Hz to 800Hz)", " 625.0 Hz", " 625.0 Hz"));
    sources.scaling[0] = nullptr;
    EXPECT_EQ(show(kPeakFrequency), Shown("Peak Freq  (R: 500Hz to 800Hz)", " 625.0 Hz", "old"));
    sources.processors[1] = nullptr;
    EXPECT_EQ(CountChannels(sources), 1);
    EXPECT_EQ(show(kPeakFrequency), Shown("none", "old", "old"));
}
