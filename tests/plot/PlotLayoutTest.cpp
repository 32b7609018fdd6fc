#include "plot/PlotLayout.h"
#include "plot/TPlotBase.h"

#include <gtest/gtest.h>

namespace {

TEST(PlotLayoutTest, DefaultMarginsAroundOnePane)
{
    PlotAreas areas;
    ASSERT_TRUE(ComputePlotLayout({0, 0, 400, 300}, PlotMargins{}, 1, 0, areas));
    EXPECT_EQ(areas.Plot, (PlotRect{20, 50, 380, 267}));
    EXPECT_EQ(areas.Pane1, areas.Plot);

    // The scroll bar's strip comes off the bottom.
    ASSERT_TRUE(ComputePlotLayout({0, 0, 400, 300}, PlotMargins{}, 1, 12, areas));
    EXPECT_EQ(areas.Plot, (PlotRect{20, 50, 380, 255}));
}

TEST(PlotLayoutTest, TwoPanesAreEquallyHighWithTheOddPixelInTheGap)
{
    PlotMargins margins;
    PlotAreas areas;
    // A plot rectangle 401 high.
    ASSERT_TRUE(ComputePlotLayout({0, 0, 400, 50 + 401 + 33}, margins, 2, 0, areas));
    EXPECT_EQ(areas.Pane1.Height(), 191);
    EXPECT_EQ(areas.Pane2.Height(), 191);
    EXPECT_EQ(areas.Pane2.top - areas.Pane1.bottom, 19);
    EXPECT_EQ(areas.Pane2.bottom, areas.Plot.bottom);
    // And 400 high.
    ASSERT_TRUE(ComputePlotLayout({0, 0, 400, 50 + 400 + 33}, margins, 2, 0, areas));
    EXPECT_EQ(areas.Pane1, (PlotRect{20, 50, 380, 240}));
    EXPECT_EQ(areas.Pane2, (PlotRect{20, 260, 380, 450}));
}

TEST(PlotLayoutTest, TooSmallAClientKeepsTheOldRectangles)
{
    PlotAreas areas;
    ASSERT_TRUE(ComputePlotLayout({0, 0, 400, 300}, PlotMargins{}, 2, 0, areas));
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
}

TEST(PlotLayoutTest, PaneCountTakesOnlyOneOrTwo)
{
    TPlotBase plot;
    plot.resize(400, 483);
    plot.ResetView();
    EXPECT_EQ(plot.PaneCount(), 2);
    const PlotAreas before = plot.Areas();
    for (const int count : {0, 3}) {
        plot.SetPaneCount(count);
        plot.ResetView();
        EXPECT_EQ(plot.PaneCount(), 2) << count;
        EXPECT_EQ(plot.Areas(), before) << count;
    }
    plot.SetPaneCount(1);
    plot.ResetView();
    EXPECT_EQ(plot.PaneCount(), 1);
    EXPECT_EQ(plot.GetPlotRectAt(1, 1), plot.Areas().Plot) << "one pane: the plot wherever the point lies";
}

} // namespace
