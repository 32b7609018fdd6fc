// The Total Power viewer reads the averaged spectrum, not the latest block:
// after blocks with every line at 3 and then at 1, the averaged power is
// five times the latest, 6.99 dB above it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "engine/TProcessingSettings.h"
#include "utilities/recorderlogic/AnalysisViewText.h"
#include "utilities/recorderlogic/DataGridCells.h"

using namespace analysis_view;

TEST(TotalPowerViewer, ShowsTheAveragedPowerNotTheLatestBlocks)
{
    TProcessingSettings settings;
    settings.SetFrameDefaults();
    settings.Format.Set(48000, 1, 2);
    settings.FFTsize = 1024;
    settings.AverageType = {0, 0};
    settings.AverageMode = {0, 0};
    settings.AverageBlocks = {4, 4};
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
    TProcessingSettings settings;
    settings.SetFrameDefaults();
    settings.Format.Set(32000, 1, 2);
    settings.FFTsize = 1024;
    settings.AverageType = {0, 0};
    settings.AverageMode = {0, 0};
    settings.AverageBlocks = {4, 4};
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
