#include "tests/utilities/SigGenTestSupport.h"

#include <atomic>
#include <cmath>
#include <numeric>

#include "engine/TSmoothing.h"
#include "utilities/siggen/TWaveformBuild.h"

namespace siggen_test {

TSigGenBuildRequest Request(std::int32_t sigType, std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels)
{
    TSigGenBuildRequest r;
    r.AnalyzerFormat = TWaveFormat(rate, channels, bytes);
    r.SoundCardDriverMode = 0;
    r.Output.OutputLevel = 0.0f;
    r.Output.OutputLevelR = 0.0f;
    r.Channel[0].SigType = sigType;
    r.Channel[1].SigType = sigType;
    return r;
}

std::shared_ptr<const TPinkWave> PinkWave()
{
    static const std::shared_ptr<const TPinkWave> pink = [] {
        auto p = std::make_shared<TPinkWave>();
        p->LoadDefault();
        return p;
    }();
    return pink;
}

Built Build(const TSigGenBuildRequest& request)
{
    std::atomic<bool> cancel{false};
    Built b;
    TWaveformBuild build(request, PinkWave(), 1);
    b.Wave = build.Run(cancel, nullptr, b.Result);
    return b;
}

std::vector<double> Channel(const TWaveData& wave, int channel)
{
    std::vector<double> x(wave.GetNumFrames());
    const double zero = wave.GetFormat().ZeroOffset;
    for (std::size_t n = 0; n < x.size(); ++n)
        x[n] = wave.GetSample(n, channel, false) - zero;
    return x;
}

double RmsDb(const std::vector<double>& x, double fullScale)
{
    const double power = std::inner_product(x.begin(), x.end(), x.begin(), 0.0) / x.size();
    return 10.0 * std::log10(power) - 20.0 * std::log10(fullScale);
}

std::vector<double> UpCrossings(const std::vector<double>& x)
{
    std::vector<double> at;
    for (std::size_t n = 1; n < x.size(); ++n)
        if (x[n - 1] < 0.0 && x[n] >= 0.0)
            at.push_back(double(n - 1) + x[n - 1] / (x[n - 1] - x[n]));
    return at;
}

double CrossingFrequency(const std::vector<double>& crossings, double first, double last, double rate,
                         double* centre)
{
    double a = -1.0, b = -1.0;
    int periods = -1;
    for (double c : crossings) {
        if (c < first || c >= last)
            continue;
        if (a < 0.0)
            a = c;
        b = c;
        ++periods;
    }
    if (centre != nullptr)
        *centre = (a + b) / 2;
    return periods > 0 ? rate * periods / (b - a) : 0.0;
}

Spectrum::Spectrum(const std::vector<double>& x, double rate, std::uint16_t bytes, std::uint32_t fftSize,
                   std::uint16_t windowType)
{
    TProcessingSettings s;
    s.SetFrameDefaults();
    s.Format.Set(static_cast<std::uint32_t>(rate), 1, bytes);
    s.FFTsize = fftSize;
    s.SmoothingWindow = windowType;
    s.AverageType = {0, 0};
    s.AverageMode = {0, 0};
    s.AverageBlocks = {100000, 100000};
    ScalingOpts scaling;
    scaling.AmpScaleType = ScalingOpts::kLogarithmic;
    scaling.FreqScaleType = ScalingOpts::kFftLinear;
    Data = std::make_unique<SpectralData>(s, scaling, 0, false);
    const TSmoothing window(fftSize, windowType, smoothing::Amplitude);
    for (std::size_t first = 0; first + fftSize <= x.size(); first += fftSize) {
        float* block = Data->GetComplexBuffer();
        for (std::uint32_t n = 0; n < fftSize; ++n)
            block[n] = static_cast<float>(x[first + n]);
        window.ApplyWindow(block);
        Data->ComputeSpectrum();
        Data->Average(false);
    }
}

double Spectrum::PeakDb(double f1, double f2) const
{
    float f = 0.0f, v = SpectralData::kNoValue;
    Data->FindPeak(Data->FrequencyToBin(float(f1)), Data->FrequencyToBin(float(f2)), &f, &v, 0);
    // Without a local peak in the range the search answers line 0.
    return f >= f1 && f <= f2 ? v : SpectralData::kNoValue;
}

double Spectrum::MeanLineDb(double f1, double f2) const
{
    const float* power = Data->GetPowerBuffer();
    double sum = 0.0;
    std::uint32_t lines = 0;
    for (std::uint32_t i = Data->FrequencyToBin(float(f1)); i < Data->FrequencyToBin(float(f2)); ++i, ++lines)
        sum += power[i];
    return 10.0 * std::log10(sum / lines);
}

} // namespace siggen_test
