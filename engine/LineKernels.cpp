#include "engine/LineKernels.h"

#include "engine/FftKernels.h"

namespace line_kernels {
namespace {

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
    static const bool vectors = fft_detail::Avx2Available();
    if (vectors)
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
    static const bool vectors = fft_detail::Avx2Available();
    if (vectors)
        WeightedPowerSumsAvx2(power, display, curves, first, last, lanes, i);
#endif
    for (; i <= last; ++i)
        AddLine(power, display, curves, i, lanes, (i - first) & 3u);
    Finish(lanes, sums);
}

} // namespace line_kernels
