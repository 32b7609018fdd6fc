// The transform for processors with AVX2 and FMA: each vector holds two
// complex values in double precision, so butterflies for twiddle indices j
// and j+1 (and split-step lines k and k+1) run side by side.

#include "engine/FftKernels.h"

#if defined(__x86_64__) || defined(__i386__)

#pragma GCC push_options
#pragma GCC target("avx2,fma")
#include <immintrin.h>

namespace fft_detail {

namespace {

using Pair = __m256d; // [re0, im0, re1, im1]

inline Pair Load2(const float* p) { return _mm256_cvtps_pd(_mm_loadu_ps(p)); }
inline void Store2(float* p, Pair v) { _mm_storeu_ps(p, _mm256_cvtpd_ps(v)); }

inline Pair Multiply(Pair a, Pair w)
{
    const Pair wr = _mm256_movedup_pd(w);
    const Pair wi = _mm256_permute_pd(w, 0xF);
    const Pair swapped = _mm256_permute_pd(a, 0x5);
    return _mm256_fmaddsub_pd(a, wr, _mm256_mul_pd(swapped, wi));
}

inline Pair ImaginarySignMask() { return _mm256_set_pd(-0.0, 0.0, -0.0, 0.0); }
inline Pair Conjugate(Pair v) { return _mm256_xor_pd(v, ImaginarySignMask()); }
// −i·v: (re, im) → (im, −re)
inline Pair TimesMinusI(Pair v) { return Conjugate(_mm256_permute_pd(v, 0x5)); }
inline Pair SwapHalves(Pair v) { return _mm256_permute2f128_pd(v, v, 0x01); }
inline Pair Broadcast(double re, double im) { return _mm256_set_pd(im, re, im, re); }
inline Pair Twins(double re0, double im0, double re1, double im1) { return _mm256_set_pd(im1, re1, im0, re0); }

// Radix-4 butterflies for indices j and j+1 at once (see the scalar kernel).
inline void Radix4Butterflies(float* p, std::uint32_t q, Pair w, Pair w2, Pair w3)
{
    float* p1 = p + 2 * q;
    float* p2 = p1 + 2 * q;
    float* p3 = p2 + 2 * q;
    const Pair a0 = Load2(p), a1 = Load2(p1), a2 = Load2(p2), a3 = Load2(p3);
    const Pair s02 = _mm256_add_pd(a0, a2), d02 = _mm256_sub_pd(a0, a2);
    const Pair s13 = _mm256_add_pd(a1, a3);
    const Pair minusId13 = TimesMinusI(_mm256_sub_pd(a1, a3));
    Store2(p, _mm256_add_pd(s02, s13));
    Store2(p1, Multiply(_mm256_sub_pd(s02, s13), w2));
    Store2(p2, Multiply(_mm256_add_pd(d02, minusId13), w));
    Store2(p3, Multiply(_mm256_sub_pd(d02, minusId13), w3));
}

// Span-4 groups need no twiddles; the four values are adjacent.
void Radix4PassSpan4(float* z, std::uint32_t count)
{
    for (std::uint32_t g = 0; g < count; g += 4) {
        float* p = z + 2 * g;
        const Pair v01 = Load2(p), v23 = Load2(p + 4);
        const Pair s = _mm256_add_pd(v01, v23); // [s02, s13]
        const Pair d = _mm256_sub_pd(v01, v23); // [d02, d13]
        const Pair x = _mm256_permute2f128_pd(s, d, 0x20);              // [s02, d02]
        const Pair y = _mm256_permute2f128_pd(s, TimesMinusI(d), 0x31); // [s13, −i·d13]
        const Pair sum = _mm256_add_pd(x, y);                            // [out0, out2]
        const Pair difference = _mm256_sub_pd(x, y);                     // [out1, out3]
        Store2(p, _mm256_permute2f128_pd(sum, difference, 0x20));
        Store2(p + 4, _mm256_permute2f128_pd(sum, difference, 0x31));
    }
}

void Radix4Pass(float* z, std::uint32_t count, std::uint32_t L, Rotation base)
{
    const std::uint32_t q = L / 4;
    if (q == 1) {
        Radix4PassSpan4(z, count);
        return;
    }
    const Rotation twice = base.Doubled();
    const Pair step = Broadcast(twice.c, -twice.s);
    Pair w = Twins(1.0, 0.0, base.c, -base.s);
    for (std::uint32_t j = 0; j < q; j += 2) {
        const Pair w2 = Multiply(w, w);
        const Pair w3 = Multiply(w2, w);
        for (std::uint32_t g = 0; g < count; g += L)
            Radix4Butterflies(z + 2 * (g + j), q, w, w2, w3);
        w = Multiply(w, step);
    }
}

void Radix2LastPass(float* z, std::uint32_t count)
{
    const Pair sign = _mm256_set_pd(-1.0, -1.0, 1.0, 1.0);
    for (std::uint32_t g = 0; g < count; g += 2) {
        const Pair v = Load2(z + 2 * g); // [a, b] → [a+b, a−b]
        Store2(z + 2 * g, _mm256_fmadd_pd(v, sign, SwapHalves(v)));
    }
}

void ComplexForwardDif(float* z, std::uint32_t L, Rotation base)
{
    if (L > kCacheBlock) {
        Radix4Pass(z, L, L, base);
        const Rotation quarterBase = base.Doubled().Doubled();
        for (std::uint32_t part = 0; part < 4; ++part)
            ComplexForwardDif(z + 2 * part * (L / 4), L / 4, quarterBase);
        return;
    }
    std::uint32_t span = L;
    for (; span >= 4; span /= 4) {
        Radix4Pass(z, L, span, base);
        base = base.Doubled().Doubled();
    }
    if (span == 2)
        Radix2LastPass(z, L);
}

// Lines k, k+1 and their mirrors M−k, M−k−1. With a = Z[k], b = Z[M−k]:
// S = a + conj b, D = a − conj b, T = (−i·D)·e^(−ikδ); line k is S + T and
// line M−k is conj(S − T). The mirrors are stored last, so at k+1 = N/4,
// where both are one line, the mirror's value stands.
void SplitToReal(float* data, std::uint32_t N)
{
    const std::uint32_t M = N / 2;
    const Rotation delta = SplitRotation(N);
    const Rotation twice = delta.Doubled();

    const double r0 = data[0], i0 = data[1];
    data[0] = static_cast<float>(2.0 * (r0 + i0));
    data[1] = static_cast<float>(2.0 * (r0 - i0));

    // e^(−ikδ) for k and k+1, advanced by e^(−2iδ) each round.
    const double w2r = delta.c * delta.c - delta.s * delta.s;
    const double w2i = 2.0 * delta.c * delta.s;
    Pair w = Twins(delta.c, -delta.s, w2r, -w2i);
    const Pair step = Broadcast(twice.c, -twice.s);
    for (std::uint32_t k = 1; k < N / 4; k += 2) {
        float* pa = data + 2 * k;
        float* pb = data + 2 * (M - k - 1);
        const Pair a = Load2(pa);
        const Pair bConj = Conjugate(SwapHalves(Load2(pb)));
        const Pair s = _mm256_add_pd(a, bConj);
        const Pair t = Multiply(TimesMinusI(_mm256_sub_pd(a, bConj)), w);
        Store2(pa, _mm256_add_pd(s, t));
        Store2(pb, SwapHalves(Conjugate(_mm256_sub_pd(s, t))));
        w = Multiply(w, step);
    }
}

} // namespace

void ForwardAvx2(float* data, std::uint32_t N)
{
    const std::uint32_t M = N / 2;
    ComplexForwardDif(data, M, ComplexBase(M));
    BitReverse(data, Log2(M));
    SplitToReal(data, N);
}

} // namespace fft_detail

#pragma GCC pop_options

namespace fft_detail {
bool Avx2Available()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}
} // namespace fft_detail

#else

namespace fft_detail {
void ForwardAvx2(float* data, std::uint32_t N) { ForwardScalar(data, N); }
bool Avx2Available() { return false; }
} // namespace fft_detail

#endif
