// The spectrum plot's margins, printed-page layout and tool-strip fields.
#include "plot/QuarnPlotLayout.h"

#include "settings/PrintOpts.h"
#include "settings/SpectrumOpts.h"

#include <gtest/gtest.h>

namespace {

// The full margins (62, 50, 170, 33) are checked on a live plot.
TEST(QuarnPlotLayoutTest, RightMarginShrinksWithoutMeterOrOverlays)
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
}

TEST(QuarnPlotLayoutTest, PrintedPageLeavesRoomForLabelsAndSplitsPanes)
{
    // A letter page at 600 dpi with one-inch margins.
    PrintOpts options;
    const PlotAreas one = PrintedPlotAreas(5100, 6600, 600, 600, options, 1);
    EXPECT_EQ(one.Plot, (PlotRect{600 + 450, 600 + 720, 5100 - 600 - 900, 6600 - 600 - 300}));
    EXPECT_EQ(one.Pane1, one.Plot);

    // Two panes of equal height, a fifth of an inch (2 × 60 px) apart.
    const PlotAreas two = PrintedPlotAreas(5100, 6600, 600, 600, options, 2);
    EXPECT_EQ(two.Pane1.Height(), two.Pane2.Height());
    EXPECT_EQ(two.Pane1.Height(), 4380 - (2190 + 60));
    EXPECT_EQ(two.Pane2.top - two.Pane1.bottom, 120);
    EXPECT_EQ(two.Pane2.bottom, two.Plot.bottom);

    // Fractions of an inch are truncated.
    options.MarginLeft = 0.5f;
    options.MarginTop = 0.25f;
    const PlotAreas half = PrintedPlotAreas(850, 1100, 100, 100, options, 1);
    EXPECT_EQ(half.Plot.left, 50 + 75);
    EXPECT_EQ(half.Plot.top, 25 + 120);
}

} // namespace
