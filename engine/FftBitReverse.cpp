#include "engine/FftKernels.h"

namespace fft_detail {

namespace {

inline void SwapComplex(float* z, std::uint32_t i, std::uint32_t j)
{
    std::uint64_t a, b;
    std::memcpy(&a, z + 2 * i, sizeof a);
    std::memcpy(&b, z + 2 * j, sizeof b);
    std::memcpy(z + 2 * i, &b, sizeof b);
    std::memcpy(z + 2 * j, &a, sizeof a);
}

// Tiles of 2^3 × 2^3: eight complex values are one 64-byte cache line.
constexpr std::uint32_t kTileBits = 3;

} // namespace

// An index splits into (top, middle, bottom) with kTileBits at each end; its
// reverse is (rev bottom, rev middle, rev top). Swapping tile by tile keeps
// both sides of every swap within a few cache lines, instead of scattering
// over the whole block.
void BitReverse(float* z, std::uint32_t log2M)
{
    const std::uint32_t M = 1u << log2M;
    if (log2M < 2 * kTileBits) {
        for (std::uint32_t i = 1; i + 1 < M; ++i) {
            const std::uint32_t j = ReverseBits(i, log2M);
            if (i < j)
                SwapComplex(z, i, j);
        }
        return;
    }
    const std::uint32_t T = 1u << kTileBits;
    const std::uint32_t middleBits = log2M - 2 * kTileBits;
    const std::uint32_t topShift = log2M - kTileBits;
    for (std::uint32_t m = 0; m < (1u << middleBits); ++m) {
        const std::uint32_t mr = middleBits ? ReverseBits(m, middleBits) : 0;
        if (mr < m)
            continue;
        for (std::uint32_t a = 0; a < T; ++a) {
            const std::uint32_t ra = ReverseBits(a, kTileBits);
            for (std::uint32_t c = 0; c < T; ++c) {
                const std::uint32_t i = (a << topShift) | (m << kTileBits) | c;
                const std::uint32_t j = (ReverseBits(c, kTileBits) << topShift) | (mr << kTileBits) | ra;
                if (m < mr || i < j)
                    SwapComplex(z, i, j);
            }
        }
    }
}

} // namespace fft_detail
