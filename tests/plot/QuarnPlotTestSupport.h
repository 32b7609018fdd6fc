#pragma once
// Spectrum plots for the tests: the records a plot reads, spectral-data
// objects at 48 kHz with 65536-point blocks, and two ways to fill them: a
// known spectrum set line by line (exact levels for hand-computed rows) or
// signals run through the whole chain (window, FFT, averaging, hold) for
// pictures that look like a live measurement.

#include "plot/TQuarnPlot.h"

#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "engine/TProcessingSettings.h"
#include "settings/MarkerOpts.h"
#include "settings/SpectrumOpts.h"

#include <functional>
#include <memory>
#include <vector>

namespace quarn_test {

inline constexpr std::uint32_t kRate = 48000;
inline constexpr std::uint32_t kFFTSize = 65536;
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

// Every line (band in octave scaling) at the floor, the one nearest toneHz
// at the tone's level, in the object's display units (dB, or percent of
// full scale for the linear and log scales).
void SetKnownSpectrum(SpectralData& data, float toneHz, float toneLevel, float floorLevel);

// One level for one line, as SetKnownSpectrum writes it.
void SetLineLevel(SpectralData& data, std::uint32_t line, float level);

// A plot of the given client size created on the records.
std::unique_ptr<TQuarnPlot> MakePlot(PlotRecords& records, SpectralData* trace1, SpectralData* trace2, int width,
                                     int height, int channel = 0);

// n samples of a test signal: a tone with falling harmonics over white noise.
std::vector<float> ToneWithHarmonics(double hz, double fraction, double noiseRms, unsigned seed);

// Windows, transforms, averages and holds one block per call of make.
void RunBlocks(SpectralData& data, int blocks, const std::function<std::vector<float>(int block)>& make);

// A transfer function with its coherence (channel mode 11) from `blocks`
// blocks of noise through a low-pass, with independent noise on the output.
void RunTransferWithCoherence(SpectralData& transfer, SpectralData& coherence, const PlotRecords& records,
                              int blocks);

} // namespace quarn_test
