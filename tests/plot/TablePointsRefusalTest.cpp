// A table trace that cannot be laid out on the pane is refused, on both the
// column and the step roads, so the plot drops the previous frame's points
// rather than drawing them again.

#include "plot/AmplitudeMapping.h"
#include "plot/TablePoints.h"
#include "plot/TracePoints.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// value = frequency / 10 everywhere.
class SlopeTable : public TracePointTable {
public:
    float GetValueAt(float f) const override { return f / 10.0f; }
    float GetBandValue(float, float f2) const override { return f2 / 10.0f; }
    bool IsStraightLine() const override { return false; }
};

ColumnBinTable TenColumns()
{
    ColumnBinTable columns;
    columns.Build(0.0f, 90.0f, 10, 0, [](float f) { return static_cast<std::uint32_t>(f / 20.0f); });
    return columns;
}

} // namespace

TEST(TablePointsRefusal, AnUnusablePaneColumnTableCapacityOrScaleIsRefusedOnEveryRoad)
{
    const ColumnBinTable ten = TenColumns();
    const ColumnBinTable none;
    const AmplitudeMapping linear(0, 10.0f, 0.0f, false);
    const AmplitudeMapping badLog(2, 1e-7f, 1.0f, false); // top below bottom on a log scale
    const BinFrequencyFn binFrequency = [](int bin) { return 20.0f * bin; };
    const struct {
        const char* what;
        const ColumnBinTable& columns;
        PlotRect pane;
        const AmplitudeMapping& mapping;
        int capacity;
        bool computes;
    } cases[] = {
        {"usable", ten, {10, 0, 20, 100}, linear, 40, true},
        {"no width", ten, {10, 0, 10, 100}, linear, 40, false},
        {"negative width", ten, {20, 0, 10, 100}, linear, 40, false},
        {"no columns", none, {10, 0, 20, 100}, linear, 40, false},
        {"fewer columns than the pane is wide", ten, {10, 0, 21, 100}, linear, 40, false},
        {"room for fewer points than columns", ten, {10, 0, 20, 100}, linear, 9, false},
        {"unusable scale", ten, {10, 0, 20, 100}, badLog, 40, false},
    };
    const TraceStyle styles[] = {{0, true}, {0, false}, {1, false}, {2, true}};
    for (const auto& c : cases) {
        for (const TraceStyle& style : styles) {
            SCOPED_TRACE(testing::Message() << c.what << ", plot type " << style.PlotType << ", octave "
                                            << style.Octave);
            std::vector<PlotPoint> points(3, PlotPoint{-7, -7});
            EXPECT_EQ(ComputeTablePoints(SlopeTable(), c.columns, c.pane, style, c.mapping, binFrequency, c.capacity,
                                         points),
                      c.computes);
            if (c.computes) {
                EXPECT_NE(points.front(), (PlotPoint{-7, -7}));
            }
        }
        SCOPED_TRACE(c.what);
        std::vector<PlotPoint> points;
        EXPECT_EQ(ComputeTableColumnPoints(SlopeTable(), c.columns, c.pane, true, c.mapping, c.capacity, points),
                  c.computes);
        EXPECT_EQ(ComputeTableStepPoints(SlopeTable(), c.columns, c.pane, true, c.mapping, binFrequency, c.capacity,
                                         points),
                  c.computes);
    }
}
