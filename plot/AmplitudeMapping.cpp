#include "plot/AmplitudeMapping.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {

constexpr double kCoherenceTop = 1.2;

double TenLog10OrZero(double v)
{
    return v > 0.0 ? 10.0 * std::log10(v) : 0.0;
}

} // namespace

AmplitudeMapping::AmplitudeMapping(std::uint16_t ampScale, float top, float range, bool coherence)
    : m_Scale(ampScale), m_Coherence(coherence), m_Top(top), m_Range(range)
{
    if (m_Coherence)
        return;
    if (m_Scale == 0) {
        m_Top = UsableLinearTop(top);
    } else if (m_Scale == 2) {
        if (!(m_Top > 0.0))
            m_Top = 10.0;
        if (!(m_Range > 0.0) || m_Top <= m_Range)
            m_Range = 1e-6;
        m_LogBottom = TenLog10OrZero(m_Range);
        m_LogTop = TenLog10OrZero(m_Top);
        m_Valid = m_LogTop - m_LogBottom > 0.0;
    } else {
        // A dB range of 0 has no rows; treated like a log axis without room.
        m_Valid = m_Range != 0.0;
    }
}

float AmplitudeMapping::UsableLinearTop(float top)
{
    return top > 0.0f ? top : 1.0f;
}

int AmplitudeMapping::Row(float value, int height) const
{
    if (!m_Valid || height <= 0)
        return 1;
    if (m_Table != nullptr && m_Table->Height() == height)
        return m_Table->Row(value);
    const double h = height;
    const double v = value;
    double y = 0.0;
    if (m_Coherence)
        y = h * v / kCoherenceTop;
    else if (m_Scale == 1)
        y = h * (v - m_Top + m_Range) / m_Range;
    else if (m_Scale == 2)
        y = v > 0.0 ? h * (10.0 * std::log10(v) - m_LogBottom) / (m_LogTop - m_LogBottom) : 1.0;
    else
        y = h * v / m_Top;
    // Clamped before the conversion: a no-value mark (-999.9) or an
    // overload must not overflow the integer.
    if (std::isnan(y))
        return 1;
    return std::clamp(static_cast<int>(std::trunc(std::clamp(y, -1e6, 1e6))), 1, height);
}

float AmplitudeMapping::ValueAt(int row, int height) const
{
    if (!m_Valid || height <= 0)
        return 0.0f;
    const double r = row;
    const double h = height;
    if (m_Coherence)
        return static_cast<float>(r * kCoherenceTop / h);
    if (m_Scale == 1)
        return static_cast<float>(r * m_Range / h + (m_Top - m_Range));
    if (m_Scale == 2)
        return static_cast<float>(std::pow(10.0, (r * (m_LogTop - m_LogBottom) / h + m_LogBottom) / 10.0));
    return static_cast<float>(r * m_Top / h);
}

bool LogRowTable::Prepare(const AmplitudeMapping& mapping, int height)
{
    if (mapping.m_Scale != 2 || mapping.m_Coherence || !mapping.m_Valid || height < 1) {
        m_Height = 0;
        return false;
    }
    if (height == m_Height && mapping.m_LogTop == m_LogTop && mapping.m_LogBottom == m_LogBottom)
        return true;
    AmplitudeMapping formula = mapping;
    formula.m_Table = nullptr;
    // Positive floats order as their bit patterns: the search runs over
    // those, from the smallest up to infinity, whose row is the top one.
    constexpr std::uint32_t kInfinity = 0x7F800000u;
    const auto rowOf = [&](std::uint32_t bits) { return formula.Row(std::bit_cast<float>(bits), height); };
    m_Thresholds.assign(static_cast<std::size_t>(std::max(height - 1, 0)), 0.0f);
    std::uint32_t low = 1;
    for (int k = 2; k <= height; ++k) {
        // Where the logarithm says the row begins, then a few steps to the
        // exact float; a search between the bounds when that wanders.
        const double estimate = std::pow(10.0, (k * (mapping.m_LogTop - mapping.m_LogBottom) / height +
                                                mapping.m_LogBottom) / 10.0);
        // Beyond the floats (or below them) the search starts at an end.
        const std::uint32_t guess = estimate < std::numeric_limits<float>::max()
                                        ? std::bit_cast<std::uint32_t>(static_cast<float>(std::max(estimate, 0.0)))
                                        : kInfinity;
        std::uint32_t at = std::clamp(guess, low, kInfinity);
        int steps = 0;
        while (steps < 16 && at > low && rowOf(at - 1) >= k) {
            --at;
            ++steps;
        }
        while (steps < 16 && at < kInfinity && rowOf(at) < k) {
            ++at;
            ++steps;
        }
        if (steps >= 16 || rowOf(at) < k || (at > low && rowOf(at - 1) >= k)) {
            std::uint32_t high = kInfinity;
            at = low;
            while (at < high) {
                const std::uint32_t middle = at + (high - at) / 2;
                if (rowOf(middle) >= k)
                    high = middle;
                else
                    at = middle + 1;
            }
        }
        m_Thresholds[static_cast<std::size_t>(k - 2)] = std::bit_cast<float>(at);
        low = at;
    }
    m_LogTop = mapping.m_LogTop;
    m_LogBottom = mapping.m_LogBottom;
    m_Height = height;
    return true;
}

int LogRowTable::Row(float value) const
{
    // Nothing above zero (and no number) lies on the bottom row.
    if (!(value > 0.0f))
        return 1;
    const auto reached = std::upper_bound(m_Thresholds.begin(), m_Thresholds.end(), value);
    return 1 + static_cast<int>(reached - m_Thresholds.begin());
}
