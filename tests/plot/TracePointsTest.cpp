// Trace points from the column table: grouping of columns by bin, the
// largest value over skipped bins, and the three plot types.
#include "plot/TracePoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Bin values from a function; a range of bins answers its largest value,
// a single step the value of its last bin.
class BinValues : public TraceValueSource {
public:
    explicit BinValues(float (*value)(int)) : m_Value(value) {}
    float MaxValue(int first, int last) const override
    {
        if (first < 0 || first == last - 1)
            return m_Value(last);
        float best = 0.0f;
        for (int b = std::min(first, last); b <= std::max(first, last); ++b)
            best = std::max(best, m_Value(b));
        return best;
    }

private:
    float (*m_Value)(int);
};

// Bin b holds 10·(b + 1).
const BinValues kRamp([](int bin) { return 10.0f * (bin + 1); });

// Each bin over `columnsPerBin` columns: bins 0,0,0,1,1,1,… for three.
ColumnBinTable GroupedColumns(int width, int columnsPerBin)
{
    ColumnBinTable table;
    table.Build(0.0f, static_cast<float>(width - 1), width, 0,
                [columnsPerBin](float f) { return static_cast<std::uint32_t>(f) / columnsPerBin; });
    return table;
}

// A pane 12 columns wide and 40 rows high: left 100, bottom 90.
const PlotRect kPane{100, 50, 112, 90};
// Linear 0 … 40: a value's row is the value itself, bin b on row 10·(b + 1).
const AmplitudeMapping kLinear40(0, 40.0f, 0.0f, false);

std::vector<PlotPoint> Compute(std::uint16_t plotType, bool octave = false, int columnsPerBin = 3)
{
    std::vector<PlotPoint> points;
    const bool done = ComputeTracePoints(GroupedColumns(12, columnsPerBin), kPane, {plotType, octave}, kLinear40,
                                         kRamp, 48, points);
    EXPECT_TRUE(done);
    return points;
}

// Groups of three columns per bin. A line puts a point at each group's middle
// column (drawn a column left), the first twice; a stepped trace is the bars'
// outline without their sides; an octave line steps at each band's first
// column and runs to the pane's right edge.
TEST(TracePointsTest, LineSteppedAndOctaveLineTraces)
{
    struct Case {
        std::uint16_t PlotType;
        bool Octave;
        std::vector<PlotPoint> Expected;
    };
    const Case cases[] = {
        {0, false, {{99, 80}, {99, 80}, {101, 80}, {104, 70}, {107, 60}, {109, 50}}},
        {2, false, {{100, 80}, {100, 80}, {103, 80}, {103, 70}, {106, 70}, {106, 60}, {109, 60}, {109, 50}, {111, 50}}},
        {0, true,
         {{99, 80}, {99, 80}, {99, 80}, {102, 80}, {102, 70}, {105, 70}, {105, 60}, {108, 60}, {108, 50}, {110, 50},
          {112, 50}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Compute(c.PlotType, c.Octave), c.Expected) << c.PlotType << " " << c.Octave;
}

TEST(TracePointsTest, BarTraceGivesOneBarPerGroupStandingOnTheBottom)
{
    const std::vector<PlotPoint> points = Compute(1);
    ASSERT_EQ(BarCount(points.size()), 5);
    std::vector<PlotRect> bars;
    for (int i = 0; i < 5; ++i)
        bars.push_back(BarRect(points, i));
    // The first bar has no height; then one bar per bin, three columns wide,
    // the last ending at the pane's last column.
    EXPECT_EQ(bars, (std::vector<PlotRect>{{100, 90, 100, 90}, {100, 80, 103, 90}, {103, 70, 106, 90},
                                           {106, 60, 109, 90}, {109, 50, 111, 90}}));
}

TEST(TracePointsTest, ColumnsWiderThanABinShowTheLargestSkippedBin)
{
    // Two bins per column: column c shows bin 2c, and a peak in bin 3,
    // which no column shows, must appear in column 2 (bins 2 … 4).
    ColumnBinTable table;
    table.Build(0.0f, 11.0f, 12, 0, [](float f) { return static_cast<std::uint32_t>(f) * 2; });
    std::vector<PlotPoint> points;
    // Linear 0 … 400 over 40 rows: the floor on row 1, the peak on row 30.
    ASSERT_TRUE(ComputeTracePoints(table, kPane, {0, false}, AmplitudeMapping(0, 400.0f, 0.0f, false),
                                   BinValues([](int bin) { return bin == 3 ? 300.0f : 10.0f; }), 48, points));
    ASSERT_GE(points.size(), 6u);
    // Column 1 (bins 0 … 2) stays on the floor; column 2 is drawn with the
    // peak, a column left as every line point is.
    EXPECT_EQ(std::vector(points.begin() + 3, points.begin() + 6), (std::vector<PlotPoint>{{101, 89}, {102, 60}, {103, 89}}));
}

TEST(TracePointsTest, NothingIsComputedWithoutRoomOrTable)
{
    std::vector<PlotPoint> points = {{1, 2}};
    const std::vector<PlotPoint> before = points;
    // A table shorter than the pane.
    EXPECT_FALSE(ComputeTracePoints(GroupedColumns(11, 3), kPane, {0, false}, kLinear40, kRamp, 48, points));
    // A capacity below the pane's width.
    EXPECT_FALSE(ComputeTracePoints(GroupedColumns(12, 3), kPane, {0, false}, kLinear40, kRamp, 11, points));
    // A log axis without room.
    EXPECT_FALSE(ComputeTracePoints(GroupedColumns(12, 3), kPane, {0, false},
                                    AmplitudeMapping(2, 1e-7f, 1.0f, false), kRamp, 48, points));
    EXPECT_EQ(points, before);
}

} // namespace
