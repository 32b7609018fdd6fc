// The column-to-bin table and its conversions.
#include "plot/ColumnBinTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Bins of 0.5 Hz, nearest.
std::uint32_t HalfHertzBin(float f)
{
    return static_cast<std::uint32_t>(std::lround(f * 2.0f));
}

// Linear columns are checked on a live plot (1 Hz per column).
TEST(ColumnBinTableTest, LogColumnsHitBothEndsAndShowWholeEndBins)
{
    ColumnBinTable table;
    table.Build(20.0f, 20000.0f, 301, 1, HalfHertzBin);
    ASSERT_EQ(table.Count(), 301);
    EXPECT_EQ(table[0].Frequency, 20.0f);
    EXPECT_EQ(table[300].Frequency, 20000.0f);
    // A hundredth of a decade per column (the log tick positions depend on it).
    EXPECT_NEAR(table[1].Frequency, 20.0f * std::pow(10.0f, 0.01f), 0.001f);
    // Column 0 takes column 1's bin (20.47 Hz: bin 41), the last column the
    // bin after its own.
    EXPECT_EQ(table[1].Bin, 41);
    EXPECT_EQ(table[0].Bin, 41);
    EXPECT_EQ(table[300].Bin, 40001);
    // Octave scaling spaces its columns the same way.
    ColumnBinTable octave;
    octave.Build(20.0f, 20000.0f, 301, 2, HalfHertzBin);
    EXPECT_EQ(octave[300].Bin, 40001);
    EXPECT_EQ(octave[0].Bin, octave[1].Bin);
}

TEST(ColumnBinTableTest, FrequencyToColumnAndBackOffTheTable)
{
    ColumnBinTable table;
    table.Build(1000.0f, 2000.0f, 11, 0, HalfHertzBin);
    // 100 Hz per column: a frequency between two columns is in the left one;
    // one on a column's frequency also belongs to the column before it.
    EXPECT_EQ(table.FrequencyToColumn(1000.0f), 0);
    EXPECT_EQ(table.FrequencyToColumn(1050.0f), 0);
    EXPECT_EQ(table.FrequencyToColumn(1100.0f), 0);
    EXPECT_EQ(table.FrequencyToColumn(1150.0f), 1);
    EXPECT_EQ(table.FrequencyToColumn(2000.0f), 9);
    EXPECT_EQ(table.FrequencyToColumn(999.9f), ColumnBinTable::kNoColumn);
    EXPECT_EQ(table.FrequencyToColumn(2000.1f), ColumnBinTable::kNoColumn);
    EXPECT_EQ(table.FrequencyToColumn(std::nanf("")), ColumnBinTable::kNoColumn);

    EXPECT_FLOAT_EQ(table.ColumnFrequency(3), 1300.0f);
    EXPECT_EQ(table.ColumnFrequency(11), 0.0f);
    EXPECT_EQ(table.ColumnBin(3), 2600);
    EXPECT_EQ(table.ColumnBin(-1), 1);

    // No table for a plot one pixel wide: nothing maps.
    ColumnBinTable narrow;
    narrow.Build(1000.0f, 2000.0f, 1, 0, HalfHertzBin);
    EXPECT_TRUE(narrow.Empty());
    EXPECT_EQ(narrow.FrequencyToColumn(1500.0f), ColumnBinTable::kNoColumn);
}

} // namespace
