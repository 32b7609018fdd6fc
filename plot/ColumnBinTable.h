#pragma once
// Which bin (FFT line, or band in fractional-octave scaling) and which
// frequency each pixel column of the plot area shows. Every trace, marker,
// tick and cursor position goes through this table, so that they agree to
// the pixel.

#include <cstdint>
#include <functional>
#include <vector>

struct ColumnBinEntry {
    std::int32_t Bin = 0;
    float Frequency = 0.0f;

    bool operator==(const ColumnBinEntry&) const = default;
};

class ColumnBinTable {
public:
    static constexpr int kNoColumn = -999;

    // The data's nearest bin (or containing band) of a frequency.
    using BinIndexFn = std::function<std::uint32_t(float)>;

    // One entry per column of a plot area `width` pixels wide; no table for a
    // width of 1 or less. Linear scaling (type 0) spaces the frequencies
    // evenly; log and octave scaling (1, 2) space their logarithms evenly,
    // hit both ends exactly, give column 0 the bin of column 1 and the last
    // column the bin after its own, so the ends show whole bins.
    void Build(float start, float stop, int width, std::uint16_t freqScaleType, const BinIndexFn& binIndex);
    void Clear() { m_Entries.clear(); }

    int Count() const { return static_cast<int>(m_Entries.size()); }
    bool Empty() const { return m_Entries.empty(); }
    const ColumnBinEntry& operator[](int column) const { return m_Entries[static_cast<std::size_t>(column)]; }

    // Columns counted from the plot area's left edge.
    // 0 outside the table.
    float ColumnFrequency(int column) const;
    // 1 outside the table: the bin a right click beside the columns selects.
    std::int32_t ColumnBin(int column) const;
    // The first column c with freq(c) <= f <= freq(c + 1); kNoColumn when f
    // lies outside the table.
    int FrequencyToColumn(float frequency) const;

private:
    std::vector<ColumnBinEntry> m_Entries;
};
