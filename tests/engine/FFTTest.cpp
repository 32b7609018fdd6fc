// The transform is checked against an independent direct DFT in long double,
// on every line (DC, Nyquist and the split step's mirrored middle line among
// them) for sizes up to 2048 and on a spread of lines beyond.

#include "engine/TFFT.h"
#include "engine/FftKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// 2·X[k] by the direct sum, with exact twiddles reduced modulo N.
std::complex<long double> DoubledDftLine(const std::vector<float>& x, std::uint32_t k)
{
    const std::uint32_t N = static_cast<std::uint32_t>(x.size());
    long double re = 0, im = 0;
    for (std::uint32_t n = 0; n < N; ++n) {
        const long double angle = -2.0L * kPi * ((static_cast<std::uint64_t>(k) * n) % N) / N;
        re += x[n] * std::cos(angle);
        im += x[n] * std::sin(angle);
    }
    return {2 * re, 2 * im};
}

struct KernelCase {
    const char* name;
    void (*forward)(float*, std::uint32_t);
    bool available;
};

// Both implementations are checked on every machine that can run them, and
// the one TFFT picks here.
class FFTKernel : public testing::TestWithParam<KernelCase> {};

} // namespace

// Relative error ||Y − Y_ref|| / ||Y_ref|| over the lines checked. Float
// storage between stages allows a few 1e-7; 2e-6 leaves room, while any
// wrong twiddle, ordering or sign gives errors of order 1.
TEST_P(FFTKernel, MatchesDirectDftForEverySize)
{
    if (!GetParam().available)
        GTEST_SKIP() << GetParam().name << " does not run on this processor";
    for (std::uint32_t N = 32; N <= 65536; N *= 2) {
        std::mt19937 generator(N);
        std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
        std::vector<float> x(N);
        for (float& v : x)
            v = uniform(generator);
        std::vector<float> y = x;
        GetParam().forward(y.data(), N);

        // Every line for small sizes; beyond that, the edges and a spread of lines.
        std::vector<std::uint32_t> lines = {0u, 1u, 2u, 3u, N / 4 - 1, N / 4, N / 4 + 1, N / 2 - 1, N / 2};
        for (std::uint32_t k = 4; k < N / 2; k += N <= 2048 ? 1 : N / 64 + 3)
            lines.push_back(k);
        long double errorSquares = 0, referenceSquares = 0;
        for (std::uint32_t k : lines) {
            // Line k of the packed output; line 0 is DC, line N/2 is Nyquist (both real).
            const std::complex<long double> out(k == N / 2 ? y[1] : y[2 * k], k == 0 || k == N / 2 ? 0 : y[2 * k + 1]);
            const auto reference = DoubledDftLine(x, k);
            errorSquares += std::norm(out - reference);
            referenceSquares += std::norm(reference);
        }
        EXPECT_LT(std::sqrt(static_cast<double>(errorSquares / referenceSquares)), 2e-6) << "N = " << N;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kernels, FFTKernel,
    testing::Values(KernelCase{"Scalar", fft_detail::ForwardScalar, true},
                    KernelCase{"Avx2", fft_detail::ForwardAvx2, fft_detail::Avx2Available()},
                    KernelCase{"Dispatched", [](float* x, std::uint32_t n) { TFFT(n).Forward(x); }, true}),
    [](const testing::TestParamInfo<KernelCase>& info) { return std::string(info.param.name); });

TEST(FFT, RefusesSizesOutsidePowersOfTwoFrom32To65536)
{
    for (std::uint32_t N : {0u, 1u, 16u, 48u, 1000u, 131072u, 32u, 1024u, 65536u})
        EXPECT_EQ(TFFT::IsValidSize(N), N == 32 || N == 1024 || N == 65536) << N;
    // An invalid size leaves the data alone instead of looping or overrunning.
    std::vector<float> block(48, 1.0f);
    TFFT(48).Forward(block.data());
    EXPECT_EQ(block, std::vector<float>(48, 1.0f));
}
