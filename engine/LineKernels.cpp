#include "engine/LineKernels.h"

#include "engine/FftKernels.h"
#include "engine/SpectralData.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace line_kernels {
namespace {

constexpr float kNoValue = SpectralData::kNoValue;
constexpr double kLog2TenOverTen = 0.33219280948873623;

// The level as the display shows it: the unit's offset on a level that exists.
inline float WithOffset(float v, bool addOffset, float offset)
{
    return addOffset && v > kNoValue ? v + offset : v;
}

// One line's terms, as the four-lane loop adds them to its lane.
inline void AddLine(const float* power, const float* display, const float* const curves[4], std::uint32_t i,
                    double lanes[4][4], unsigned lane)
{
    // Cleared latest lines hold the no-value marker, not a power.
    double p = power[i] > 0.0f ? power[i] : 0.0;
    // The display curve is already in the power; a requested one replaces it.
    if (display != nullptr && display[i] != 0.0f)
        p /= double{display[i]} * display[i];
    lanes[0][lane] += p;
    for (unsigned s = 1; s < 4; ++s)
        if (curves[s] != nullptr)
            lanes[s][lane] += p * curves[s][i] * curves[s][i];
}

void Finish(const double lanes[4][4], double sums[4])
{
    for (unsigned s = 0; s < 4; ++s)
        sums[s] = (lanes[s][0] + lanes[s][1]) + (lanes[s][2] + lanes[s][3]);
}

} // namespace
} // namespace line_kernels

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC push_options
#pragma GCC target("avx2")
#include <immintrin.h>

