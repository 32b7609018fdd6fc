#include "plot/TracePoints.h"

bool ComputeTracePoints(const ColumnBinTable& columns, const PlotRect& pane, const TraceStyle& style,
                        const AmplitudeMapping& mapping, const TraceValueSource& values, int capacity,
                        std::vector<PlotPoint>& points)
{
    const int w = pane.Width();
    const int h = pane.Height();
    if (w <= 0 || columns.Empty() || columns.Count() < w || capacity < w || !mapping.IsValid())
        return false;

    points.clear();
    const auto emit = [&points](int x, int y) { points.push_back({x, y}); };
    const int left = pane.left;
    const int bottom = pane.bottom;
    int prevBin = -1;
    int prevY = 0;
    int run = 0;

    for (int c = 0; c < w; ++c) {
        const int b = columns[c].Bin;
        const bool lastColumn = c == w - 1;
        if (b == prevBin && !lastColumn) {
            ++run;
            continue;
        }
        const int y = mapping.Row(values.MaxValue(prevBin, b), h);
        const int n = static_cast<int>(points.size());

        switch (style.PlotType) {
        case 0: {
            // At most three points per group.
            if (n > capacity - 3)
                break;
            const int x = left + c - 1;
            if (c == 0) {
                emit(x, bottom - y);
                prevY = y;
            }
            if (!style.Octave) {
                emit(x - run / 2, bottom - prevY);
            } else {
                emit(x, bottom - prevY);
                if (lastColumn)
                    emit(pane.right, bottom - prevY);
                else
                    emit(x, bottom - y);
            }
            break;
        }
        case 1: {
            const int x = left + c;
            if (c == 0)
                emit(x - run, bottom);
            if (static_cast<int>(points.size()) < capacity - 4) {
                emit(x - run, bottom - prevY);
                emit(x, bottom - prevY);
                emit(x, bottom);
            }
            break;
        }
        case 2: {
            const int x = left + c;
            if (c == 0)
                emit(x - run, bottom - y);
            if (c >= 1 && n < capacity - 3) {
                emit(x - run, bottom - prevY);
                emit(x, bottom - prevY);
            }
            break;
        }
        default:
            break;
        }
        prevY = y;
        prevBin = b;
        run = 1;
    }
    return true;
}

int BarCount(std::size_t pointCount)
{
    return static_cast<int>(pointCount / 3);
}

PlotRect BarRect(const std::vector<PlotPoint>& points, int bar)
{
    const PlotPoint& topLeft = points[static_cast<std::size_t>(3 * bar + 1)];
    const PlotPoint& bottomRight = points[static_cast<std::size_t>(3 * bar + 3)];
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}
