#include "tests/engine/SpectralTestSupport.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace spectral_test {

TProcessingSettings MakeSettings(std::uint32_t rate, std::uint32_t fftSize, std::uint32_t blocks,
                                 std::uint16_t averageType)
{
    TProcessingSettings settings;
    settings.SetFrameDefaults();
    settings.Format.Set(rate, 1, 2);
    settings.FFTsize = fftSize;
    settings.AverageType = {averageType, averageType};
    settings.AverageMode = {0, 0};
    settings.AverageBlocks = {blocks, blocks};
    return settings;
}

ScalingOpts MakeScaling(std::uint16_t ampScale, std::uint16_t freqScale)
{
    ScalingOpts scaling;
    scaling.AmpScaleType = ampScale;
    scaling.FreqScaleType = freqScale;
    return scaling;
}

std::vector<float> Tone(const TProcessingSettings& settings, double frequency, double fraction)
{
    const double amplitude = fraction * settings.Format.HalfRange();
    const double rate = settings.Format.SamplingRate;
    std::vector<float> block(settings.FFTsize);
    for (std::size_t n = 0; n < block.size(); ++n)
        block[n] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * double(n) / rate));
    return block;
}

std::vector<float> WhiteNoise(std::uint32_t count, double rms, unsigned seed)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> gauss(0.0, rms);
    std::vector<float> block(count);
    for (float& v : block)
        v = static_cast<float>(gauss(generator));
    return block;
}

void RunBlock(SpectralData& data, const std::vector<float>& samples, const TSmoothing& window, double blockTime)
{
    float* block = data.GetComplexBuffer();
    std::copy_n(samples.begin(), std::min<std::size_t>(samples.size(), data.GetFFTSize()), block);
    window.ApplyWindow(block);
    data.SetBlockTime(blockTime);
    data.ComputeSpectrum();
    data.Average(false);
    data.UpdatePeakHold();
}

void SetLines(SpectralData& data, const std::vector<std::pair<std::uint32_t, double>>& lines)
{
    for (auto [line, power] : lines) {
        SpectralDataTestAccess::AvgPower(data)[line] = float(power);
        if (float* dB = SpectralDataTestAccess::AvgDb(data))
            dB[line] = power > 0 ? float(10 * std::log10(power)) : SpectralData::kNoValue;
    }
    SpectralDataTestAccess::MarkAveraged(data);
}

} // namespace spectral_test
