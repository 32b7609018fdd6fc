// Small plain pieces of the spectrum plot: amplitude rows, the display
// interval, marker texts and shapes, the power meter, table points.
// Trace points from the column table: grouping of columns by bin, the
// largest value over skipped bins, and the three plot types.
#include "plot/AmplitudeMapping.h"
#include "plot/DisplayInterval.h"
#include "plot/MarkerLabel.h"
#include "plot/PowerMeter.h"
#include "plot/TablePoints.h"
#include "plot/TracePoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// Rows inside the range are checked on a live plot; these are the ends.
TEST(AmplitudeMappingTest, RowsAtTheEndsOfEachScale)
{
    // dB, top 0, range 100, 200 rows: above the top on the top row, below
    // the bottom on row 1.
    const AmplitudeMapping dB(1, 0.0f, 100.0f, false);
    EXPECT_EQ(dB.Row(10.0f, 200), 200);
    EXPECT_EQ(dB.Row(-150.0f, 200), 1);
    // A linear top of 0 reads as 1.
    EXPECT_EQ(AmplitudeMapping(0, 0.0f, 0.0f, false).Row(0.5f, 100), 50);

    // Log, top 1 with a bottom of 1 (not below the top): six decades.
    const AmplitudeMapping log(2, 1.0f, 1.0f, false);
    ASSERT_TRUE(log.IsValid());
    EXPECT_EQ(std::vector({log.Row(1e-3f, 60), log.Row(0.0f, 60), log.Row(-1.0f, 60)}), std::vector({30, 1, 1}));
    EXPECT_NEAR(log.ValueAt(30, 60), 1e-3f, 1e-7f);
    // A top below 1e-6 leaves no room: nothing can be placed.
    EXPECT_FALSE(AmplitudeMapping(2, 1e-7f, 1.0f, false).IsValid());
}