namespace line_kernels {
namespace {

// Lines i … i+7 that may be local maxima: above their five left
// neighbours, and above their five right ones or equal to the next line
// (the start of a run, which IsLocalMaximum then settles). A superset of the
// maxima; NaN compares false as in the plain test.
inline unsigned CandidateMask(const float* power, std::uint32_t i)
{
    const __m256 v = _mm256_loadu_ps(power + i);
    __m256 left = _mm256_cmp_ps(v, _mm256_loadu_ps(power + i - 1), _CMP_GT_OQ);
    __m256 right = _mm256_cmp_ps(v, _mm256_loadu_ps(power + i + 1), _CMP_GT_OQ);
    const __m256 equal = _mm256_cmp_ps(v, _mm256_loadu_ps(power + i + 1), _CMP_EQ_OQ);
    for (std::uint32_t j = 2; j <= kPeakNeighbours; ++j) {
        left = _mm256_and_ps(left, _mm256_cmp_ps(v, _mm256_loadu_ps(power + i - j), _CMP_GT_OQ));
        right = _mm256_and_ps(right, _mm256_cmp_ps(v, _mm256_loadu_ps(power + i + j), _CMP_GT_OQ));
    }
    return static_cast<unsigned>(_mm256_movemask_ps(_mm256_and_ps(left, _mm256_or_ps(right, equal))));
}

std::size_t LocalMaximaAvx2(const float* power, std::uint32_t lines, std::uint32_t first, std::uint32_t last,
                            std::uint32_t* out, std::uint32_t& next)
{
    std::size_t count = 0;
    std::uint32_t i = first;
    // The eight lines' right neighbours stay below `lines`.
    for (; i + 7 <= last && i + 7 + kPeakNeighbours < lines; i += 8) {
        unsigned mask = CandidateMask(power, i);
        while (mask != 0) {
            const std::uint32_t line = i + static_cast<std::uint32_t>(__builtin_ctz(mask));
            mask &= mask - 1;
            if (IsLocalMaximum(power, lines, line))
                out[count++] = line;
        }
    }
    next = i;
    return count;
}

// sum + p·w·w for the curve's four lines.
inline __m256d AddWeighted(__m256d sum, __m256d p, const float* curve)
{
    const __m256d w = _mm256_cvtps_pd(_mm_loadu_ps(curve));
    return _mm256_add_pd(sum, _mm256_mul_pd(_mm256_mul_pd(p, w), w));
}

// Display: a display curve to take out; Curves: bit s − 1 set for each
// weighting curve s given. The sums stay in registers.
template <bool Display, unsigned Curves>
void WeightedPowerSumsAvx2(const float* power, const float* display, const float* const curves[4],
                           std::uint32_t first, std::uint32_t last, double lanes[4][4], std::uint32_t& next)
{
    const __m256d zero = _mm256_setzero_pd();
    __m256d flat = zero, a = zero, b = zero, c = zero;
    const float* const c1 = curves[1];
    const float* const c2 = curves[2];
    const float* const c3 = curves[3];
    std::uint32_t i = first;
    for (; i + 3 <= last; i += 4) {
        __m256d p = _mm256_cvtps_pd(_mm_loadu_ps(power + i));
        p = _mm256_and_pd(p, _mm256_cmp_pd(p, zero, _CMP_GT_OQ));
        if constexpr (Display) {
            const __m256d d = _mm256_cvtps_pd(_mm_loadu_ps(display + i));
            const __m256d divided = _mm256_div_pd(p, _mm256_mul_pd(d, d));
            p = _mm256_blendv_pd(p, divided, _mm256_cmp_pd(d, zero, _CMP_NEQ_UQ));
        }
        flat = _mm256_add_pd(flat, p);
        if constexpr ((Curves & 1u) != 0)
            a = AddWeighted(a, p, c1 + i);
        if constexpr ((Curves & 2u) != 0)
            b = AddWeighted(b, p, c2 + i);
        if constexpr ((Curves & 4u) != 0)
            c = AddWeighted(c, p, c3 + i);
    }
    _mm256_storeu_pd(lanes[0], flat);
    _mm256_storeu_pd(lanes[1], a);
    _mm256_storeu_pd(lanes[2], b);
    _mm256_storeu_pd(lanes[3], c);
    next = i;
}

template <unsigned Curves>
void WeightedPowerSumsAvx2(const float* power, const float* display, const float* const curves[4],
                           std::uint32_t first, std::uint32_t last, double lanes[4][4], std::uint32_t& next)
{
    if (display != nullptr)
        WeightedPowerSumsAvx2<true, Curves>(power, display, curves, first, last, lanes, next);
    else
        WeightedPowerSumsAvx2<false, Curves>(power, display, curves, first, last, lanes, next);
}

void WeightedPowerSumsAvx2(const float* power, const float* display, const float* const curves[4],
                           std::uint32_t first, std::uint32_t last, double lanes[4][4], std::uint32_t& next)
{
    const unsigned mask = (curves[1] != nullptr ? 1u : 0u) | (curves[2] != nullptr ? 2u : 0u) |
                          (curves[3] != nullptr ? 4u : 0u);
    switch (mask) {
    case 0: WeightedPowerSumsAvx2<0>(power, display, curves, first, last, lanes, next); break;
    case 1: WeightedPowerSumsAvx2<1>(power, display, curves, first, last, lanes, next); break;
    case 2: WeightedPowerSumsAvx2<2>(power, display, curves, first, last, lanes, next); break;
    case 3: WeightedPowerSumsAvx2<3>(power, display, curves, first, last, lanes, next); break;
    case 4: WeightedPowerSumsAvx2<4>(power, display, curves, first, last, lanes, next); break;
    case 5: WeightedPowerSumsAvx2<5>(power, display, curves, first, last, lanes, next); break;
    case 6: WeightedPowerSumsAvx2<6>(power, display, curves, first, last, lanes, next); break;
    default: WeightedPowerSumsAvx2<7>(power, display, curves, first, last, lanes, next); break;
    }
}

std::size_t ScaleInPlaceAvx2(float* values, const float* factors, std::size_t count)
{
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8)
        _mm256_storeu_ps(values + i, _mm256_mul_ps(_mm256_loadu_ps(values + i), _mm256_loadu_ps(factors + i)));
    return i;
}

std::size_t ScalePairsInPlaceAvx2(float* pairs, const float* factors, std::size_t count)
{
    // Four factors, each twice: f0 f0 f1 f1 | f2 f2 f3 f3.
    const __m256i twice = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m256 f = _mm256_permutevar8x32_ps(_mm256_castps128_ps256(_mm_loadu_ps(factors + i)), twice);
        _mm256_storeu_ps(pairs + 2 * i, _mm256_mul_ps(_mm256_loadu_ps(pairs + 2 * i), f));
    }
    return i;
}

float HighestValueAvx2(const float* values, std::size_t count, std::size_t& next)
{
    // MAXPS answers its second operand where the first is NaN.
    __m256 best = _mm256_set1_ps(-std::numeric_limits<float>::infinity());
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8)
        best = _mm256_max_ps(_mm256_loadu_ps(values + i), best);
    alignas(32) float lanes[8];
    _mm256_store_ps(lanes, best);
    float highest = lanes[0];
    for (float lane : lanes)
        highest = Higher(highest, lane);
    next = i;
    return highest;
}

} // namespace
} // namespace line_kernels

#pragma GCC pop_options
#pragma GCC push_options
#pragma GCC target("avx2,fma")

