#include "plot/ColumnBinTable.h"

#include <algorithm>
#include <cmath>

namespace {

double Log10OrZero(float f)
{
    return f > 0.0f ? std::log10(static_cast<double>(f)) : 0.0;
}

} // namespace

void ColumnBinTable::Build(float start, float stop, int width, std::uint16_t freqScaleType, const BinIndexFn& binIndex)
{
    m_Entries.clear();
    if (width <= 1 || !binIndex)
        return;
    m_Entries.resize(static_cast<std::size_t>(width));
    const double last = width - 1;

    if (freqScaleType == 0) {
        const double step = (static_cast<double>(stop) - start) / last;
        for (int i = 0; i < width; ++i) {
            const auto f = static_cast<float>(start + i * step);
            m_Entries[i] = {static_cast<std::int32_t>(binIndex(f)), f};
        }
        return;
    }

    const double a = Log10OrZero(start);
    const double c = Log10OrZero(stop);
    for (int i = 0; i < width; ++i) {
        float f = static_cast<float>(std::pow(10.0, a + i * (c - a) / last));
        // The ends exactly, whatever the rounding of the powers.
        if (i == 0)
            f = start;
        else if (i == width - 1)
            f = stop;
        m_Entries[i] = {static_cast<std::int32_t>(binIndex(f)), f};
    }
    m_Entries.front().Bin = m_Entries[1].Bin;
    m_Entries.back().Bin += 1;
}

float ColumnBinTable::ColumnFrequency(int column) const
{
    if (column < 0 || column >= Count())
        return 0.0f;
    return m_Entries[static_cast<std::size_t>(column)].Frequency;
}

std::int32_t ColumnBinTable::ColumnBin(int column) const
{
    if (column < 0 || column >= Count())
        return 1;
    return m_Entries[static_cast<std::size_t>(column)].Bin;
}

int ColumnBinTable::FrequencyToColumn(float frequency) const
{
    const int count = Count();
    if (count < 2)
        return kNoColumn;
    // Also rejects NaN.
    if (!(frequency >= m_Entries.front().Frequency && frequency <= m_Entries.back().Frequency))
        return kNoColumn;
    // The frequencies never decrease, so the first column whose right
    // neighbour reaches f is found by bisection.
    const auto after = std::lower_bound(m_Entries.begin() + 1, m_Entries.end(), frequency,
                                        [](const ColumnBinEntry& e, float f) { return e.Frequency < f; });
    return static_cast<int>(after - m_Entries.begin()) - 1;
}
