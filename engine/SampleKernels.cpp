#include "engine/SampleKernels.h"

#include "engine/FftKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC push_options
#pragma GCC target("avx2")
#include <immintrin.h>

namespace sample_kernels {
namespace {

// Eight words whose 3-byte codes are kept in their low bytes, sign-extended.
inline __m256i Codes24(__m256i words)
{
    return _mm256_srai_epi32(_mm256_slli_epi32(words, 8), 8);
}

template <bool Floats>
std::size_t PackCodes24Avx2(std::uint8_t* packed, const std::int32_t* values, std::size_t count, std::int64_t& peak,
                            float* floats)
{
    const __m256i span = _mm256_set1_epi32(1 << 24);
    const __m256i sign = _mm256_set1_epi32(1 << 23);
    // Per 128-bit half: the low three bytes of each of its four words,
    // then four bytes that the next store overwrites.
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    __m256i highest = _mm256_setzero_si256();
    std::size_t i = 0;
    // Each store writes 16 bytes from 3i + 12; the sample after the eight
    // (3 bytes) and one more keep the last store inside the buffer.
    for (; i + 10 <= count; i += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values + i));
        const __m256i negative = _mm256_or_si256(_mm256_add_epi32(v, span), sign);
        const __m256i words = _mm256_blendv_epi8(v, negative, _mm256_srai_epi32(v, 31));
        const __m256i codes = Codes24(words);
        highest = _mm256_max_epi32(highest, _mm256_abs_epi32(codes));
        if constexpr (Floats)
            _mm256_storeu_ps(floats + i, _mm256_cvtepi32_ps(codes));
        const __m256i bytes = _mm256_shuffle_epi8(words, pack);
        std::uint8_t* out = packed + 3 * i;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm256_extracti128_si256(bytes, 1));
    }
    alignas(32) std::int32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), highest);
    for (std::int32_t lane : lanes)
        peak = lane > peak ? lane : peak;
    return i;
}

std::size_t UnpackCodes24Avx2(const std::uint8_t* packed, float* out, std::size_t count)
{
    // Bytes 0–11 to the low half, 12–23 to the high half, then each code's
    // three bytes to the top of its word, so a shift back extends the sign.
    const __m256i halves = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i spread = _mm256_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, //
                                            -1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11);
    std::size_t i = 0;
    // Each load reads 32 bytes from 3i: eleven samples' worth.
    for (; i + 11 <= count; i += 8) {
        const __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(packed + 3 * i));
        const __m256i words = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(raw, halves), spread);
        _mm256_storeu_ps(out + i, _mm256_cvtepi32_ps(_mm256_srai_epi32(words, 8)));
    }
    return i;
}

std::size_t SplitFrames24Avx2(const std::uint8_t* frames, std::int32_t* left, std::int32_t* right, std::size_t count)
{
    // Four frames (24 bytes): frames 0–1 to the low half, 2–3 to the high
    // half; in each half the two left codes, then the two right ones, at
    // the top of their words; then the lefts of both halves together.
    const __m256i halves = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i spread = _mm256_setr_epi8(-1, 0, 1, 2, -1, 6, 7, 8, -1, 3, 4, 5, -1, 9, 10, 11, //
                                            -1, 0, 1, 2, -1, 6, 7, 8, -1, 3, 4, 5, -1, 9, 10, 11);
    const __m256i sides = _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7);
    std::size_t i = 0;
    // Each load reads 32 bytes from 6i: six frames' worth.
    for (; i + 6 <= count; i += 4) {
        const __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(frames + 6 * i));
        const __m256i words = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(raw, halves), spread);
        const __m256i codes = _mm256_permutevar8x32_epi32(_mm256_srai_epi32(words, 8), sides);
        if (left != nullptr)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(left + i), _mm256_castsi256_si128(codes));
        if (right != nullptr)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(right + i), _mm256_extracti128_si256(codes, 1));
    }
    return i;
}

} // namespace
} // namespace sample_kernels

#pragma GCC pop_options
#endif

namespace sample_kernels {

std::size_t PackCodes24(std::uint8_t* packed, const std::int32_t* values, std::size_t count, std::int64_t& peak,
                        float* floats)
{
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        return floats != nullptr ? PackCodes24Avx2<true>(packed, values, count, peak, floats)
                                 : PackCodes24Avx2<false>(packed, values, count, peak, nullptr);
#endif
    (void)packed;
    (void)values;
    (void)count;
    (void)peak;
    (void)floats;
    return 0;
}

std::size_t UnpackCodes24(const std::uint8_t* packed, float* out, std::size_t count)
{
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        return UnpackCodes24Avx2(packed, out, count);
#endif
    (void)packed;
    (void)out;
    (void)count;
    return 0;
}

std::size_t SplitFrames24(const std::uint8_t* frames, std::int32_t* left, std::int32_t* right, std::size_t count)
{
#if defined(__x86_64__) || defined(__i386__)
    if (fft_detail::UseAvx2())
        return SplitFrames24Avx2(frames, left, right, count);
#endif
    (void)frames;
    (void)left;
    (void)right;
    (void)count;
    return 0;
}

} // namespace sample_kernels
