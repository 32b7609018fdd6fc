#include "engine/RunningMeanKernel.h"

#include "engine/FftKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC push_options
#pragma GCC target("avx2")
#include <immintrin.h>

namespace {

std::size_t RunningPowerMeanAvx2(float* averagedComplex, float* averagedPower, float* latestPower,
                                 const float* block, std::size_t lines, double k)
{
    const __m256d kk = _mm256_set1_pd(k);
    const __m256d km1 = _mm256_set1_pd(k - 1.0);
    std::size_t i = 0;
    for (; i + 4 <= lines; i += 4) {
        float* avg = averagedComplex + 2 * i;
        const float* line = block + 2 * i;
        const __m256d b0 = _mm256_cvtps_pd(_mm_loadu_ps(line));
        const __m256d b1 = _mm256_cvtps_pd(_mm_loadu_ps(line + 4));
        const __m256d a0 = _mm256_cvtps_pd(_mm_loadu_ps(avg));
        const __m256d a1 = _mm256_cvtps_pd(_mm_loadu_ps(avg + 4));
        _mm_storeu_ps(avg, _mm256_cvtpd_ps(_mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(km1, a0), b0), kk)));
        _mm_storeu_ps(avg + 4, _mm256_cvtpd_ps(_mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(km1, a1), b1), kk)));
        // re² + im² per line: hadd pairs within each half, giving lines
        // 0, 2, 1, 3, which the permute puts in order.
        const __m256d paired = _mm256_hadd_pd(_mm256_mul_pd(b0, b0), _mm256_mul_pd(b1, b1));
        const __m256d power = _mm256_permute4x64_pd(paired, 0xD8);
        // The line's power is a float before it enters the mean.
        const __m128 linePowerFloat = _mm256_cvtpd_ps(power);
        if (latestPower != nullptr)
            _mm_storeu_ps(latestPower + i, linePowerFloat);
        const __m256d linePower = _mm256_cvtps_pd(linePowerFloat);
        const __m256d p = _mm256_cvtps_pd(_mm_loadu_ps(averagedPower + i));
        _mm_storeu_ps(averagedPower + i,
                      _mm256_cvtpd_ps(_mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(km1, p), linePower), kk)));
    }
    return i;
}

} // namespace

#pragma GCC pop_options
#endif

namespace averaging_detail {

std::size_t RunningPowerMean(float* averagedComplex, float* averagedPower, float* latestPower, const float* block,
                             std::size_t lines, double k)
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool vectors = fft_detail::Avx2Available();
    if (vectors)
        return RunningPowerMeanAvx2(averagedComplex, averagedPower, latestPower, block, lines, k);
#endif
    (void)averagedComplex;
    (void)averagedPower;
    (void)latestPower;
    (void)block;
    (void)lines;
    (void)k;
    return 0;
}

} // namespace averaging_detail
