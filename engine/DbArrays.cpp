// The dB conversion of whole line arrays, the per-block hot loop of every
// dB spectrum: the series of LinePowerToDb four lines at a time where the
// processor has AVX2 and FMA, the rare powers the series does not take
// (zero, negative, subnormal, infinite, NaN) patched one by one as they come.

#include "engine/DbConversions.h"
#include "engine/FftKernels.h"

#include <initializer_list>

#if defined(__x86_64__) || defined(__i386__)
namespace {

// Out of line, so that the patched lines get the plain build's arithmetic
// rather than one contracted into fused operations under the vector target.
[[gnu::noinline]] float RareLineToDb(float power)
{
    return db::LinePowerToDb(power);
}

} // namespace

#pragma GCC push_options
#pragma GCC target("avx2,fma")
#include <immintrin.h>

namespace {

std::size_t SeriesToDbAvx2(const float* powers, float* dB, std::size_t count)
{
    const __m128i exponentMask = _mm_set1_epi32(0xFF);
    const __m128i mantissaMask = _mm_set1_epi32(0x007FFFFF);
    const __m128i one = _mm_set1_epi32(0x3F800000);
    const __m128i bias = _mm_set1_epi32(127);
    const __m128 rootTwo = _mm_set1_ps(1.41421356f);
    const __m128 half = _mm_set1_ps(0.5f);
    const __m256d unit = _mm256_set1_pd(1.0);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i bits = _mm_castps_si128(_mm_loadu_ps(powers + i));
        const __m128i biased = _mm_and_si128(_mm_srli_epi32(bits, 23), exponentMask);
        __m128 mantissa = _mm_castsi128_ps(_mm_or_si128(_mm_and_si128(bits, mantissaMask), one));
        const __m128 high = _mm_cmpgt_ps(mantissa, rootTwo);
        mantissa = _mm_blendv_ps(mantissa, _mm_mul_ps(mantissa, half), high);
        // high is −1 where set: subtracting it adds one to the exponent.
        const __m128i e = _mm_sub_epi32(_mm_sub_epi32(biased, bias), _mm_castps_si128(high));
        const __m256d m = _mm256_cvtps_pd(mantissa);
        const __m256d t = _mm256_div_pd(_mm256_sub_pd(m, unit), _mm256_add_pd(m, unit));
        const __m256d t2 = _mm256_mul_pd(t, t);
        __m256d s = _mm256_set1_pd(1.0 / 13);
        for (double c : {1.0 / 11, 1.0 / 9, 1.0 / 7, 1.0 / 5, 1.0 / 3, 1.0})
            s = _mm256_fmadd_pd(s, t2, _mm256_set1_pd(c));
        const __m256d lnM = _mm256_mul_pd(_mm256_add_pd(t, t), s);
        const __m256d ln = _mm256_fmadd_pd(_mm256_cvtepi32_pd(e), _mm256_set1_pd(0.6931471805599453), lnM);
        _mm_storeu_ps(dB + i, _mm256_cvtpd_ps(_mm256_mul_pd(ln, _mm256_set1_pd(4.342944819032518))));
        // Negative (sign bit), zero or subnormal (exponent 0), infinite or
        // NaN (exponent 255): the series does not hold, the scalar path does.
        const __m128i rare = _mm_or_si128(_mm_srai_epi32(bits, 31),
                                          _mm_or_si128(_mm_cmpeq_epi32(biased, _mm_setzero_si128()),
                                                       _mm_cmpeq_epi32(biased, exponentMask)));
        if (const int lanes = _mm_movemask_ps(_mm_castsi128_ps(rare)); lanes != 0)
            for (int lane = 0; lane < 4; ++lane)
                if ((lanes >> lane) & 1)
                    dB[i + std::size_t(lane)] = RareLineToDb(powers[i + std::size_t(lane)]);
    }
    return i;
}

} // namespace

#pragma GCC pop_options
#endif

namespace db {

void LinePowersToDb(const float* powers, float* dB, std::size_t count)
{
    std::size_t done = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        done = SeriesToDbAvx2(powers, dB, count);
#endif
    for (std::size_t i = done; i < count; ++i)
        dB[i] = LinePowerToDb(powers[i]);
}

} // namespace db
