// Weighted power sums over a line range, the inner loop of every band
// power: one loop per case so that each runs without tests it does not
// need, and all four weightings in one pass when more than one is asked of
// the same spectrum.

#include "engine/SpectralData.h"

#include <type_traits>

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

    const float* power = latest ? m_LatestPower.data() : m_AvgPower.data();
    const float* display = m_Weighting.empty() ? nullptr : m_Weighting.data();
    // Slot 0 sums the plain power; the others the power times their curve
    // squared, each in the same order as a sum of its own would.
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
    const bool all = sameLines;

    auto run = [&](auto withDisplay, auto allSlots) {
        double flat = 0.0, a = 0.0, b = 0.0, c = 0.0;
        const float* one = curves[slot];
        for (std::uint32_t i = first; i <= last; ++i) {
            // Cleared latest lines hold the no-value marker, not a power.
            double p = power[i] > 0.0f ? power[i] : 0.0;
            // The display curve is already in the power; the requested one replaces it.
            if constexpr (decltype(withDisplay)::value) {
                if (display[i] != 0.0f)
                    p /= double{display[i]} * display[i];
            }
            if constexpr (decltype(allSlots)::value) {
                flat += p;
                if (curves[1] != nullptr)
                    a += p * curves[1][i] * curves[1][i];
                if (curves[2] != nullptr)
                    b += p * curves[2][i] * curves[2][i];
                if (curves[3] != nullptr)
                    c += p * curves[3][i] * curves[3][i];
            } else {
                flat += one != nullptr ? p * one[i] * one[i] : p;
            }
        }
        if constexpr (decltype(allSlots)::value) {
            const double results[4] = {flat, a, b, c};
            for (std::size_t s = 0; s < 4; ++s) {
                if (s == 0 || curves[s] != nullptr) {
                    sums.Sum[s] = results[s];
                    sums.Has[s] = true;
                }
            }
        } else {
            sums.Sum[std::size_t(slot)] = flat;
            sums.Has[std::size_t(slot)] = true;
        }
    };
    using Yes = std::true_type;
    using No = std::false_type;
    if (display != nullptr)
        all ? run(Yes{}, Yes{}) : run(Yes{}, No{});
    else
        all ? run(No{}, Yes{}) : run(No{}, No{});
    return sums.Sum[std::size_t(slot)];
}
