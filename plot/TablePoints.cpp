#include "plot/TablePoints.h"

namespace {

bool CanCompute(const ColumnBinTable& columns, const PlotRect& pane, const AmplitudeMapping& mapping, int capacity)
{
    const int w = pane.Width();
    return w > 0 && !columns.Empty() && columns.Count() >= w && capacity >= w && mapping.IsValid();
}

} // namespace

bool ComputeTablePoints(const TracePointTable& table, const ColumnBinTable& columns, const PlotRect& pane,
                        const TraceStyle& style, const AmplitudeMapping& mapping, const BinFrequencyFn& binFrequency,
                        int capacity, std::vector<PlotPoint>& points)
{
    const bool steps = style.Octave && !table.IsStraightLine() && (style.PlotType == 1 || style.PlotType == 2);
    if (steps)
        return ComputeTableStepPoints(table, columns, pane, style.Octave, mapping, binFrequency, capacity, points);
    return ComputeTableColumnPoints(table, columns, pane, style.Octave, mapping, capacity, points);
}

bool ComputeTableColumnPoints(const TracePointTable& table, const ColumnBinTable& columns, const PlotRect& pane,
                              bool octave, const AmplitudeMapping& mapping, int capacity,
                              std::vector<PlotPoint>& points)
{
    if (!CanCompute(columns, pane, mapping, capacity))
        return false;
    points.clear();
    const int w = pane.Width();
    const int h = pane.Height();
    float prevF = 0.0f;
    int prevY = 0;
    for (int c = 0; c < w && static_cast<int>(points.size()) < capacity - 1; ++c) {
        const float f = columns[c].Frequency;
        const float value = octave ? table.GetValueAt(f) : table.GetBandValue(prevF, f);
        const int y = mapping.Row(value, h);
        const int x = pane.left + c - 1;
        if (c == 0) {
            points.push_back({x, pane.bottom - y});
            prevY = y;
        }
        points.push_back({x, pane.bottom - prevY});
        prevY = y;
        prevF = f;
    }
    return true;
}

bool ComputeTableStepPoints(const TracePointTable& table, const ColumnBinTable& columns, const PlotRect& pane,
                            bool octave, const AmplitudeMapping& mapping, const BinFrequencyFn& binFrequency,
                            int capacity, std::vector<PlotPoint>& points)
{
    if (!CanCompute(columns, pane, mapping, capacity) || !binFrequency)
        return false;
    points.clear();
    const int w = pane.Width();
    const int h = pane.Height();
    int prevBin = -1;
    int prevY = 0;
    int run = 0;
    for (int c = 0; c < w; ++c) {
        const int b = columns[c].Bin;
        if (b == prevBin && c != w - 1) {
            ++run;
            continue;
        }
        if (static_cast<int>(points.size()) > capacity - 3)
            break;
        const float f2 = binFrequency(b);
        float value = 0.0f;
        if (octave || prevBin == -1 || b == prevBin + 1)
            value = table.GetValueAt(f2);
        else
            value = table.GetBandValue(binFrequency(prevBin), f2);
        const int y = mapping.Row(value, h);
        const int x = pane.left + c - 1;
        if (c == 0) {
            points.push_back({x, pane.bottom - y});
            prevY = y;
        }
        if (octave) {
            points.push_back({x, pane.bottom - prevY});
            points.push_back({x, pane.bottom - y});
        } else {
            points.push_back({x - run / 2, pane.bottom - prevY});
        }
        prevY = y;
        prevBin = b;
        run = 1;
    }
    return true;
}
