// Weighted power sums over a line range, the inner loop of every band
// power: all four weightings in one pass when more than one is asked of the
// same spectrum.

#include "engine/SpectralData.h"

#include "engine/LineKernels.h"

const float* SpectralData::WeightingCurve(int slot)
{
    if (slot < 1 || slot > 3)
        return nullptr;
    auto& curve = slot == 1 ? m_CurveA : slot == 2 ? m_CurveB : m_CurveC;
    if (curve.empty())
        BuildWeightingCurve(curve, slot);
    return curve.empty() ? nullptr : curve.data();
}

double SpectralData::WeightedPowerSum(std::uint32_t first, std::uint32_t last, bool latest, int slot)
{
    TPowerSums& sums = m_PowerSums[latest ? 1 : 0];
    const bool sameLines = sums.Valid && sums.Pass == m_AveragePass && sums.First == first && sums.Last == last;
    if (sameLines && sums.Has[std::size_t(slot)])
        return sums.Sum[std::size_t(slot)];

    // Slot 0 (the plain power) comes with every pass; a second weighting
    // asked of the same lines brings all the others along.
    const float* curves[4] = {nullptr, nullptr, nullptr, nullptr};
    if (sameLines) {
        for (int s = 1; s <= 3; ++s)
            curves[s] = WeightingCurve(s);
    } else {
        sums = TPowerSums{};
        sums.Pass = m_AveragePass;
        sums.First = first;
        sums.Last = last;
        sums.Valid = true;
        if (slot != 0)
            curves[slot] = WeightingCurve(slot);
    }
    const float* power = latest ? m_LatestPower.data() : m_AvgPower.data();
    const float* display = m_Weighting.empty() ? nullptr : m_Weighting.data();
    double results[4] = {};
    line_kernels::WeightedPowerSums(power, display, curves, first, last, results);
    for (std::size_t s = 0; s < 4; ++s) {
        if (s == 0 || curves[s] != nullptr) {
            sums.Sum[s] = results[s];
            sums.Has[s] = true;
        }
    }
    return sums.Sum[std::size_t(slot)];
}
