#include "plot/BandTraceTable.h"

#include "engine/SpectralData.h"

#include <algorithm>

namespace {

// Where a band's two side points stand around its centre.
constexpr float kBelow = 0.99999f;
constexpr float kAbove = 1.00001f;

} // namespace

void BandTraceTable::Fill(const SpectralData& data, bool hold)
{
    m_Spline.reset();
    m_Points.clear();
    const std::uint32_t first = data.GetStartBin();
    const std::uint32_t last = data.GetEndBin();
    for (std::uint32_t band = first; band <= last && last >= first; ++band) {
        const float f = data.GetBinFrequency(band);
        const float v = hold ? data.GetHoldValue(band) : data.GetValue(band);
        for (float factor : {kBelow, 1.0f, kAbove}) {
            m_Points.push_back(f * factor);
            m_Points.push_back(v);
        }
    }
    if (!m_Points.empty())
        m_Spline = std::make_unique<TCubicSpline>(m_Points.data(), static_cast<std::uint32_t>(Count()),
                                                  TCubicSpline::kCubic);
}

float BandTraceTable::GetValueAt(float frequency) const
{
    const std::size_t n = Count();
    if (n == 0)
        return 0.0f;
    if (frequency <= Frequency(0))
        return Value(0);
    if (frequency >= Frequency(n - 1))
        return Value(n - 1);
    return m_Spline ? m_Spline->Evaluate(frequency) : 0.0f;
}

float BandTraceTable::GetBandValue(float f1, float f2) const
{
    const std::size_t n = Count();
    if (n == 0)
        return 0.0f;
    if (f1 < Frequency(0) || f2 < Frequency(0))
        return Value(0);
    if (f1 > Frequency(n - 1) || f2 > Frequency(n - 1))
        return Value(n - 1);
    bool found = false;
    float best = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const float f = Frequency(i);
        if (f <= f1)
            continue;
        if (f >= f2)
            break;
        best = found ? std::max(best, Value(i)) : Value(i);
        found = true;
    }
    return found ? best : GetValueAt(f2);
}
