// The decimation low-pass of TWaveData.

#include "audio/TWaveData.h"

#include <algorithm>
#include <cmath>

#include "engine/TSmoothing.h"
#include "platform/SmallMaths.h"

namespace {

// The rounded pi the coefficients have always been computed with.
constexpr float kPi = 3.141592654f;

}  // namespace

void TWaveData::DesignDecimationFilter(std::uint32_t ratio)
{
    if (ratio < 2)
        return;
    FilterCoefficients.Free();
    FilterTaps = 0;

    const std::int32_t taps = DecimationFilterTaps(static_cast<std::int32_t>(std::min<std::uint32_t>(ratio, 10)));
    if (!FilterCoefficients.Allocate(static_cast<std::size_t>(taps))) {
        Failed = 1;
        return;
    }

    // Single precision throughout, as the coefficients were first made.
    const float rate = static_cast<float>(Format.SamplingRate) * static_cast<float>(ratio);
    const float half = rate / 2.0f;
    const float cut = half / static_cast<float>(ratio);
    const float omega = cut * kPi / half;

    float* c = FilterCoefficients.data();
    const std::int32_t centre = (taps - 1) / 2;
    c[centre] = omega / kPi;
    for (std::int32_t i = centre + 1; i < taps; ++i) {
        const auto k = static_cast<float>(i - centre);
        const float value = std::sin(k * omega) * (1.0f / (k * kPi));
        c[i] = value;
        c[taps - 1 - i] = value;
    }

    const TSmoothing window(static_cast<std::uint32_t>(taps), smoothing::Hanning, smoothing::None);
    if (window.Failed() || window.Coefficients() == nullptr) {
        // An untapered sinc would ring; no filter is better than that one.
        FilterCoefficients.Free();
        Failed = 1;
        return;
    }
    window.ApplyWindow(c);
    FilterTaps = taps;
}

std::uint64_t TWaveData::FilterAndDecimate(std::uint32_t ratio)
{
    const auto taps = static_cast<std::uint64_t>(FilterTaps);
    const std::uint64_t frames = NumFrames;
    if (ratio < 2 || Samples.empty() || FilterCoefficients.empty() || taps == 0 || frames <= taps + 1)
        return 0;

    const float* c = FilterCoefficients.data();
    std::uint64_t produced = 0;
    for (int channel = 0; channel < Format.NumChannels; ++channel) {
        std::uint64_t j = 0;
        // Output j lands on frame j, which input i = j * ratio has already
        // read past, so no unread frame is overwritten.
        for (std::uint64_t i = 0; i < frames - taps - 1; i += ratio, ++j) {
            double sum = 0.0;
            for (std::uint64_t t = 0; t < taps; ++t)
                sum += Format.ReadSample(Samples.data() + SampleOffset(i + t, channel)) * double{c[t]};
            const double clamped = std::clamp(std::trunc(sum), -2147483648.0, 2147483647.0);
            Format.WriteSample(Samples.data() + SampleOffset(j, channel), static_cast<std::int32_t>(clamped));
        }
        produced = j;
    }
    return produced;
}