// The value a row stands for, on each scale: what the cursor reads off the
// row under the mouse. Hand-worked: a quarter, a half or three quarters of
// the way up the pane.
TEST(AmplitudeMappingTest, ValueAtARowOnEachScale)
{
    struct Case {
        const char* what;
        AmplitudeMapping mapping;
        int row;
        int height;
        double expected;
    };
    const Case cases[] = {
        {"linear 0 … 60, a quarter up", AmplitudeMapping(0, 60.0f, 0.0f, false), 100, 400, 15.0},
        {"linear top 0 reads as 1", AmplitudeMapping(0, 0.0f, 0.0f, false), 200, 400, 0.5},
        {"dB 0 … -100, a quarter up", AmplitudeMapping(1, 0.0f, 100.0f, false), 100, 400, -75.0},
        {"dB 10 … -30, half-way", AmplitudeMapping(1, 10.0f, 40.0f, false), 200, 400, -10.0},
        {"log 1e-4 … 1, three quarters up", AmplitudeMapping(2, 1.0f, 1e-4f, false), 300, 400, 0.1},
        {"coherence 0 … 1.2, a quarter up", AmplitudeMapping(1, 0.0f, 100.0f, true), 100, 400, 0.3},
        {"coherence at the top", AmplitudeMapping(0, 60.0f, 0.0f, true), 250, 250, 1.2},
        {"a log axis without room", AmplitudeMapping(2, 1e-7f, 1.0f, false), 100, 400, 0.0},
        {"a pane without rows", AmplitudeMapping(1, 0.0f, 100.0f, false), 100, 0, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.mapping.ValueAt(c.row, c.height), c.expected, 1e-5 * std::max(1.0, std::fabs(c.expected)))
            << c.what;
    // And back: a coherence of 0.3 on row 100 of 400, 0.6 on row 200.
    const AmplitudeMapping coherence(0, 60.0f, 0.0f, true);
    EXPECT_EQ(std::vector({coherence.Row(0.3f, 400), coherence.Row(0.6f, 400), coherence.Row(2.0f, 400)}),
              std::vector({100, 200, 400}));
}

// A log axis's rows looked up in a table: the known rows of whole decades,
// and for every float tried the row the logarithm gives, at each row's
// first value, one float below it, and between.
TEST(AmplitudeMappingTest, RowTableGivesTheLogarithmsRowForEveryFloat)
{
    struct Axis {
        float top;
        float bottom;
        int height;
    };
    const std::vector<Axis> axes = {{1.0f, 1e-4f, 400}, {10.0f, 1e-6f, 233}, {2.5e-3f, 1e-9f, 1}, {1e3f, 7.0f, 1200}};
    for (const Axis& axis : axes) {
        SCOPED_TRACE(axis.height);
        AmplitudeMapping mapping(2, axis.top, axis.bottom, false);
        const AmplitudeMapping formula = mapping;
        LogRowTable table;
        ASSERT_TRUE(table.Prepare(mapping, axis.height));
        mapping.UseRowTable(&table);
        std::vector<float> values = {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                                     std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(),
                                     std::numeric_limits<float>::denorm_min(), axis.top, axis.bottom};
        for (int row = 1; row <= axis.height; ++row) {
            const float first = formula.ValueAt(row, axis.height);
            for (float v = first, n = 0; n < 3; v = std::nextafter(v, 0.0f), ++n)
                values.push_back(v);
            values.push_back(std::nextafter(first, 1e30f));
        }
        std::mt19937 random(9);
        std::uniform_real_distribution<float> decades(-12.0f, 6.0f);
        for (int i = 0; i < 5000; ++i)
            values.push_back(std::pow(10.0f, decades(random)));
        for (float v : values)
            ASSERT_EQ(mapping.Row(v, axis.height), formula.Row(v, axis.height)) << "value " << v;
        // Another height is worked out, not looked up.
        EXPECT_EQ(mapping.Row(axis.top, axis.height + 7), axis.height + 7);
    }

    // Four decades over 400 rows: 100 rows a decade.
    AmplitudeMapping mapping(2, 1.0f, 1e-4f, false);
    LogRowTable table;
    ASSERT_TRUE(table.Prepare(mapping, 400));
    mapping.UseRowTable(&table);
    EXPECT_EQ(std::vector({mapping.Row(1e-3f, 400), mapping.Row(1.01e-2f, 400), mapping.Row(1.0f, 400),
                           mapping.Row(1e-5f, 400)}),
              std::vector({100, 200, 400, 1}));
    // Only a valid log axis has a table.
    EXPECT_FALSE(table.Prepare(AmplitudeMapping(1, 0.0f, 100.0f, false), 400));
    EXPECT_FALSE(table.Prepare(AmplitudeMapping(2, 1.0f, 1e-4f, true), 400));
}

TEST(DisplayIntervalTest, FramesInsideTheIntervalAreSkipped)
{
    // Half a second between drawn frames, the last drawn at 0 at first. A
    // time before the last one is skipped and starts the interval afresh
    // (0.5 then draws); time 0 always draws and leaves the last time alone.
    float last = 0.0f;
    std::vector<bool> admitted;
    for (const float t : {0.3f, 0.7f, 1.1f, 0.2f, 0.4f, 0.5f, 0.0f})
        admitted.push_back(AdmitDisplayFrame(last, t, true, 0.5f));
    EXPECT_EQ(admitted, (std::vector<bool>{false, true, false, false, false, true, true}));
    EXPECT_FLOAT_EQ(last, 0.5f);
}

TEST(MarkerLabelTest, TextsByLabelTypeAndTheShapeAndBoxAboveTheTip)
{
    EXPECT_EQ(MarkerLabelText(1, 1000.0f, -6.02f, true, ""), "1000.00 Hz");
    EXPECT_EQ(MarkerLabelText(2, 1000.0f, -6.02f, true, ""), "-6.02 dB");
    EXPECT_EQ(MarkerLabelText(3, 997.5f, 12.345f, false, ""), "997.50 Hz/12.35");
    EXPECT_EQ(MarkerLabelText(4, 0.0f, 0.0f, true, std::string_view("Hum\0junk", 8)), "Hum");
    // Nothing to say still draws a blank label with its box.
    EXPECT_EQ(MarkerLabelText(7, 1.0f, 1.0f, true, "x"), " ");
    const auto triangle = MarkerTriangle({50, 100});
    EXPECT_EQ(std::vector(triangle.begin(), triangle.end()),
              (std::vector<PlotPoint>{{50, 100}, {47, 92}, {53, 92}, {50, 100}}));
    // A 15 px font and a label 40 px wide and 17 high: top 19 + 15 above
    // the tip, centred, 2 px wider each side, bottom raised by one.
    EXPECT_EQ(MarkerLabelOrigin({50, 100}, 15, 40), (PlotPoint{30, 66}));
    EXPECT_EQ(MarkerLabelBox({50, 100}, 15, 40, 17), (PlotRect{28, 66, 72, 82}));
}

// A label 100 px wide and 17 high over a 15 px font stays whole inside its
// 400 x 300 pane: nothing of "1000.00 Hz" may be cut to read "000.00 Hz".
TEST(MarkerLabelTest, TheLabelBoxStaysWholeInsideThePaneAtEveryEdge)
{
    const PlotRect pane{0, 0, 400, 300};
    struct Row {
        const char* what;
        PlotPoint tip;
        PlotRect expected;
    };
    const Row rows[] = {
        {"in the middle: centred, 34 rows up", {200, 150}, {148, 116, 252, 132}},
        {"at the left edge: slid right", {10, 150}, {0, 116, 104, 132}},
        {"at the right edge: slid left", {395, 150}, {295, 116, 399, 132}},
        {"near the top: against it, the triangle clear", {200, 30}, {148, 0, 252, 16}},
        {"at the top: below the tip", {200, 10}, {148, 12, 252, 28}},
        {"off the columns: clipped away as before", {-1000, 150}, {-1052, 116, -948, 132}},
        // 8 + 1 + 16 rows above the tip just hold the box over the triangle.
        {"25 rows down: against the top", {200, 25}, {148, 0, 252, 16}},
        {"24 rows down: below the tip", {200, 24}, {148, 26, 252, 42}},
        {"on the first column: slid right", {0, 150}, {0, 116, 104, 132}},
        {"one column left of the pane: as it is", {-1, 150}, {-53, 116, 51, 132}},
        {"on the last column: slid left", {399, 150}, {295, 116, 399, 132}},
        {"one column right of the pane: as it is", {400, 150}, {348, 116, 452, 132}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(MarkerLabelBoxInPane(row.tip, 15, 100, 17, pane), row.expected);
    }
    // Below the tip in a pane 30 rows high: raised to end on its last row.
    EXPECT_EQ(MarkerLabelBoxInPane({200, 20}, 15, 100, 17, {0, 0, 400, 30}), (PlotRect{148, 13, 252, 29}));
    // Wider than its pane: it starts at the left edge.
    EXPECT_EQ(MarkerLabelBoxInPane({40, 150}, 15, 100, 17, {0, 0, 80, 300}), (PlotRect{0, 116, 104, 132}));
}

TEST(PowerMeterTest, HeightsOnEachScaleAndTheHoldStandsThenFallsAsThePeakHoldChoiceSays)
{
    EXPECT_EQ(std::vector({PowerMeterHeight(50.0f, 0, 100.0f, 0.0f, 200), PowerMeterHeight(500.0f, 0, 100.0f, 0.0f, 200),
                           PowerMeterHeight(0.0f, 0, 100.0f, 0.0f, 200), PowerMeterHeight(-40.0f, 1, 0.0f, 80.0f, 200),
                           PowerMeterHeight(1e-3f, 2, 1e-7f, 1.0f, 200)}),
              (std::vector<std::optional<int>>{100, 198, 1, 100, std::nullopt}));
    // Log axes whose bottom is unusable (0, or at the top) reach down to
    // 1e-6: 1e-3 half-way up 60 dB. A top of 0 reads 10: 1e-3 over 1e-4 is
    // 10 of the 50 dB.
    EXPECT_EQ(std::vector({PowerMeterHeight(1e-3f, 2, 1.0f, 0.0f, 200), PowerMeterHeight(1e-3f, 2, 1.0f, 1.0f, 200),
                           PowerMeterHeight(1e-3f, 2, 0.0f, 1e-4f, 200)}),
              (std::vector<std::optional<int>>{100, 100, 40}));
    // A pane of 3 rows still has its one row of bar; 2 rows have none.
    EXPECT_EQ(std::vector({PowerMeterHeight(50.0f, 0, 100.0f, 0.0f, 3), PowerMeterHeight(50.0f, 0, 100.0f, 0.0f, 2)}),
              (std::vector<std::optional<int>>{1, std::nullopt}));
    // The bar beside a pane, and further out on paper (600 dpi).
    EXPECT_EQ(PowerMeterBar({0, 0, 500, 300}, false, 0), (PlotRect{510, 0, 530, 300}));
    EXPECT_EQ(PowerMeterBar({0, 0, 500, 300}, true, 600), (PlotRect{585, 0, 680, 300}));

    // The hold bar holds the meter's own power as the Peak Hold choice holds
    // the trace: Medium stands 5 s, then falls 0.5 dB per update down to the
    // live power; Fast stands 1 s and falls 1 dB; Off follows the live power.
    PowerMeterHold medium;
    EXPECT_FLOAT_EQ(medium.Update(34.0f, 1, 2, 0.0), 34.0f); // a start-up transient
    EXPECT_FLOAT_EQ(medium.Update(0.0f, 1, 2, 4.9), 34.0f);
    EXPECT_FLOAT_EQ(medium.Update(0.0f, 1, 2, 5.0), 34.0f) << "still standing at 5 s";
    EXPECT_FLOAT_EQ(medium.Update(0.0f, 1, 2, 5.1), 33.5f);
    for (int i = 0; i < 100; ++i)
        medium.Update(0.0f, 1, 2, 6.0);
    EXPECT_FLOAT_EQ(medium.Update(0.0f, 1, 2, 6.0), 0.0f) << "down to the live power, not below";
    EXPECT_FLOAT_EQ(medium.Update(10.0f, 1, 2, 6.1), 10.0f) << "a new peak takes over at once";

    PowerMeterHold fast;
    fast.Update(20.0f, 1, 1, 0.0);
    EXPECT_FLOAT_EQ(fast.Update(0.0f, 1, 1, 1.5), 19.0f);
    PowerMeterHold off;
    off.Update(20.0f, 1, 0, 0.0);
    EXPECT_FLOAT_EQ(off.Update(3.0f, 1, 0, 0.1), 3.0f);
    // A linear amplitude falls by the decay in dB: 0.5 dB of 1.0 is 0.944.
    PowerMeterHold linear;
    linear.Update(1.0f, 0, 2, 0.0);
    EXPECT_NEAR(linear.Update(0.1f, 0, 2, 5.5), 0.94406f, 1e-4);
    linear.Reset();
    EXPECT_FLOAT_EQ(linear.Update(0.1f, 0, 2, 5.6), 0.1f) << "a reset forgets the peak";
}

// A table of straight segments: value = frequency / 10.
class LineTable : public TracePointTable {
public:
    float GetValueAt(float f) const override { return f / 10.0f; }
    float GetBandValue(float, float f2) const override { return f2 / 10.0f + 1.0f; }
    bool IsStraightLine() const override { return false; }
};

TEST(TablePointsTest, ColumnAndStepPoints)
{
    // Ten columns of 10 Hz from 0: octave column points read the table at
    // each column, narrowband ones the band ending there.
    ColumnBinTable columns;
    columns.Build(0.0f, 90.0f, 10, 0, [](float f) { return static_cast<std::uint32_t>(f / 20.0f); });
    const PlotRect pane{10, 0, 20, 100};
    const AmplitudeMapping linear(0, 10.0f, 0.0f, false);
    const BinFrequencyFn binFrequency = [](int bin) { return 20.0f * bin; };
    std::vector<PlotPoint> points;
    ASSERT_TRUE(ComputeTableColumnPoints(LineTable(), columns, pane, true, linear, 40, points));
    ASSERT_EQ(points.size(), 11u);
    // Column 3 (30 Hz, value 3 of 10) is drawn with column 4, a column left.
    EXPECT_EQ(points[5], (PlotPoint{13, 70}));
    ASSERT_TRUE(ComputeTableColumnPoints(LineTable(), columns, pane, false, linear, 40, points));
    EXPECT_EQ(points[5], (PlotPoint{13, 60}));

    // Octave bar and stepped plots step at each bin: two points per bin.
    ASSERT_TRUE(ComputeTablePoints(LineTable(), columns, pane, {2, true}, linear, binFrequency, 40, points));
    // Bins 0,0,1,1,2,2,3,3,4,4: steps at columns 0, 2, 4, 6, 8 and the last.
    ASSERT_EQ(points.size(), 13u);
    // Bin 1 (20 Hz, value 2) rises from bin 0's row 1 at column 2.
    EXPECT_EQ(points[3], (PlotPoint{11, 100 - 1}));
    EXPECT_EQ(points[4], (PlotPoint{11, 100 - 20}));
}

// Bin b holds 10·(b + 1): the largest of a range of bins is its last.
class Ramp : public TraceValueSource {
public:
    float MaxValue(int, int last) const override { return 10.0f * (last + 1); }
};
const Ramp kRamp;

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

    // A bin a column: the stepped trace steps at every column from the
    // second on.
    const std::vector<PlotPoint> stepped = Compute(2, false, 1);
    ASSERT_GE(stepped.size(), 7u);
    EXPECT_EQ(std::vector(stepped.begin(), stepped.begin() + 7),
              (std::vector<PlotPoint>{{100, 80}, {100, 80}, {101, 80}, {101, 70}, {102, 70}, {102, 60}, {103, 60}}));
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