namespace line_kernels {
namespace {

// 2^y for |y| below a thousand: 2^round(y) from the exponent bits times
// e^t, t = (y − round(y))·ln 2, by its series to t¹³ (|t| ≤ 0.347, the
// terms left out below 1e-17).
inline __m256d Exp2Avx2(__m256d y)
{
    const __m256d n = _mm256_round_pd(y, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    const __m256d t = _mm256_mul_pd(_mm256_sub_pd(y, n), _mm256_set1_pd(0.6931471805599453));
    static constexpr double kInverseFactorials[] = {
        1.0 / 6227020800.0, 1.0 / 479001600.0, 1.0 / 39916800.0, 1.0 / 3628800.0, 1.0 / 362880.0,
        1.0 / 40320.0,      1.0 / 5040.0,      1.0 / 720.0,      1.0 / 120.0,     1.0 / 24.0,
        1.0 / 6.0,          0.5,               1.0,              1.0};
    __m256d series = _mm256_set1_pd(kInverseFactorials[0]);
    for (std::size_t k = 1; k < std::size(kInverseFactorials); ++k)
        series = _mm256_fmadd_pd(series, t, _mm256_set1_pd(kInverseFactorials[k]));
    const __m256i exponent = _mm256_slli_epi64(
        _mm256_add_epi64(_mm256_cvtepi32_epi64(_mm256_cvtpd_epi32(n)), _mm256_set1_epi64x(1023)), 52);
    return _mm256_mul_pd(series, _mm256_castsi256_pd(exponent));
}

double SumDbAsPowerAvx2(const float* dB, std::uint32_t first, std::uint32_t last, bool addOffset, float offset,
                        double noLevel, std::uint32_t& next)
{
    const __m128 noValue = _mm_set1_ps(kNoValue);
    const __m128 offsetV = _mm_set1_ps(offset);
    const __m256d noLevelV = _mm256_set1_pd(noLevel);
    const __m256d scale = _mm256_set1_pd(kLog2TenOverTen);
    const __m256d lowest = _mm256_set1_pd(-1000.0), highest = _mm256_set1_pd(1000.0);
    __m256d sum = _mm256_setzero_pd();
    std::uint32_t i = first;
    for (; i + 3 <= last; i += 4) {
        __m128 v = _mm_loadu_ps(dB + i);
        if (addOffset)
            v = _mm_blendv_ps(v, _mm_add_ps(v, offsetV), _mm_cmpgt_ps(v, noValue));
        const __m256d x = _mm256_cvtps_pd(v);
        const __m256d has = _mm256_cmp_pd(x, noLevelV, _CMP_GT_OQ);
        const __m256d y = _mm256_min_pd(_mm256_max_pd(_mm256_mul_pd(x, scale), lowest), highest);
        sum = _mm256_add_pd(sum, _mm256_and_pd(Exp2Avx2(y), has));
    }
    next = i;
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, sum);
    return (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
}

} // namespace
} // namespace line_kernels

#pragma GCC pop_options
#endif

namespace line_kernels {

std::size_t LocalMaxima(const float* power, std::uint32_t lines, std::uint32_t first, std::uint32_t last,
                        std::uint32_t* out)
{
    std::size_t count = 0;
    std::uint32_t i = first;
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        count = LocalMaximaAvx2(power, lines, first, last, out, i);
#endif
    for (; i <= last; ++i)
        if (IsLocalMaximum(power, lines, i))
            out[count++] = i;
    return count;
}

void WeightedPowerSums(const float* power, const float* display, const float* const curves[4], std::uint32_t first,
                       std::uint32_t last, double sums[4])
{
    double lanes[4][4] = {};
    std::uint32_t i = first;
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        WeightedPowerSumsAvx2(power, display, curves, first, last, lanes, i);
#endif
    for (; i <= last; ++i)
        AddLine(power, display, curves, i, lanes, (i - first) & 3u);
    Finish(lanes, sums);
}

void ScaleInPlace(float* values, const float* factors, std::size_t count)
{
    std::size_t i = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        i = ScaleInPlaceAvx2(values, factors, count);
#endif
    for (; i < count; ++i)
        values[i] *= factors[i];
}

void ScalePairsInPlace(float* pairs, const float* factors, std::size_t count)
{
    std::size_t i = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        i = ScalePairsInPlaceAvx2(pairs, factors, count);
#endif
    for (; i < count; ++i) {
        pairs[2 * i] *= factors[i];
        pairs[2 * i + 1] *= factors[i];
    }
}

float HighestValue(const float* values, std::size_t count)
{
    float highest = -std::numeric_limits<float>::infinity();
    std::size_t i = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        highest = HighestValueAvx2(values, count, i);
#endif
    for (; i < count; ++i)
        highest = Higher(highest, values[i]);
    return highest;
}

double SumDbAsPower(const float* dB, std::uint32_t first, std::uint32_t last, bool addOffset, float offset,
                    double noLevel)
{
    double sum = 0.0;
    std::uint32_t i = first;
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        sum = SumDbAsPowerAvx2(dB, first, last, addOffset, offset, noLevel, i);
#endif
    for (; i <= last; ++i) {
        const double v = WithOffset(dB[i], addOffset, offset);
        sum += v <= noLevel ? 0.0 : std::exp2(v * kLog2TenOverTen);
    }
    return sum;
}

} // namespace line_kernels
