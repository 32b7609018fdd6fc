#include "engine/RunningMeanKernel.h"

#include "engine/FftKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC push_options
#pragma GCC target("avx2")
#include <immintrin.h>

namespace {

// re² + im² of four lines held in two vectors of two lines each: hadd
// pairs within each half, giving lines 0, 2, 1, 3, which the permute puts
// in order.
inline __m256d LinePowers(__m256d lines01, __m256d lines23)
{
    return _mm256_permute4x64_pd(_mm256_hadd_pd(_mm256_mul_pd(lines01, lines01), _mm256_mul_pd(lines23, lines23)),
                                 0xD8);
}

// A line's power as the averaging stores it: a float, and for a cross
// spectrum the root of a positive power.
template <bool Cross>
inline __m128 StoredPower(__m256d power)
{
    if constexpr (Cross) {
        const __m256d positive = _mm256_cmp_pd(power, _mm256_setzero_pd(), _CMP_GT_OQ);
        power = _mm256_blendv_pd(power, _mm256_sqrt_pd(power), positive);
    }
    return _mm256_cvtpd_ps(power);
}

template <bool Cross, bool Vector, bool Complex = true>
std::size_t RunningPowerMeanAvx2(float* averagedComplex, float* averagedPower, float* latestPower,
                                 const float* block, std::size_t lines, double k)
{
    const __m256d kk = _mm256_set1_pd(k);
    const __m256d km1 = _mm256_set1_pd(k - 1.0);
    std::size_t i = 0;
    for (; i + 4 <= lines; i += 4) {
        const float* line = block + 2 * i;
        const __m256d b0 = _mm256_cvtps_pd(_mm_loadu_ps(line));
        const __m256d b1 = _mm256_cvtps_pd(_mm_loadu_ps(line + 4));
        [[maybe_unused]] __m128 newA0, newA1;
        if constexpr (Complex) {
            float* avg = averagedComplex + 2 * i;
            const __m256d a0 = _mm256_cvtps_pd(_mm_loadu_ps(avg));
            const __m256d a1 = _mm256_cvtps_pd(_mm_loadu_ps(avg + 4));
            newA0 = _mm256_cvtpd_ps(_mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(km1, a0), b0), kk));
            newA1 = _mm256_cvtpd_ps(_mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(km1, a1), b1), kk));
            _mm_storeu_ps(avg, newA0);
            _mm_storeu_ps(avg + 4, newA1);
        }
        // The line's power is a float before it enters the mean.
        const __m128 linePowerFloat = StoredPower<Cross>(LinePowers(b0, b1));
        if (latestPower != nullptr)
            _mm_storeu_ps(latestPower + i, linePowerFloat);
        if constexpr (Vector && Complex) {
            // Vector averaging: the power of the averaged lines themselves.
            _mm_storeu_ps(averagedPower + i,
                          StoredPower<Cross>(LinePowers(_mm256_cvtps_pd(newA0), _mm256_cvtps_pd(newA1))));
        } else {
            const __m256d linePower = _mm256_cvtps_pd(linePowerFloat);
            const __m256d p = _mm256_cvtps_pd(_mm_loadu_ps(averagedPower + i));
            _mm_storeu_ps(averagedPower + i,
                          _mm256_cvtpd_ps(_mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(km1, p), linePower), kk)));
        }
    }
    return i;
}

std::size_t RunningPowerMeanAvx2(float* averagedComplex, float* averagedPower, float* latestPower,
                                 const float* block, std::size_t lines, double k, bool cross, bool vector)
{
    if (averagedComplex == nullptr) {
        if (vector)
            return 0;
        return cross ? RunningPowerMeanAvx2<true, false, false>(nullptr, averagedPower, latestPower, block, lines, k)
                     : RunningPowerMeanAvx2<false, false, false>(nullptr, averagedPower, latestPower, block, lines, k);
    }
    if (cross)
        return vector ? RunningPowerMeanAvx2<true, true>(averagedComplex, averagedPower, latestPower, block, lines, k)
                      : RunningPowerMeanAvx2<true, false>(averagedComplex, averagedPower, latestPower, block, lines, k);
    return vector ? RunningPowerMeanAvx2<false, true>(averagedComplex, averagedPower, latestPower, block, lines, k)
                  : RunningPowerMeanAvx2<false, false>(averagedComplex, averagedPower, latestPower, block, lines, k);
}

} // namespace

#pragma GCC pop_options
#endif

namespace averaging_detail {

std::size_t RunningPowerMean(float* averagedComplex, float* averagedPower, float* latestPower, const float* block,
                             std::size_t lines, double k, bool cross, bool vector)
{
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        return RunningPowerMeanAvx2(averagedComplex, averagedPower, latestPower, block, lines, k, cross, vector);
#endif
    (void)averagedComplex;
    (void)averagedPower;
    (void)latestPower;
    (void)block;
    (void)lines;
    (void)k;
    (void)cross;
    (void)vector;
    return 0;
}

} // namespace averaging_detail
