#pragma once
// Loops over whole line arrays that the transform, the averaging and the
// readouts run on every block, eight or four lines at a time where the
// processor has AVX2 (the peak hold's are in HoldKernels.h).
// Each gives what its plain loop gives, bit for bit, except where its
// comment says otherwise (the order of a sum's terms, a faster 2^x).

#include <cstddef>
#include <cstdint>

namespace line_kernels {

// A line is a peak when it stands above this many lines on either side; it
// keeps the skirts of one tone from being counted as further peaks.
inline constexpr std::uint32_t kPeakNeighbours = 5;

// std::max with the NaN left out: a NaN never becomes the best.
inline float Higher(float best, float v)
{
    return v > best ? v : best;
}

// True when `line` stands above kPeakNeighbours lines on either side. A run
// of equal lines (a tone midway between two lines) counts as one peak on its
// first line; the neighbours on the right are those after the run. Needs
// line ≥ kPeakNeighbours.
inline bool IsLocalMaximum(const float* power, std::uint32_t lines, std::uint32_t line)
{
    const float v = power[line];
    for (std::uint32_t j = 1; j <= kPeakNeighbours; ++j) {
        if (!(v > power[line - j]))
            return false;
    }
    std::uint32_t end = line;
    while (end + 1 < lines && power[end + 1] == v)
        ++end;
    if (end + kPeakNeighbours >= lines)
        return false;
    for (std::uint32_t j = 1; j <= kPeakNeighbours; ++j) {
        if (!(v > power[end + j]))
            return false;
    }
    return true;
}

// Every line of first … last for which IsLocalMaximum holds, ascending,
// into out (room for (last − first) / 2 + 1 lines); returns how many.
// Needs kPeakNeighbours ≤ first and last + kPeakNeighbours < lines.
std::size_t LocalMaxima(const float* power, std::uint32_t lines, std::uint32_t first, std::uint32_t last,
                        std::uint32_t* out);

// values[i] *= factors[i] for i < count (the window on a block).
void ScaleInPlace(float* values, const float* factors, std::size_t count);
// Both halves of pairs[2i], pairs[2i+1] times factors[i] for i < count
// (a correction on complex lines).
void ScalePairsInPlace(float* pairs, const float* factors, std::size_t count);

// The highest of values[0 … count−1], NaNs left out; −infinity when
// there is none.
float HighestValue(const float* values, std::size_t count);

// Sums over lines first … last of p = max(power, 0), divided by display²
// where a display curve is given and its entry is not 0, times curve²
// for each curve given: sums[0] the plain p, sums[s] with curves[s]
// (s = 1 … 3; a null curve leaves its sum 0). curves[0] is ignored.
// In double, the terms taken in four interleaved partial sums whatever the
// processor, so the result does not depend on which lines were asked
// together.
void WeightedPowerSums(const float* power, const float* display, const float* const curves[4], std::uint32_t first,
                       std::uint32_t last, double sums[4]);

// The sum over lines first … last of 10^(v/10), v = dB[i] plus offset when
// addOffset and dB[i] is above the no-value mark; a v at or below noLevel
// adds nothing. 10^(v/10) is taken as 2^(v·log2(10)/10), to within a few
// units in the last place of a double.
double SumDbAsPower(const float* dB, std::uint32_t first, std::uint32_t last, bool addOffset, float offset,
                    double noLevel);

} // namespace line_kernels
