#include "QuarnPlotTestSupport.h"

#include "tests/engine/SpectralTestSupport.h"

#include "engine/TSmoothing.h"

#include <cmath>
#include <random>

namespace quarn_test {

PlotRecords::PlotRecords(std::uint16_t ampScale, std::uint16_t freqScale)
{
    Settings = spectral_test::MakeSettings(kRate, kFFTSize, 1);
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
    const bool dB = data.GetAmpScaleType() == ScalingOpts::kLogarithmic;
    if (data.IsOctaveMode()) {
        // Band levels are dB whatever the scale; linear scales show them as
        // percent of full scale.
        const float dBLevel = dB ? level : static_cast<float>(20.0 * std::log10(std::max(level, 1e-9f) / 100.0));
        SpectralDataTestAccess::BandLevels(data)[line] = dBLevel;
        return;
    }
    if (dB) {
        SpectralDataTestAccess::AvgDb(data)[line] = level;
        SpectralDataTestAccess::AvgPower(data)[line] = static_cast<float>(std::pow(10.0, level / 10.0));
    } else {
        const double amplitude = level / 100.0;
        SpectralDataTestAccess::AvgPower(data)[line] = static_cast<float>(amplitude * amplitude);
    }
}

void SetKnownSpectrum(SpectralData& data, float toneHz, float toneLevel, float floorLevel)
{
    const std::uint32_t count = data.IsOctaveMode() ? data.GetBandCount() : data.GetLines();
    const std::uint32_t tone = data.GetBinIndex(toneHz);
    for (std::uint32_t i = 0; i < count; ++i)
        SetLineLevel(data, i, i == tone ? toneLevel : floorLevel);
    SpectralDataTestAccess::MarkAveraged(data);
}

std::unique_ptr<TQuarnPlot> MakePlot(PlotRecords& records, SpectralData* trace1, SpectralData* trace2, int width,
                                     int height, int channel)
{
    auto plot = std::make_unique<TQuarnPlot>();
    const bool created = plot->Create("Spectrum", QRect(0, 0, width, height), &records.Settings, &records.Scaling,
                                      &records.Markers, &records.Spectrum, trace1, trace2, channel);
    return created ? std::move(plot) : nullptr;
}

std::vector<float> ToneWithHarmonics(double hz, double fraction, double noiseRms, unsigned seed)
{
    const TProcessingSettings settings = spectral_test::MakeSettings(kRate, kFFTSize, 1);
    std::vector<float> block = spectral_test::WhiteNoise(kFFTSize, noiseRms, seed);
    const double amplitude = fraction * settings.Format.HalfRange();
    for (int k = 1; k <= 7; ++k) {
        const double level = amplitude * std::pow(10.0, -(18.0 * (k - 1) + (k % 2 == 0 ? 8.0 : 0.0)) / 20.0);
        for (std::size_t n = 0; n < block.size(); ++n)
            block[n] += static_cast<float>(level * std::sin(2.0 * M_PI * hz * k * double(n) / kRate + 0.3 * k));
    }
    return block;
}

void RunBlocks(SpectralData& data, int blocks, const std::function<std::vector<float>(int block)>& make)
{
    const std::uint16_t scaling = data.IsOctaveMode() ? smoothing::Energy : smoothing::Amplitude;
    const TSmoothing window(kFFTSize, smoothing::Flattop, scaling);
    for (int b = 0; b < blocks; ++b)
        spectral_test::RunBlock(data, make(b), &window, 0.1 * (b + 1));
}

void RunTransferWithCoherence(SpectralData& transfer, SpectralData& coherence, const PlotRecords& records,
                              int blocks)
{
    SpectralData left(records.Settings, records.Scaling, 0, false);
    SpectralData right(records.Settings, records.Scaling, 1, false);
    const TSmoothing window(kFFTSize, smoothing::Flattop, smoothing::Amplitude);
    const double full = records.Settings.Format.HalfRange();
    for (int b = 0; b < blocks; ++b) {
        const std::vector<float> input = spectral_test::WhiteNoise(kFFTSize, 0.05 * full, 100 + b);
        const std::vector<float> noise = spectral_test::WhiteNoise(kFFTSize, 0.004 * full, 200 + b);
        std::vector<float> output(kFFTSize);
        // Two one-pole low-passes at about 2 kHz: the output falls into its
        // own noise towards the top, and the coherence with it.
        double s1 = 0.0;
        double s2 = 0.0;
        constexpr double kPole = 0.77;
        for (std::size_t n = 0; n < input.size(); ++n) {
            s1 = kPole * s1 + (1.0 - kPole) * input[n];
            s2 = kPole * s2 + (1.0 - kPole) * s1;
            output[n] = static_cast<float>(s2) + noise[n];
        }
        // Left is the low-passed output, so the transfer function left over
        // right is the filter's response.
        for (SpectralData* d : {&left, &right}) {
            const std::vector<float>& samples = d == &left ? output : input;
            std::copy(samples.begin(), samples.end(), d->GetComplexBuffer());
            window.ApplyWindow(d->GetComplexBuffer());
            d->SetBlockTime(0.1 * (b + 1));
            d->ComputeSpectrum();
        }
        coherence.CrossSpectrum(left.GetComplexSpectrum(), right.GetComplexSpectrum());
        coherence.Average(false);
        right.Average(false);
        left.Average(false);
        coherence.Coherence(left.GetPowerBuffer(), right.GetPowerBuffer());
        transfer.CrossSpectrum(left.GetComplexSpectrum(), right.GetComplexSpectrum());
        transfer.Average(true);
        transfer.TransferFunction(right.GetPowerBuffer());
        transfer.UpdatePeakHold();
    }
}

} // namespace quarn_test
