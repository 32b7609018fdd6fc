#pragma once
// The running mean of power averaging, four lines at a time where the
// processor has AVX2: the same double-precision arithmetic as the scalar
// loop (no fused operations), so the averages do not change by a bit.

#include <cstddef>

namespace averaging_detail {

// For lines 0 … done−1, with k blocks averaged (this one included):
//   avg[re, im] = ((k−1)·avg + block) / k
//   power       = ((k−1)·power + (re² + im² as a float)) / k
// each rounded to float; latestPower (when given) receives each line's
// float power. A cross spectrum's line power is the root of a positive
// re² + im²; vector averaging takes the power of the new averaged line
// instead of averaging powers. Without averagedComplex (null) only the
// powers are averaged (not for vector averaging, which needs the lines).
// Returns `done`, a multiple of four (0 without AVX2); the caller finishes
// the rest.
std::size_t RunningPowerMean(float* averagedComplex, float* averagedPower, float* latestPower, const float* block,
                             std::size_t lines, double k, bool cross = false, bool vector = false);

} // namespace averaging_detail
