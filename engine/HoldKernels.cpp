#include "engine/HoldKernels.h"

#include "engine/FftKernels.h"
#include "engine/LineKernels.h"
#include "engine/SpectralData.h"

#include <cstddef>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC push_options
#pragma GCC target("avx2")
#include <immintrin.h>

namespace line_kernels {
namespace {

constexpr float kNoValue = SpectralData::kNoValue;

float HighestHeldAvx2(const THoldEntry* hold, std::size_t count, std::size_t& next)
{
    const __m256i evenFloats = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    __m128 best = _mm_set1_ps(-std::numeric_limits<float>::infinity());
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const double* row = reinterpret_cast<const double*>(hold + i);
        const __m256d values = _mm256_unpacklo_pd(_mm256_loadu_pd(row), _mm256_loadu_pd(row + 4));
        const __m128 held = _mm256_castps256_ps128(_mm256_permutevar8x32_ps(_mm256_castpd_ps(values), evenFloats));
        best = _mm_max_ps(held, best);
    }
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, best);
    float highest = lanes[0];
    for (float lane : lanes)
        highest = Higher(highest, lane);
    next = i;
    return highest;
}

// std::max(a, b) of each lane: b only where a < b.
inline __m128 MaxLikeStd(__m128 a, __m128 b)
{
    return _mm_blendv_ps(a, b, _mm_cmplt_ps(a, b));
}

// Four hold entries are two 256-bit rows: (value, expiry) of entries 0 and
// 1, then of 2 and 3. Unpacking the rows gives the entries in the order
// 0, 2, 1, 3, so the levels are put in that order too and the result packs
// back without further permutes.
template <LineLevel::Kind Kind>
std::size_t HoldLevelsAvx2(THoldEntry* hold, const float* averaged, const float* latest, std::size_t count,
                           const LineLevel& level, double now, double riseExpiry, float decay)
{
    static_assert(sizeof(THoldEntry) == 16 && offsetof(THoldEntry, Value) == 0 && offsetof(THoldEntry, Expiry) == 8);
    const __m128 noValue = _mm_set1_ps(kNoValue);
    const __m128 offsetV = _mm_set1_ps(level.offset);
    const __m128 hundred = _mm_set1_ps(100.0f);
    const __m128 decayV = _mm_set1_ps(decay);
    const __m256d nowV = _mm256_set1_pd(now);
    const __m256d riseV = _mm256_set1_pd(riseExpiry);
    const __m256i evenFloats = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        double* row = reinterpret_cast<double*>(hold + i);
        const __m256d low = _mm256_loadu_pd(row);
        const __m256d high = _mm256_loadu_pd(row + 4);
        const __m256d expiry = _mm256_unpackhi_pd(low, high);
        const __m128 held = _mm256_castps256_ps128(
            _mm256_permutevar8x32_ps(_mm256_castpd_ps(_mm256_unpacklo_pd(low, high)), evenFloats));

        __m128 v = MaxLikeStd(_mm_loadu_ps(averaged + i), _mm_loadu_ps(latest + i));
        v = _mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 1, 2, 0));
        if constexpr (Kind == LineLevel::Db) {
            if (level.addOffset)
                v = _mm_blendv_ps(v, _mm_add_ps(v, offsetV), _mm_cmpgt_ps(v, noValue));
        } else {
            if constexpr (Kind == LineLevel::Amplitude) {
                const __m128 positive = _mm_cmpgt_ps(v, _mm_setzero_ps());
                v = _mm_and_ps(_mm256_cvtpd_ps(_mm256_sqrt_pd(_mm256_cvtps_pd(v))), positive);
            }
            if (level.percent)
                v = _mm_mul_ps(v, hundred);
        }

        const __m128 rises = _mm_cmple_ps(held, v);
        const __m256d decaysWide = _mm256_cmp_pd(expiry, nowV, _CMP_LT_OQ);
        const __m128 decays =
            _mm256_castps256_ps128(_mm256_permutevar8x32_ps(_mm256_castpd_ps(decaysWide), evenFloats));
        const __m128 decayed = MaxLikeStd(_mm_sub_ps(held, decayV), v);
        const __m128 value = _mm_blendv_ps(_mm_blendv_ps(held, decayed, decays), v, rises);
        const __m256d risesWide = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(_mm_castps_si128(rises)));
        const __m256d newExpiry = _mm256_blendv_pd(expiry, riseV, risesWide);

        // A hold that neither rose nor decayed is left unwritten, so that a
        // settled hold (the log's, held for good) costs reads only.
        if (_mm_movemask_ps(_mm_or_ps(rises, decays)) == 0)
            continue;
        const __m256d values = _mm256_castsi256_pd(_mm256_cvtepu32_epi64(_mm_castps_si128(value)));
        _mm256_storeu_pd(row, _mm256_unpacklo_pd(values, newExpiry));
        _mm256_storeu_pd(row + 4, _mm256_unpackhi_pd(values, newExpiry));
    }
    return i;
}

std::size_t HoldLevelsAvx2(THoldEntry* hold, const float* averaged, const float* latest, std::size_t count,
                           const LineLevel& level, double now, double riseExpiry, float decay)
{
    switch (level.kind) {
    case LineLevel::Db: return HoldLevelsAvx2<LineLevel::Db>(hold, averaged, latest, count, level, now, riseExpiry, decay);
    case LineLevel::Power:
        return HoldLevelsAvx2<LineLevel::Power>(hold, averaged, latest, count, level, now, riseExpiry, decay);
    default:
        return HoldLevelsAvx2<LineLevel::Amplitude>(hold, averaged, latest, count, level, now, riseExpiry, decay);
    }
}


} // namespace
} // namespace line_kernels

#pragma GCC pop_options
#endif

namespace line_kernels {

float HighestHeld(const THoldEntry* hold, std::size_t count)
{
    float highest = -std::numeric_limits<float>::infinity();
    std::size_t i = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        highest = HighestHeldAvx2(hold, count, i);
#endif
    for (; i < count; ++i)
        highest = Higher(highest, hold[i].Value);
    return highest;
}

std::size_t HoldLevels(THoldEntry* hold, const float* averaged, const float* latest, std::size_t count,
                       const LineLevel& level, double now, double riseExpiry, float decay)
{
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        return HoldLevelsAvx2(hold, averaged, latest, count, level, now, riseExpiry, decay);
#endif
    (void)hold;
    (void)averaged;
    (void)latest;
    (void)count;
    (void)level;
    (void)now;
    (void)riseExpiry;
    (void)decay;
    return 0;
}
} // namespace line_kernels
