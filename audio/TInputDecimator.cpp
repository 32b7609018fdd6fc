#include "audio/TInputDecimator.h"

#include <algorithm>
#include <cmath>
#include <cstring>

bool TInputDecimator::Build(std::int32_t ratio, std::int32_t taps, std::int32_t blockFrames,
                            const TWaveFormat& format)
{
    if (IsBuilt() && ratio == Ratio && taps == Taps && blockFrames == BlockFrames && format == Format)
        return true;
    Coefficients.Free();
    if (ratio < 2 || taps < 1 || blockFrames < 1)
        return false;

    TWaveData design(1, format);
    design.DesignDecimationFilter(static_cast<std::uint32_t>(ratio));
    if (design.Failed != 0 || design.GetFilterTaps() != taps)
        return false;
    // The history holds the stream's last filter-length frames, then a whole
    // driver buffer: sized from the real buffer, not from the ring's block.
    const auto length = static_cast<std::size_t>(taps) + static_cast<std::size_t>(blockFrames);
    if (!Stream[0].Allocate(length) || !Stream[1].Allocate(length)
        || !Coefficients.Allocate(static_cast<std::size_t>(taps)))
        return false;
    std::copy(design.GetFilterCoefficients(), design.GetFilterCoefficients() + taps, Coefficients.data());
    Ratio = ratio;
    Taps = taps;
    BlockFrames = blockFrames;
    Phase = 0;
    Format = format;
    return true;
}

std::int32_t TInputDecimator::Process(TWaveData& block, std::int32_t count)
{
    if (!IsBuilt() || count < 1 || count > BlockFrames || !(block.GetFormat() == Format))
        return 0;
    // Outputs whose window starts inside this block's span of the stream.
    const std::int32_t outputs = count > Phase ? (count - Phase + Ratio - 1) / Ratio : 0;
    const int channels = Format.NumChannels;
    const std::uint16_t bytes = Format.BytesPerSample;
    std::uint8_t* frames = block.GetBuffer();
    const double* c = Coefficients.data();
    for (int channel = 0; channel < channels; ++channel) {
        double* stream = Stream[channel].data();
        double* fresh = stream + Taps;
        for (std::int32_t f = 0; f < count; ++f)
            fresh[f] = Format.ReadSample(frames + (f * channels + channel) * bytes);
        for (std::int32_t j = 0; j < outputs; ++j) {
            // One running sum in tap order, as the wave-data filter adds.
            const double* x = stream + Phase + j * Ratio;
            double sum = 0.0;
            for (std::int32_t t = 0; t < Taps; ++t)
                sum += x[t] * c[t];
            const double clamped = std::clamp(std::trunc(sum), -2147483648.0, 2147483647.0);
            Format.WriteSample(frames + (j * channels + channel) * bytes, static_cast<std::int32_t>(clamped));
        }
        // The newest filter-length frames head the next block.
        std::memmove(stream, stream + count, static_cast<std::size_t>(Taps) * sizeof(double));
    }
    Phase += outputs * Ratio - count;
    return outputs;
}
