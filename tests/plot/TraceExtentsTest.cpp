// A frame repaints only where the traces stood and stand. The strips and
// their rows are worked by hand; and frames painted that way leave the pane
// exactly as a plot drawn whole from the same spectrum shows it.

#include "plot/TQuarnPlot.h"
#include "plot/TraceExtents.h"
#include "tests/plot/QuarnPlotTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <random>
#include <vector>

using namespace quarn_test;

namespace {

TraceExtents Measured(const PlotRect& pane, const std::vector<PlotPoint>& points, int pad = 2)
{
    TraceExtents extents;
    extents.Start(pane);
    extents.Add(points, pad);
    return extents;
}

} // namespace

// Pane 100 × 64 at (10, 20): strips of 32 columns from x = 10 (the last 4
// wide), rows snapped out to 16-row steps from y = 20.
TEST(TraceExtents, StripsCoverEachSegmentsRowsSnappedAndTheUnionCoversBothFrames)
{
    const PlotRect pane{10, 20, 110, 84};
    // (15, 30)–(50, 40), pad 2: strips 0 and 1, rows 28…42 → 20…52.
    const TraceExtents a = Measured(pane, {{15, 30}, {50, 40}});
    // A lone point at (100, 80): x 98…102 through its pad, all in strip 2
    // (x 74…105); rows 78…83 (the pane's last) → 68…84.
    const TraceExtents b = Measured(pane, {{100, 80}});
    const std::vector<PlotRect> expected = {{10, 20, 74, 52}, {74, 68, 106, 84}};
    EXPECT_EQ(TraceExtents::Union(a, b), expected);

    // Nothing known before, or another pane: the whole pane.
    EXPECT_EQ(TraceExtents::Union(TraceExtents{}, b), std::vector<PlotRect>{pane});
    EXPECT_EQ(TraceExtents::Union(Measured({10, 20, 110, 90}, {{15, 30}}), b), std::vector<PlotRect>{pane});
    TraceExtents forgotten = a;
    forgotten.Forget();
    EXPECT_EQ(TraceExtents::Union(forgotten, b), std::vector<PlotRect>{pane});
    // No trace in either: nothing to repaint.
    EXPECT_TRUE(TraceExtents::Union(Measured(pane, {}), Measured(pane, {})).empty());
}

// Six frames of a moving tone over a changing floor on a dB plot: after
// each, the pane shows what a plot drawn whole from the same spectrum shows.
TEST(TraceExtents, FramesPaintedByTheirStripsShowWhatAWholeRedrawShows)
{
    for (std::uint8_t thick : {0, 1}) {
        SCOPED_TRACE(thick ? "two-pixel trace" : "one-pixel trace");
        TonePlot t(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -6.0f, -60.0f);
        t.records.Spectrum.StartFreq = 500.0f;
        t.records.Spectrum.StopFreq = 1500.0f;
        t.records.Spectrum.PlotTop = 0.0f;
        t.records.Spectrum.PlotRange = 100.0f;
        t.records.Spectrum.PeakHold = 0;
        t.records.Spectrum.DrawThickSpectrum = thick;
        for (auto& enable : t.records.Markers.MarkerEnable)
            enable = 0;
        TQuarnPlot& plot = t.Make(1200, 480);
        std::mt19937 random(3);
        // A floor that stirs within a few dB and a tone that moves along it.
        std::uniform_real_distribution<float> floor(-62.0f, -57.0f);
        const std::uint32_t first = t.data->GetBinIndex(500.0f), last = t.data->GetBinIndex(1500.0f);
        for (int frame = 0; frame < 6; ++frame) {
            for (std::uint32_t line = first; line <= last; ++line)
                SetLineLevel(*t.data, line, floor(random));
            SetLineLevel(*t.data, first + 40 + 90 * std::uint32_t(frame), -6.0f);
            plot.UpdateDisplay(100.0f + float(frame));
            const QImage shown = plot.grab().toImage();
            auto whole = MakePlot(t.records, t.data.get(), nullptr, 1200, 480);
            whole->UpdateDisplay(100.0f + float(frame));
            const QImage reference = whole->grab().toImage();
            const PlotRect pane = plot.PaneRect(0);
            const QRect area(pane.left, pane.top, pane.Width(), pane.Height());
            EXPECT_TRUE(shown.copy(area) == reference.copy(area)) << "frame " << frame;
            if (frame > 0) {
                EXPECT_LT(plot.LastFrameRegion(0).boundingRect().height(), area.height()) << "a frame of strips";
            }
        }
    }
}
