#include "plot/AmplitudeMapping.h"

#include <algorithm>
#include <cmath>

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
