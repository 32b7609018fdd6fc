#include "engine/SpectralData.h"

#include <algorithm>
#include <cmath>

#include "engine/DbConversions.h"

namespace {

double Power(const float* line) { return double(line[0]) * line[0] + double(line[1]) * line[1]; }

double Phase(const float* line)
{
    return (line[0] == 0.0f && line[1] == 0.0f) ? 0.0 : std::atan2(double(line[1]), double(line[0]));
}

} // namespace

void SpectralData::AverageLeftRight(const float* a, const float* b)
{
    if (m_Block.empty() || a == nullptr || b == nullptr)
        return;
    for (std::uint32_t i = 0; i < m_Lines; ++i) {
        const float* la = a + 2 * i;
        const float* lb = b + 2 * i;
        double m = (Power(la) + Power(lb)) / 2.0;
        if (m > 0.0)
            m = std::sqrt(m);
        const double phase = (Phase(la) + Phase(lb)) / 2.0;
        m_Block[2 * i] = static_cast<float>(m * std::cos(phase));
        m_Block[2 * i + 1] = static_cast<float>(m * std::sin(phase));
    }
}

void SpectralData::CrossSpectrum(const float* a, const float* b)
{
    if (m_Block.empty() || a == nullptr || b == nullptr)
        return;
    for (std::uint32_t i = 0; i < m_Lines; ++i) {
        const double ar = a[2 * i], ai = a[2 * i + 1];
        const double br = b[2 * i], bi = b[2 * i + 1];
        m_Block[2 * i] = static_cast<float>(ar * br + ai * bi);
        m_Block[2 * i + 1] = static_cast<float>(ai * br - ar * bi);
    }
    m_IsCross = 1;
}

void SpectralData::MagnitudeRatio(const float* numerator, const float* denominator,
                                  const float* averagedA, const float* averagedB)
{
    if (m_AvgPower.empty() || m_AvgComplex.empty() || numerator == nullptr ||
        denominator == nullptr || averagedA == nullptr || averagedB == nullptr)
        return;
    for (std::uint32_t i = 0; i < m_Lines; ++i) {
        if (!(denominator[i] > 0.0f))
            continue;
        m_AvgPower[i] = static_cast<float>(double(numerator[i]) / denominator[i]);
        if (!m_AvgDb.empty())
            m_AvgDb[i] = db::LinePowerToDb(m_AvgPower[i]);
    }
    m_IsRatio = 1;
    FinishFunction();
}

void SpectralData::TransferFunction(const float* denominator)
{
    if (m_AvgPower.empty() || m_AvgComplex.empty() || denominator == nullptr)
        return;
    // A line with no denominator repeats its neighbour rather than jumping to zero.
    double t = 0.0;
    for (std::uint32_t i = 0; i < m_Lines; ++i) {
        const double den = denominator[i];
        if (den > 0.0) {
            const double re = m_AvgComplex[2 * i] / den;
            const double im = m_AvgComplex[2 * i + 1] / den;
            t = re * re + im * im;
        }
        StoreFunctionLine(i, t);
    }
    m_IsTransfer = 1;
    FunctionLinesToDb();
    FinishFunction();
}

void SpectralData::Coherence(const float* powerA, const float* powerB)
{
    if (m_AvgPower.empty() || m_AvgComplex.empty() || powerA == nullptr || powerB == nullptr)
        return;
    double c = 0.0;
    for (std::uint32_t i = 0; i < m_Lines; ++i) {
        const double d = double(powerA[i]) * powerB[i];
        if (d > 0.0)
            c = Power(&m_AvgComplex[2 * i]) / d;
        StoreFunctionLine(i, c);
    }
    m_IsCoherence = 1;
    FunctionLinesToDb();
    FinishFunction();
}

void SpectralData::StoreFunctionLine(std::uint32_t line, double value)
{
    // Under hold the line shows its running maximum.
    const auto v = static_cast<float>(value);
    m_AvgPower[line] = m_HoldMode != 0 ? std::max(m_AvgPower[line], v) : v;
}

// The dB of every stored function line, in one pass over the array.
void SpectralData::FunctionLinesToDb()
{
    if (!m_AvgDb.empty())
        db::LinePowersToDb(m_AvgPower.data(), m_AvgDb.data(), std::min<std::size_t>(m_Lines, m_AvgDb.size()));
}

void SpectralData::FinishFunction()
{
    if (IsOctaveMode())
        ComputeBandLevels(true, false);
    ++m_AveragePass;
}
