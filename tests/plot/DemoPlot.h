#pragma once
// A small TPlotBase for the widget tests: a cursor pulled to a fixed row, and a record of what the base asks of it
// (printing).

#include "plot/TPlotBase.h"

#include <vector>

class DemoPlot : public TPlotBase {
public:
    // Where a pulled cursor lands, below the top of its pane.
    static constexpr int kPulledRow = 37;

    explicit DemoPlot(int paneCount);

    // What the tests read back.
    struct PrintSeen {
        int LabelFontHeight = 0;
        PlotAreas Areas;
        // Counts every demo plot's prints, so that pages can be put in order.
        int Sequence = 0;
    };
    std::vector<PrintSeen> Printed;

    using TPlotBase::OnHScroll;

    void SnapCursorPoint(PlotPoint& point) override;
    void UpdateSpan() override;
    void UpdateScrollRange() override;
    void Redraw(QPainter& dc, bool flag, const PlotRect& clip) override;
    void LayoutPlotAreas(QPainter& dc, PrintOpts options) override;
};
