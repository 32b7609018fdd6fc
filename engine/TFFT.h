#pragma once
// The engine's real-input FFT.
//
// Forward() transforms N real floats in place into N/2 lines:
//   data[0] = 2·X[0]                (DC)
//   data[1] = 2·X[N/2]              (Nyquist, in line 0's imaginary slot)
//   data[2k], data[2k+1] = 2·Re X[k], 2·Im X[k]   for k = 1 … N/2−1
// with X[k] = Σ x[n]·e^(−2πi·k·n/N). Every line is twice the plain DFT sum,
// so a cosine of amplitude A on line k reads A·N.
//
// Arithmetic inside is double precision; no twiddle tables are kept and no
// memory is allocated: twiddles come from rotation recurrences.

#include <cstdint>

class TFFT {
public:
    static constexpr std::uint32_t kMinSize = 32;
    static constexpr std::uint32_t kMaxSize = 65536;

    explicit TFFT(std::uint32_t size) : N(size) {}

    // True for a power of two from 32 to 65536; Forward() does nothing otherwise.
    static bool IsValidSize(std::uint32_t size);

    std::uint32_t Size() const { return N; }

    void Forward(float* data) const;

private:
    std::uint32_t N;
};
