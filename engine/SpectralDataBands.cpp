#include "engine/SpectralData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "engine/DbConversions.h"

namespace {

constexpr const char* kWorkingMemoryMessage =
    "SpectralData - Insufficient memory available for working memory";

// Mantissas of the nominal centres within one decade, in scan order: the
// preferred numbers of the standard band series, fine enough for any b up to 24.
constexpr std::array<int, 81> kNominalMantissas = {
    100, 103, 106, 109, 112, 115, 118, 121, 125, 130, 133, 137, 140, 145, 150, 155, 160,
    165, 170, 175, 180, 185, 190, 195, 200, 206, 212, 218, 224, 230, 237, 244, 250, 257,
    265, 272, 280, 290, 300, 307, 315, 325, 335, 345, 355, 365, 375, 387, 400, 412, 425,
    437, 450, 462, 475, 487, 500, 515, 530, 545, 560, 580, 600, 615, 630, 650, 670, 690,
    710, 730, 750, 775, 800, 825, 850, 875, 900, 925, 950, 975, 1000};

// Above 24 bands per octave the table is too coarse to tell neighbours apart.
constexpr std::uint32_t kFinestTabledOctaveNumber = 24;

double BandsPerOctave(std::uint32_t octaveNumber)
{
    return octaveNumber == 0 ? 1.0 : static_cast<double>(octaveNumber);
}

// Centres lie on the base-10 series so that they repeat exactly every decade.
double ExactBandCenter(std::uint32_t band, double b)
{
    return std::pow(10.0, 3.0 * band / (10.0 * b));
}

// The first band centred at or above the span is not shown, so the count is
// the index of that band.
std::uint32_t CountBands(double span, double b)
{
    std::uint32_t n = 1;
    while (ExactBandCenter(n, b) < span)
        ++n;
    return n;
}

// Scale that brings a frequency to three (tabled) or four (untabled)
// significant digits before the decimal point.
double DigitScale(double f, double belowTen)
{
    int decades = 0;
    for (double limit : {10.0, 100.0, 1000.0, 1.0e4, 1.0e5})
        decades += f >= limit ? 1 : 0;
    return belowTen / std::pow(10.0, decades);
}

int NearestMantissa(double x)
{
    int best = kNominalMantissas.front();
    for (int entry : kNominalMantissas) {
        if (std::abs(entry - x) < std::abs(best - x))
            best = entry;
    }
    return best;
}

float Clamp01(double weight)
{
    return static_cast<float>(std::clamp(weight, 0.0, 1.0));
}

} // namespace

float SpectralData::NominalBandCenter(float frequency) const
{
    const double f = frequency;
    if (!(f > 1.0))
        return 1.0f;
    if (f >= 1.0e6)
        return 1.0e6f;
    if (m_OctaveNumber > kFinestTabledOctaveNumber) {
        const double s = DigitScale(f, 1000.0);
        return static_cast<float>(std::trunc(f * s) / s);
    }
    const double s = DigitScale(f, 100.0);
    const double x = std::trunc(f * s + 0.5);
    return static_cast<float>(NearestMantissa(x) / s);
}

float SpectralData::GetBandCenter(std::uint32_t band) const
{
    return band < m_Bands.size() ? m_Bands[band].NominalCenter : 0.0f;
}

float SpectralData::GetBandLowerEdge(std::uint32_t band) const
{
    return band < m_Bands.size() ? m_Bands[band].LowerEdge : 0.0f;
}

float SpectralData::GetBandUpperEdge(std::uint32_t band) const
{
    return band < m_Bands.size() ? m_Bands[band].UpperEdge : 0.0f;
}

std::uint32_t SpectralData::FrequencyToBand(float frequency) const
{
    if (m_Bands.empty())
        return 0;
    const TOctaveBand* first = m_Bands.data();
    const TOctaveBand* end = first + m_Bands.size();
    if (frequency < first->LowerEdge)
        return 0;
    if (frequency >= end[-1].UpperEdge)
        return static_cast<std::uint32_t>(m_Bands.size() - 1);
    // Each band starts where the previous one ends, so the first band whose
    // upper edge lies above f is the one holding it.
    const TOctaveBand* band = std::partition_point(
        first, end, [frequency](const TOctaveBand& b) { return b.UpperEdge <= frequency; });
    return band == end ? 0 : static_cast<std::uint32_t>(band - first);
}

