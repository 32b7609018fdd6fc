#pragma once
// Spectrum plots for the tests: the records a plot reads, spectral-data
// objects at 48 kHz with 65536-point blocks, and a known spectrum set line
// by line (exact levels for hand-computed rows).

#include "plot/TQuarnPlot.h"

#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "engine/TProcessingSettings.h"
#include "settings/MarkerOpts.h"
#include "settings/SpectrumOpts.h"
#include "tests/support/PlatformTestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace quarn_test {

// Hz between FFT lines at that rate and size.
inline constexpr double kLineSpacing = 24000.0 / 32768.0;

struct PlotRecords {
    TProcessingSettings Settings;
    ScalingOpts Scaling;
    MarkerOpts Markers;
    SpectrumOpts Spectrum;

    PlotRecords(std::uint16_t ampScale, std::uint16_t freqScale);
};

// A display object of the records' settings and scaling.
std::unique_ptr<SpectralData> MakeData(const PlotRecords& records, int channel = 0);

// Every line at the floor, the one nearest toneHz at the tone's level, in
// the object's display units (dB, or percent of full scale for the linear
// and log scales).
void SetKnownSpectrum(SpectralData& data, float toneHz, float toneLevel, float floorLevel);

// One level for one line, as SetKnownSpectrum writes it.
void SetLineLevel(SpectralData& data, std::uint32_t line, float level);

// A plot of the given client size created on the records (a failed
// creation fails the test).
std::unique_ptr<TQuarnPlot> MakePlot(PlotRecords& records, SpectralData* trace1, SpectralData* trace2, int width,
                                     int height);

// A 1 kHz tone over a floor on the records' scales; the plot is made once
// the test has set the records.
struct TonePlot {
    TonePlot(std::uint16_t amp, std::uint16_t freq, float toneLevel, float floorLevel);
    TQuarnPlot& Make(int width, int height);
    PlotRecords records;
    std::unique_ptr<SpectralData> data;
    std::unique_ptr<TQuarnPlot> plot;
};

// The points on row y, and the highest row of any point.
int PointsOnRow(const std::vector<PlotPoint>& points, int y);
int HighestRow(const std::vector<PlotPoint>& points);

} // namespace quarn_test
