#pragma once
// A small TPlotBase for the widget tests: a synthetic 1 kHz tone over a
// flat floor, cursor hooks on the same scales, and a record
// of what the base asks of it (printing, zooming, span updates).

#include "plot/TPlotBase.h"

#include <vector>

class DemoPlot : public TPlotBase {
public:
    static constexpr float kTopHz = 20000.0f;
    static constexpr float kTopDb = 0.0f;
    static constexpr float kRangeDb = 120.0f;

    explicit DemoPlot(int paneCount);

    // What the tests read back.
    struct PrintSeen {
        int LabelFontHeight = 0;
        bool Printing = false;
        PlotAreas Areas;
    };
    std::vector<PrintSeen> Printed;
    std::vector<PlotRect> Zoomed;
    int SpanUpdates = 0;

    float LevelAt(int pane, float hz) const;
    int ColumnOf(const PlotRect& pane, float hz) const;
    int RowOf(const PlotRect& pane, float db) const;

    using TPlotBase::OnHScroll;

    float GetXValueAt(int x, int y) override;
    float GetYValueAt(int x, int y) override;
    void SnapCursorPoint(PlotPoint& point) override;
    void ZoomToRect(const PlotRect& zoomRect) override;
    void UpdateSpan() override;
    void UpdateScrollRange() override;
    void Redraw(QPainter& dc, bool flag, const PlotRect& clip) override;
    void LayoutPlotAreas(QPainter& dc, PrintOpts options) override;

private:
    void DrawPane(QPainter& dc, const PlotRect& pane, int index);
    float HzPerPixel(const PlotRect& pane) const;
};
