#include "tests/engine/SpectralTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numeric>

using spectral_test::MakeScaling;
using spectral_test::MakeSettings;

namespace {

constexpr std::uint32_t kSize = 4096, kBlocks = 16;

// Left and right channel objects, the transfer-function object (left over
// right) and the coherence object, run as the main frame runs them over
// every block of two signals kBlocks × kSize samples long.
struct Chain {
    Chain(const float* l, const float* r)
    {
        for (std::uint32_t k = 0; k < kBlocks; ++k) {
            for (auto [data, samples] : {std::pair{&left, l}, {&right, r}}) {
                std::copy_n(samples + k * kSize, kSize, data->GetComplexBuffer());
                window.ApplyWindow(data->GetComplexBuffer());
                data->ComputeSpectrum();
            }
            coherence.CrossSpectrum(left.GetComplexSpectrum(), right.GetComplexSpectrum());
            coherence.Average(false);
            left.Average(false);
            right.Average(false);
            coherence.Coherence(left.GetPowerBuffer(), right.GetPowerBuffer());
            transfer.CrossSpectrum(left.GetComplexSpectrum(), right.GetComplexSpectrum());
            transfer.Average(true);
            transfer.TransferFunction(right.GetPowerBuffer());
        }
    }

    // Mean of a function over the lines from the lower limit to the last averaged line.
    static double Mean(const SpectralData& data)
    {
        const float* values = data.GetPowerBuffer();
        const std::uint32_t first = data.GetStartBin(), end = data.GetLines() - 1;
        return std::accumulate(values + first, values + end, 0.0) / (end - first);
    }

    TProcessingSettings settings = MakeSettings(48000, kSize, kBlocks, 0);
    TSmoothing window{kSize, smoothing::Flattop, smoothing::Amplitude};
    SpectralData left{settings, MakeScaling(), 0, false}, right{settings, MakeScaling(), 1, false};
    SpectralData transfer{settings, MakeScaling(), 0, false}, coherence{settings, MakeScaling(), 0, false};
};

} // namespace

// Left = 0.5 × right delayed by 8 samples: H = 0.5·e^(−iω·8), so |H|² is
// 1/4 on every line and the cross spectrum's phase falls 2π·8/N per line.
TEST(SpectralTransferPhase, ADelayedHalfOfTheRightHasAQuarterPowerAndALinearPhase)
{
    constexpr std::uint32_t delay = 8;
    const std::vector<float> x = spectral_test::WhiteNoise(kSize * kBlocks + delay, 1000.0, 3);
    std::vector<float> l(kSize * kBlocks);
    for (std::size_t n = 0; n < l.size(); ++n)
        l[n] = 0.5f * x[n];
    const Chain chain(l.data(), x.data() + delay);
    EXPECT_NEAR(Chain::Mean(chain.transfer), 0.25, 0.0025); // |H|², −6.02 dB
    EXPECT_GT(Chain::Mean(chain.coherence), 0.98);
    const float* cross = chain.transfer.GetAveragedComplexSpectrum();
    for (std::uint32_t i : {20u, 60u, 120u, 200u})
        EXPECT_NEAR(std::arg(std::complex(cross[2 * i], cross[2 * i + 1])), -2.0 * M_PI * i * delay / kSize, 0.05)
            << i;
}

// Independent channels keep a coherence of about one over the blocks averaged.
TEST(SpectralTransferPhase, IndependentNoiseHasACoherenceOfOneOverTheBlocks)
{
    const auto a = spectral_test::WhiteNoise(kSize * kBlocks, 1000.0, 11);
    const auto b = spectral_test::WhiteNoise(kSize * kBlocks, 1000.0, 12);
    EXPECT_NEAR(Chain::Mean(Chain(a.data(), b.data()).coherence), 1.0 / kBlocks, 0.01);
}
