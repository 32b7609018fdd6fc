#pragma once
// The two implementations behind TFFT::Forward: a portable scalar one and
// one for processors with AVX2 and FMA. Both compute in double precision,
// keep no tables and allocate nothing. TFFT picks one at run time; the
// tests run both.

#include <cmath>
#include <cstdint>
#include <cstring>

namespace fft_detail {

constexpr double kTwoPi = 6.283185307179586;

// Forward real transform of N floats in place (N a power of two, 32 … 65536).
void ForwardScalar(float* data, std::uint32_t N);
void ForwardAvx2(float* data, std::uint32_t N);

// True when this processor runs ForwardAvx2.
bool Avx2Available();

// The same answer, asked once: every kernel chooses its AVX2 path per call.
inline bool UseAvx2()
{
    static const bool available = Avx2Available();
    return available;
}

// cos θ and sin θ of a base angle; doubling the angle needs only products,
// so one sine and one cosine serve every span of the transform.
struct Rotation {
    double c, s;
    Rotation Doubled() const { return {1.0 - 2.0 * s * s, 2.0 * c * s}; }
};

inline std::uint32_t Log2(std::uint32_t powerOfTwo)
{
    return static_cast<std::uint32_t>(__builtin_ctz(powerOfTwo));
}

// Reverses the low `bits` bits of x.
inline std::uint32_t ReverseBits(std::uint32_t x, std::uint32_t bits)
{
    x = ((x >> 1) & 0x55555555u) | ((x & 0x55555555u) << 1);
    x = ((x >> 2) & 0x33333333u) | ((x & 0x33333333u) << 2);
    x = ((x >> 4) & 0x0F0F0F0Fu) | ((x & 0x0F0F0F0Fu) << 4);
    return __builtin_bswap32(x) >> (32 - bits);
}

// Puts the M = 2^log2M complex values (float pairs) into bit-reversed order.
void BitReverse(float* z, std::uint32_t log2M);

// The split step's base angle δ = 2π/N: sin δ, and cos δ from it.
inline Rotation SplitRotation(std::uint32_t N)
{
    const double sinD = std::sin(kTwoPi / N);
    return {std::sqrt(1.0 - sinD * sinD), sinD};
}

// The complex transform's base rotation by 2π/M.
inline Rotation ComplexBase(std::uint32_t M)
{
    return {std::cos(kTwoPi / M), std::sin(kTwoPi / M)};
}

// Spans up to this many complex values are finished in one go while they
// sit in the first-level cache.
constexpr std::uint32_t kCacheBlock = 2048;

} // namespace fft_detail
