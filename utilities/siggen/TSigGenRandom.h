#pragma once
// The generator's own random stream: the C runtime's linear congruential
// generator, reproduced here so that equal settings build equal signals
// whatever library or platform the program runs on. One stream per build,
// starting at state 1; the left channel draws first, then the right.

#include <cstdint>

class TSigGenRandom {
public:
    static constexpr std::int32_t kMaxValue = 32767;

    // 0 … 32767: bits 16 to 30 of the next state.
    std::int32_t Next()
    {
        State = State * 214013u + 2531011u;
        return static_cast<std::int32_t>((State >> 16) & 0x7FFFu);
    }

    // Triangular dither over [−1, 1]: one least-significant step either side.
    float TpdfDither();

    std::uint32_t GetState() const { return State; }

private:
    std::uint32_t State = 1;
};
