// The transform is checked against an independent direct DFT in long double,
// and against the identities its callers rely on (DC, Nyquist, a cosine and a
// sine on a line, the middle line).

#include "engine/TFFT.h"
#include "engine/FftKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <ostream>
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
        const std::uint64_t phase = (static_cast<std::uint64_t>(k) * n) % N;
        const long double angle = -2.0L * kPi * phase / N;
        re += x[n] * std::cos(angle);
        im += x[n] * std::sin(angle);
    }
    return {2 * re, 2 * im};
}

// Line k of the packed output; line 0 is DC, line N/2 is Nyquist (both real).
std::complex<long double> OutputLine(const std::vector<float>& y, std::uint32_t k)
{
    const std::uint32_t N = static_cast<std::uint32_t>(y.size());
    if (k == 0)
        return {y[0], 0};
    if (k == N / 2)
        return {y[1], 0};
    return {y[2 * k], y[2 * k + 1]};
}

std::vector<float> RandomBlock(std::uint32_t N, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> x(N);
    for (float& v : x)
        v = uniform(generator);
    return x;
}

std::vector<float> Transformed(std::vector<float> x)
{
    TFFT(static_cast<std::uint32_t>(x.size())).Forward(x.data());
    return x;
}

using Kernel = void (*)(float*, std::uint32_t);

struct KernelCase {
    const char* name;
    Kernel forward;
    bool available;
};

void PrintTo(const KernelCase& kernel, std::ostream* out) { *out << kernel.name; }

// Both implementations are checked on every machine that can run them,
// whichever one TFFT picks here.
class FFTKernel : public testing::TestWithParam<KernelCase> {};

} // namespace

// Relative error ||Y − Y_ref|| / ||Y_ref|| over the lines checked. Float
// storage between stages allows a few 1e-7; 2e-6 leaves room, while any
// wrong twiddle, ordering or sign gives errors of order 1.
TEST_P(FFTKernel, MatchesDirectDftForEverySize)
{
    if (!GetParam().available)
        GTEST_SKIP() << GetParam().name << " does not run on this processor";
    constexpr double kRelativeErrorBound = 2e-6;
    for (std::uint32_t N = 32; N <= 65536; N *= 2) {
        const std::vector<float> x = RandomBlock(N, N);
        std::vector<float> y = x;
        GetParam().forward(y.data(), N);

        // Every line for small sizes; beyond that, the edges and a spread of lines.
        std::vector<std::uint32_t> lines;
        if (N <= 2048) {
            for (std::uint32_t k = 0; k <= N / 2; ++k)
                lines.push_back(k);
        } else {
            for (std::uint32_t k : {0u, 1u, 2u, 3u, N / 4 - 1, N / 4, N / 4 + 1, N / 2 - 1, N / 2})
                lines.push_back(k);
            for (std::uint32_t k = 5; k < N / 2; k += N / 64 + 3)
                lines.push_back(k);
        }

        long double errorSquares = 0, referenceSquares = 0;
        for (std::uint32_t k : lines) {
            const auto reference = DoubledDftLine(x, k);
            errorSquares += std::norm(OutputLine(y, k) - reference);
            referenceSquares += std::norm(reference);
        }
        const double relativeError = std::sqrt(static_cast<double>(errorSquares / referenceSquares));
        EXPECT_LT(relativeError, kRelativeErrorBound) << "N = " << N;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kernels, FFTKernel,
    testing::Values(KernelCase{"Scalar", fft_detail::ForwardScalar, true},
                    KernelCase{"Avx2", fft_detail::ForwardAvx2, fft_detail::Avx2Available()}),
    [](const testing::TestParamInfo<KernelCase>& info) { return std::string(info.param.name); });

// A cosine of amplitude 1 on line k reads (N, 0); a sine reads (0, −N).
// Line N/4 is written by the mirrored path of the split step, so it is
// checked along with lines below and above it.
TEST(FFT, CosineAndSineOnALineReadNTimesTheirAmplitude)
{
    constexpr std::uint32_t N = 4096;
    for (std::uint32_t k : {1u, 37u, N / 4 - 1, N / 4, N / 4 + 1, N / 2 - 1}) {
        std::vector<float> cosine(N), sine(N);
        for (std::uint32_t n = 0; n < N; ++n) {
            const double angle = 2.0 * M_PI * static_cast<double>(std::uint64_t(k) * n % N) / N;
            cosine[n] = static_cast<float>(std::cos(angle));
            sine[n] = static_cast<float>(std::sin(angle));
        }
        const std::vector<float> yc = Transformed(cosine);
        const std::vector<float> ys = Transformed(sine);
        EXPECT_NEAR(yc[2 * k], N, 1e-2) << "line " << k;
        EXPECT_NEAR(yc[2 * k + 1], 0.0, 1e-2) << "line " << k;
        EXPECT_NEAR(ys[2 * k], 0.0, 1e-2) << "line " << k;
        EXPECT_NEAR(ys[2 * k + 1], -double(N), 1e-2) << "line " << k;

        // Nothing leaks into the other lines.
        double leak = 0;
        for (std::uint32_t i = 0; i < N; ++i)
            if (i / 2 != k)
                leak = std::max(leak, double(std::fabs(yc[i])) + std::fabs(ys[i]));
        EXPECT_LT(leak, 1e-2) << "line " << k;
    }
}

TEST(FFT, RefusesSizesOutsidePowersOfTwoFrom32To65536)
{
    for (std::uint32_t N : {0u, 1u, 16u, 48u, 1000u, 131072u})
        EXPECT_FALSE(TFFT::IsValidSize(N)) << N;
    for (std::uint32_t N : {32u, 1024u, 65536u})
        EXPECT_TRUE(TFFT::IsValidSize(N)) << N;

    // An invalid size leaves the data alone instead of looping or overrunning.
    std::vector<float> block(48, 1.0f);
    TFFT(48).Forward(block.data());
    for (float v : block)
        EXPECT_EQ(v, 1.0f);
}
