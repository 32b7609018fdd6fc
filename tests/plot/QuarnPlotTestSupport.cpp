#include "QuarnPlotTestSupport.h"

#include "tests/engine/SpectralTestSupport.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

namespace quarn_test {

PlotRecords::PlotRecords(std::uint16_t ampScale, std::uint16_t freqScale)
{
    Settings = spectral_test::MakeSettings(48000, 65536, 1);
    Scaling = ScalingOpts::FrameDefaults(0);
    Scaling.AmpScaleType = ampScale;
    Scaling.FreqScaleType = freqScale;
    Scaling.UtilityFreqSpanType = 0;
    Spectrum = SpectrumOpts::FrameDefaults(0);
    // Every frame draws unless a test asks for the interval.
    Spectrum.IntervalFlag = 0;
    Spectrum.StartFreq = 20.0f;
    Spectrum.StopFreq = 20000.0f;
    if (ampScale == ScalingOpts::kLogarithmic) {
        Spectrum.PlotTop = 0.0f;
        Spectrum.PlotRange = 140.0f;
    } else if (ampScale == ScalingOpts::kLogMagnitude) {
        Spectrum.PlotTop = 100.0f;
        Spectrum.PlotRange = 1e-4f;
    } else {
        Spectrum.PlotTop = 60.0f;
    }
}

std::unique_ptr<SpectralData> MakeData(const PlotRecords& records, int channel)
{
    auto data = std::make_unique<SpectralData>(records.Settings, records.Scaling, channel, false);
    data->SetName(channel == 0 ? "Left" : "Right");
    return data;
}

void SetLineLevel(SpectralData& data, std::uint32_t line, float level)
{
    if (data.GetAmpScaleType() == ScalingOpts::kLogarithmic) {
        SpectralDataTestAccess::AvgDb(data)[line] = level;
        SpectralDataTestAccess::AvgPower(data)[line] = static_cast<float>(std::pow(10.0, level / 10.0));
    } else {
        const double amplitude = level / 100.0;
        SpectralDataTestAccess::AvgPower(data)[line] = static_cast<float>(amplitude * amplitude);
    }
}

void SetKnownSpectrum(SpectralData& data, float toneHz, float toneLevel, float floorLevel)
{
    const std::uint32_t tone = data.GetBinIndex(toneHz);
    for (std::uint32_t i = 0; i < data.GetLines(); ++i)
        SetLineLevel(data, i, i == tone ? toneLevel : floorLevel);
    SpectralDataTestAccess::MarkAveraged(data);
}

std::unique_ptr<TQuarnPlot> MakePlot(PlotRecords& records, SpectralData* trace1, SpectralData* trace2, int width,
                                     int height)
{
    auto plot = std::make_unique<TQuarnPlot>();
    const bool created = plot->Create("Spectrum", QRect(0, 0, width, height), &records.Settings, &records.Scaling,
                                      &records.Markers, &records.Spectrum, trace1, trace2, 0);
    EXPECT_TRUE(created) << "the plot window was not created";
    return plot;
}

TonePlot::TonePlot(std::uint16_t amp, std::uint16_t freq, float toneLevel, float floorLevel)
    : records(amp, freq), data(MakeData(records))
{
    SetKnownSpectrum(*data, 1000.0f, toneLevel, floorLevel);
}

TQuarnPlot& TonePlot::Make(int width, int height)
{
    plot = MakePlot(records, data.get(), nullptr, width, height);
    return *plot;
}

int PointsOnRow(const std::vector<PlotPoint>& points, int y)
{
    return static_cast<int>(std::count_if(points.begin(), points.end(), [y](const PlotPoint& p) { return p.y == y; }));
}

int HighestRow(const std::vector<PlotPoint>& points)
{
    int top = 1 << 30;
    for (const PlotPoint& p : points)
        top = std::min(top, p.y);
    return top;
}

} // namespace quarn_test
