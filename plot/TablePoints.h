#pragma once
// Screen points of a curve given as a table of (frequency, value) points
// rather than as bins: the overlays, and the fractional-octave spectrum of a
// line or stepped-bar trace. Either each column shows the table's value over
// the frequencies that end at it (column points), or columns are grouped by
// the bin they show and drawn as steps (step points: octave bands of bar and
// stepped plots with a splined table).

#include "plot/AmplitudeMapping.h"
#include "plot/ColumnBinTable.h"
#include "plot/PlotPoint.h"
#include "plot/PlotRect.h"
#include "plot/TracePoints.h"

#include <functional>
#include <vector>

class TracePointTable {
public:
    virtual ~TracePointTable() = default;
    // The interpolated value at f; the end values beyond the table's ends.
    virtual float GetValueAt(float frequency) const = 0;
    // The largest value strictly between f1 and f2, or the value at f2 when
    // no point lies between.
    virtual float GetBandValue(float f1, float f2) const = 0;
    // Joined by straight lines rather than a spline.
    virtual bool IsStraightLine() const = 0;
};

// The data's frequency of a bin (band centre in octave scaling).
using BinFrequencyFn = std::function<float(int bin)>;

// Dispatches to step points for splined octave tables of bar and stepped
// plots, else column points. Returns false, leaving points alone, when the
// column table is shorter than the pane, the capacity is below the pane's
// width or the mapping cannot place values.
bool ComputeTablePoints(const TracePointTable& table, const ColumnBinTable& columns, const PlotRect& pane,
                        const TraceStyle& style, const AmplitudeMapping& mapping, const BinFrequencyFn& binFrequency,
                        int capacity, std::vector<PlotPoint>& points);

bool ComputeTableColumnPoints(const TracePointTable& table, const ColumnBinTable& columns, const PlotRect& pane,
                              bool octave, const AmplitudeMapping& mapping, int capacity,
                              std::vector<PlotPoint>& points);

bool ComputeTableStepPoints(const TracePointTable& table, const ColumnBinTable& columns, const PlotRect& pane,
                            bool octave, const AmplitudeMapping& mapping, const BinFrequencyFn& binFrequency,
                            int capacity, std::vector<PlotPoint>& points);
