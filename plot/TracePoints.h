#pragma once
// The screen points of a spectrum trace. Each run of pixel columns that
// shows the same bin is one group; a group's value is the largest over the
// bins since the previous group, so no peak falls between two columns.
//   line (0):        one point per group, at the group's middle column;
//                    octave bands as steps, a horizontal run per band
//   bar (1):         a bar per group, from its first column to the next
//                    group's, standing on the pane's bottom
//   stepped bar (2): the outline of the same bars without their sides
//                    down to the bottom

#include "plot/AmplitudeMapping.h"
#include "plot/ColumnBinTable.h"
#include "plot/PlotPoint.h"
#include "plot/PlotRect.h"

#include <cstdint>
#include <vector>

// The values a trace shows: the spectrum or its peak hold.
class TraceValueSource {
public:
    virtual ~TraceValueSource() = default;
    // The value of bin last when first is −1 or last − 1; otherwise the
    // largest over first … last.
    virtual float MaxValue(int first, int last) const = 0;
};

struct TraceStyle {
    // 0 line, 1 bar, 2 stepped bar
    std::uint16_t PlotType = 0;
    // Fractional-octave bands rather than FFT lines.
    bool Octave = false;
};

namespace trace_points {

// Room for this many points per pixel column of the plot area.
inline constexpr int kPointsPerColumn = 4;

} // namespace trace_points

// Fills points (cleared first) for a pane from the column table. Returns
// false, leaving points as they were, when the table is shorter than the
// pane is wide, the capacity (points) is below the pane's width, or the
// mapping cannot place values. Never grows points beyond the capacity.
bool ComputeTracePoints(const ColumnBinTable& columns, const PlotRect& pane, const TraceStyle& style,
                        const AmplitudeMapping& mapping, const TraceValueSource& values, int capacity,
                        std::vector<PlotPoint>& points);

// Bars of a bar trace: points come as one base point and then three per
// bar (top left, top right, bottom right).
int BarCount(std::size_t pointCount);
PlotRect BarRect(const std::vector<PlotPoint>& points, int bar);
