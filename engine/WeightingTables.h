#pragma once
// The A, B and C frequency weightings as (frequency Hz, weight dB) pairs,
// ascending. They are mapped onto the FFT lines by spline; the few points
// per decade are enough because the curves are smooth between them.

#include <cstdint>

namespace weighting {

struct Table {
    const float* Points = nullptr; // Count (Hz, dB) pairs
    std::uint32_t Count = 0;
};

// 1 A, 2 B, 3 C; an empty table for any other code (flat).
Table ForCode(int code);

} // namespace weighting
