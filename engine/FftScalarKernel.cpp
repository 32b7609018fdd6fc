// Portable scalar transform. Twiddle recurrences are serial chains of
// multiplications, so loops advance two independent chains (even and odd
// indices) to keep the processor busy.

#include "engine/FftKernels.h"

namespace fft_detail {

namespace {

struct ComplexD {
    double re, im;
};

inline ComplexD operator+(ComplexD a, ComplexD b) { return {a.re + b.re, a.im + b.im}; }
inline ComplexD operator-(ComplexD a, ComplexD b) { return {a.re - b.re, a.im - b.im}; }
inline ComplexD operator*(ComplexD a, ComplexD b)
{
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

inline ComplexD Load(const float* p) { return {p[0], p[1]}; }
inline void Store(float* p, ComplexD v)
{
    p[0] = static_cast<float>(v.re);
    p[1] = static_cast<float>(v.im);
}

// e^(−iθ) of a rotation, the forward transform's twiddle.
inline ComplexD ForwardTwiddle(Rotation r) { return {r.c, -r.s}; }

// Radix-4 decimation-in-frequency butterfly (two radix-2 stages at once) on
// the four values q apart from p, with twiddles w, w² and w³.
inline void Radix4Butterfly(float* p, std::uint32_t q, ComplexD w, ComplexD w2, ComplexD w3)
{
    float* p1 = p + 2 * q;
    float* p2 = p1 + 2 * q;
    float* p3 = p2 + 2 * q;
    const ComplexD a0 = Load(p), a1 = Load(p1), a2 = Load(p2), a3 = Load(p3);
    const ComplexD s02 = a0 + a2, d02 = a0 - a2;
    const ComplexD s13 = a1 + a3, d13 = a1 - a3;
    const ComplexD minusId13{d13.im, -d13.re};
    Store(p, s02 + s13);
    Store(p1, (s02 - s13) * w2);
    Store(p2, (d02 + minusId13) * w);
    Store(p3, (d02 - minusId13) * w3);
}

// One radix-4 pass over `count` complex values in groups of span L, with
// `base` the rotation by 2π/L.
void Radix4Pass(float* z, std::uint32_t count, std::uint32_t L, Rotation base)
{
    const std::uint32_t q = L / 4;
    if (q == 1) {
        const ComplexD one{1.0, 0.0};
        for (std::uint32_t g = 0; g < count; g += 4)
            Radix4Butterfly(z + 2 * g, 1, one, one, one);
        return;
    }
    // q is even here: the twiddles for j and j+1 advance by two steps each.
    const ComplexD step = ForwardTwiddle(base.Doubled());
    ComplexD wEven{1.0, 0.0};
    ComplexD wOdd = ForwardTwiddle(base);
    for (std::uint32_t j = 0; j < q; j += 2) {
        const ComplexD wEven2 = wEven * wEven, wEven3 = wEven2 * wEven;
        const ComplexD wOdd2 = wOdd * wOdd, wOdd3 = wOdd2 * wOdd;
        for (std::uint32_t g = 0; g < count; g += L) {
            Radix4Butterfly(z + 2 * (g + j), q, wEven, wEven2, wEven3);
            Radix4Butterfly(z + 2 * (g + j + 1), q, wOdd, wOdd2, wOdd3);
        }
        wEven = wEven * step;
        wOdd = wOdd * step;
    }
}

// The final radix-2 stage (span 2) when the stage count is odd: no twiddles.
void Radix2LastPass(float* z, std::uint32_t count)
{
    for (std::uint32_t g = 0; g < count; g += 2) {
        const ComplexD a = Load(z + 2 * g), b = Load(z + 2 * g + 2);
        Store(z + 2 * g, a + b);
        Store(z + 2 * g + 2, a - b);
    }
}

// In-place decimation-in-frequency FFT of L complex values, output in
// bit-reversed order. Large spans recurse depth first so that each quarter
// is finished while it is cached.
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

// Lines k and k' = M − k of the real spectrum from Z[k] = a and Z[k'] = b,
// with w = (cos kδ, sin kδ). At k = N/4 both are one line and the k'
// values, written last, stand.
inline void SplitLinePair(float* a, float* b, ComplexD w)
{
    const double sr = double(a[0]) + b[0], dr = double(a[0]) - b[0];
    const double si = double(a[1]) + b[1], di = double(a[1]) - b[1];
    const double tr = w.re * si - w.im * dr;
    const double ti = -w.im * si - w.re * dr;
    a[0] = static_cast<float>(sr + tr);
    b[0] = static_cast<float>(sr - tr);
    a[1] = static_cast<float>(ti + di);
    b[1] = static_cast<float>(ti - di);
}

void SplitToReal(float* data, std::uint32_t N)
{
    const std::uint32_t M = N / 2;
    const Rotation delta = SplitRotation(N);
    const Rotation twice = delta.Doubled();
    const ComplexD step{twice.c, twice.s};

    const double r0 = data[0], i0 = data[1];
    data[0] = static_cast<float>(2.0 * (r0 + i0));
    data[1] = static_cast<float>(2.0 * (r0 - i0));

    // N/4 lines, an even count for N ≥ 32: lines k and k+1 per round.
    ComplexD wOdd{delta.c, delta.s};
    ComplexD wEven = wOdd * wOdd;
    for (std::uint32_t k = 1; k < N / 4; k += 2) {
        SplitLinePair(data + 2 * k, data + 2 * (M - k), wOdd);
        SplitLinePair(data + 2 * (k + 1), data + 2 * (M - k - 1), wEven);
        wOdd = wOdd * step;
        wEven = wEven * step;
    }
}

} // namespace

void ForwardScalar(float* data, std::uint32_t N)
{
    const std::uint32_t M = N / 2;
    ComplexForwardDif(data, M, ComplexBase(M));
    BitReverse(data, Log2(M));
    SplitToReal(data, N);
}

} // namespace fft_detail
