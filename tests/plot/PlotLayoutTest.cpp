// Plot geometry: the base layout of one or two panes, the spectrum plot's
// margins and printed page.
#include "plot/TPlotBase.h"

#include "plot/PlotLayout.h"
#include "plot/QuarnPlotLayout.h"
#include "settings/PrintOpts.h"
#include "settings/SpectrumOpts.h"

#include <gtest/gtest.h>

namespace {

TEST(PlotLayoutTest, MarginsPanesWithTheOddPixelInTheGapAndTooSmallClients)
{
    PlotAreas areas;
    // The scroll bar's strip comes off the bottom of the default margins.
    ASSERT_TRUE(ComputePlotLayout({0, 0, 400, 300}, PlotMargins{}, 1, 12, areas));
    EXPECT_EQ(areas, (PlotAreas{{20, 50, 380, 255}, {20, 50, 380, 255}, {}}));
    // A plot 401 high: two panes of 191, the odd pixel in the gap.
    ASSERT_TRUE(ComputePlotLayout({0, 0, 400, 50 + 401 + 33}, PlotMargins{}, 2, 0, areas));
    EXPECT_EQ(areas, (PlotAreas{{20, 50, 380, 451}, {20, 50, 380, 241}, {20, 260, 380, 451}}));

    const PlotAreas before = areas;
    EXPECT_FALSE(ComputePlotLayout({0, 0, 40, 300}, PlotMargins{}, 2, 0, areas));
    EXPECT_FALSE(ComputePlotLayout({0, 0, 400, 83}, PlotMargins{}, 2, 0, areas));
    // Room for the margins but not for the scroll bar as well.
    EXPECT_FALSE(ComputePlotLayout({0, 0, 400, 90}, PlotMargins{}, 2, 12, areas));
    EXPECT_EQ(areas, before);
    // A plot lower than the gap gives flat panes, never upside-down ones.
    ASSERT_TRUE(ComputePlotLayout({0, 0, 400, 90}, PlotMargins{}, 2, 0, areas));
    EXPECT_EQ(areas.Pane1.Height(), 0);
    EXPECT_EQ(areas.Pane2.Height(), 0);

    // A pane count of 0 or 3 is refused; one pane is the plot wherever the point lies.
    TPlotBase plot;
    plot.resize(400, 483);
    for (const int count : {0, 3, 1}) {
        plot.SetPaneCount(count);
        plot.ResetView();
        EXPECT_EQ(plot.PaneCount(), count == 1 ? 1 : 2) << count;
    }
    EXPECT_EQ(plot.GetPlotRectAt(1, 1), plot.Areas().Plot);
}

// The spectrum plot's full margins (62, 50, 170, 33) are checked on a live plot.
TEST(QuarnPlotLayoutTest, RightMarginAndThePrintedPage)
{
    SpectrumOpts options;
    options.ShowOverlayControls = 1;
    options.ShowPowerMeter = 0;
    options.OverlayLegendSize = 8;
    EXPECT_EQ(QuarnRightMargin(options), 104);
    options.ShowOverlayControls = 0;
    EXPECT_EQ(QuarnRightMargin(options), 40);
    options.ShowToolbar = 0;
    EXPECT_EQ(QuarnScreenMargins(options).ToolStripHeight, 0);

    // A letter page at 600 dpi with one-inch margins; two panes a fifth of
    // an inch apart.
    PrintOpts print;
    const PlotAreas one = PrintedPlotAreas(5100, 6600, 600, 600, print, 1);
    EXPECT_EQ(one.Plot, (PlotRect{600 + 450, 600 + 720, 5100 - 600 - 900, 6600 - 600 - 300}));
    const PlotAreas two = PrintedPlotAreas(5100, 6600, 600, 600, print, 2);
    EXPECT_EQ(two.Pane1, (PlotRect{1050, 1320, 3600, 1320 + 2130}));
    EXPECT_EQ(two.Pane2, (PlotRect{1050, 1320 + 2130 + 120, 3600, 5700}));
    // Fractions of an inch are truncated.
    print.MarginLeft = 0.5f;
    print.MarginTop = 0.25f;
    const PlotAreas half = PrintedPlotAreas(850, 1100, 100, 100, print, 1);
    EXPECT_EQ(half.Plot.left, 50 + 75);
    EXPECT_EQ(half.Plot.top, 25 + 120);
}

} // namespace
