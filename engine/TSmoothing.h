#pragma once
// A precomputed smoothing window. The analysis frame multiplies each block by
// it before the transform; the decimation filters taper their taps with it.
// Type and scaling mode stay plain numbers because settings files store them.

#include "platform/ZeroFilledArray.h"

#include <cstdint>

namespace smoothing {

enum WindowType : std::uint16_t {
    Bartlett = 0,
    Blackman = 1,
    Flattop = 2,
    Hamming = 3,
    Hanning = 4,
    Kaiser = 5,
    Parzen = 6,
    Triangular = 7,
    Uniform = 8,
    Gaussian = 9,
    Exponential = 10,
    Force = 11,
};
inline constexpr std::uint16_t kWindowTypeCount = 12;

enum ScalingMode : std::uint16_t {
    None = 0,
    Energy = 1,    // a broadband level reads its power
    Amplitude = 2, // a sine on a line reads its amplitude
};

} // namespace smoothing

class TSmoothing {
public:
    static constexpr float kDefaultAlpha = 5.0f;

    // Builds the table at once. An invalid type or a failed allocation is
    // reported in a message box and leaves Failed() true; construction still
    // completes.
    TSmoothing(std::uint32_t length, std::uint16_t windowType, std::uint16_t scalingMode);

    // Kaiser alpha; rebuilds the table (whatever the type).
    void SetParameter(float alpha);

    // Multiplies the N values of block by the table in place. Uniform, an
    // invalid type and a missing table leave the block untouched.
    void ApplyWindow(float* block) const;

    bool Failed() const { return ErrorFlag != 0; }
    std::uint32_t Length() const { return N; }
    std::uint16_t WindowType() const { return Type; }
    std::uint16_t ScalingMode() const { return Scaling; }
    float Parameter() const { return Alpha; }
    // N coefficients, or nullptr when there is no table.
    const float* Coefficients() const { return Table.data(); }
    // Equivalent noise bandwidth of the table in lines, N·Σw²/(Σw)²; 1 when
    // there is no table or it sums to zero. Scaling does not change it.
    double NoiseBandwidthLines() const;

private:
    bool ValidType() const { return Type < smoothing::kWindowTypeCount; }
    void Build();
    void Fill();
    void Scale();

    std::uint8_t ErrorFlag = 0;
    std::uint32_t N;
    std::uint16_t Type;
    platform::ZeroFilledArray<float> Table;
    float Alpha = kDefaultAlpha;
    std::uint16_t Scaling;
};