std::uint32_t SpectralData::GetFirstBand() const
{
    // Bands narrower than that carry no more than the lines around them.
    for (std::size_t i = 0; i < m_BandLineMap.size(); ++i) {
        if (m_BandLineMap[i].HighLine >= m_BandLineMap[i].LowLine + 2)
            return static_cast<std::uint32_t>(i);
    }
    return 0;
}

std::uint32_t SpectralData::GetLastBand() const
{
    return m_BandCount == 0 ? 0 : m_BandCount - 1;
}

void SpectralData::BuildOctaveBands()
{
    m_Bands.Free();
    m_BandCount = 0;
    const double b = BandsPerOctave(m_OctaveNumber);
    const std::uint32_t count = CountBands(m_Span, b);
    if (!m_Bands.Allocate(count)) {
        Fail(kWorkingMemoryMessage);
        return;
    }
    m_BandCount = count;

    const double halfBandUp = std::pow(2.0, 0.5 / b);
    for (std::uint32_t n = 0; n < count; ++n) {
        TOctaveBand& band = m_Bands[n];
        const double center = ExactBandCenter(n, b);
        band.Center = static_cast<float>(center);
        band.NominalCenter = NominalBandCenter(band.Center);
        band.UpperEdge = static_cast<float>(center * halfBandUp);
        // Sharing each edge with the band below keeps the bands gap-free.
        band.LowerEdge = n == 0 ? static_cast<float>(center / halfBandUp) : m_Bands[n - 1].UpperEdge;
    }
}

void SpectralData::BuildBandLineMap()
{
    m_BandLineMap.Free();
    if (m_BandCount == 0 || m_Bands.empty() || m_Lines == 0 || !(m_LineSpacing > 0.0f))
        return;
    if (!m_BandLineMap.Allocate(m_BandCount)) {
        Fail(kWorkingMemoryMessage);
        return;
    }
    const double df = m_LineSpacing;
    for (std::uint32_t n = 0; n < m_BandCount; ++n) {
        // The top band may reach past the span, where no line exists; the
        // clamp then gives the top line whole instead of more than all of it.
        const float lower = std::clamp(m_Bands[n].LowerEdge, 0.0f, m_Span);
        const float upper = std::clamp(m_Bands[n].UpperEdge, 0.0f, m_Span);
        TBandLineMap& map = m_BandLineMap[n];
        map.LowLine = FrequencyToBin(lower);
        map.LowWeight = Clamp01((BinToFrequency(map.LowLine) + df / 2.0 - lower) / df);
        map.HighLine = FrequencyToBin(upper);
        map.HighWeight = Clamp01((upper - (BinToFrequency(map.HighLine) - df / 2.0)) / df);
    }
}

void SpectralData::ComputeBandLevels(bool bandMeans, bool latest)
{
    if (m_AvgPower.empty() || m_BandLineMap.empty() || m_Bands.empty() || m_BandLevels.empty())
        return;
    // The hold's latest levels need both latest arrays; otherwise this is the
    // ordinary pass over the averaged power.
    const bool useLatest = latest && m_HoldMode != 0 && !m_LatestPower.empty() &&
                           !m_LatestBandLevels.empty();
    const float* inner = useLatest ? m_LatestPower.data() : m_AvgPower.data();
    float* levels = useLatest ? m_LatestBandLevels.data() : m_BandLevels.data();
    const float* power = m_AvgPower.data();
    const std::size_t count =
        std::min({m_BandLineMap.size(), m_BandLevels.size(), std::size_t{m_BandCount}});

    for (std::size_t n = 0; n < count; ++n) {
        const TBandLineMap& map = m_BandLineMap[n];
        double sum = double(power[map.LowLine]) * map.LowWeight +
                     double(power[map.HighLine]) * map.HighWeight;
        for (std::uint32_t line = map.LowLine + 1; line < map.HighLine; ++line)
            sum += inner[line];
        if (bandMeans) {
            // Inner lines plus both edge parts; for a band inside one line the
            // two parts overlap, and the sum less one is that overlap.
            double width = double(map.HighLine) - double(map.LowLine) - 1.0 + map.LowWeight +
                           map.HighWeight;
            if (width == 0.0)
                width = 1.0;
            sum /= width;
        }
        levels[n] = db::PowerToDb(sum);
    }
}
