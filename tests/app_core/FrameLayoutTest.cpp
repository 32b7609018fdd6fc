// The frame's layout of its bars and plots.

#include "app/core/FrameLayout.h"
#include "app/core/UtilityRect.h"

#include <gtest/gtest.h>

namespace {

FrameLayoutInput Frame(int w, int h)
{
    FrameLayoutInput in;
    in.clientWidth = w;
    in.clientHeight = h;
    return in;
}

} // namespace

TEST(FrameLayout, TheShownBarsFrameThePlotArea)
{
    FrameLayoutInput in = Frame(1000, 700);
    in.plot1Exists = true;
    const FrameLayout l = FrameLayout::Compute(in);
    EXPECT_EQ(l.sidebar, (LayoutRect{0, 0, 90, 674}));
    EXPECT_EQ(l.statusbar, (LayoutRect{0, 674, 1000, 26}));
    EXPECT_EQ(l.toolbar.height, 0);
    EXPECT_EQ(l.plot1, (LayoutRect{90, 0, 910, 674}));
    EXPECT_EQ(l.plot2, LayoutRect{});

    in.toolbarShown = true;
    const FrameLayout withTools = FrameLayout::Compute(in);
    EXPECT_EQ(withTools.toolbar, (LayoutRect{0, 0, 1000, 32}));
    EXPECT_EQ(withTools.plot1, (LayoutRect{90, 32, 910, 642}));
}

TEST(FrameLayout, WithAllBarsHiddenThePlotsHaveTheWholeClientArea)
{
    FrameLayoutInput in = Frame(800, 600);
    in.sidebarShown = in.toolbarShown = in.statusbarShown = false;
    in.plot1Exists = true;
    FrameLayout l = FrameLayout::Compute(in);
    EXPECT_EQ(l.plot1, (LayoutRect{0, 0, 800, 600}));
    EXPECT_EQ(l.sidebar.width, 0);
    EXPECT_EQ(l.statusbar.height, 0);

    in.plot2Exists = true;
    l = FrameLayout::Compute(in);
    EXPECT_EQ(l.plot1, (LayoutRect{0, 0, 800, 300}));
    EXPECT_EQ(l.plot2, (LayoutRect{0, 300, 800, 300}));
}

TEST(FrameLayout, TwoPlotsShareOddHeightsInIntegerHalves)
{
    FrameLayoutInput in = Frame(1001, 701);
    in.plot1Exists = in.plot2Exists = true;
    const FrameLayout l = FrameLayout::Compute(in);
    // 701 − 26 = 675: halves of 337, the odd row stays unused below plot 2.
    EXPECT_EQ(l.plot1, (LayoutRect{90, 0, 911, 337}));
    EXPECT_EQ(l.plot2, (LayoutRect{90, 337, 911, 337}));
    EXPECT_EQ(l.plot2.y + l.plot2.height, 674);
    EXPECT_EQ(l.statusbar.y, 675);
}

TEST(FrameLayout, PlotTwoAloneTakesTheLowerHalf)
{
    FrameLayoutInput in = Frame(600, 426);
    in.plot2Exists = true;
    const FrameLayout l = FrameLayout::Compute(in);
    EXPECT_EQ(l.plot1, LayoutRect{});
    EXPECT_EQ(l.plot2, (LayoutRect{90, 200, 510, 200}));
}

TEST(FrameLayout, AFrameSmallerThanItsBarsLeavesEmptyRectanglesNotNegativeOnes)
{
    FrameLayoutInput in = Frame(50, 20);
    in.plot1Exists = in.plot2Exists = true;
    const FrameLayout l = FrameLayout::Compute(in);
    for (const LayoutRect& r : {l.sidebar, l.statusbar, l.plotArea, l.plot1, l.plot2}) {
        EXPECT_GE(r.width, 0);
        EXPECT_GE(r.height, 0);
    }
    EXPECT_EQ(l.plotArea.width, 0);
}

TEST(UtilityRect, WindowsWithoutAStoredPlacementOpenWhereTheyAlwaysHave)
{
    const DesktopSize desktop{1920, 1080};
    EXPECT_EQ(utility_rect::GetUtilityRect(0, desktop, 800, 600), (PlacementRect{0, 0, 1920, 1052}));
    EXPECT_EQ(utility_rect::GetUtilityRect(7, desktop, 800, 600), (PlacementRect{690, 200, 870, 272}));
    EXPECT_EQ(utility_rect::GetUtilityRect(9, desktop, 800, 600), (PlacementRect{690, 360, 910, 432}));
    EXPECT_EQ(utility_rect::GetUtilityRect(10, desktop, 800, 600).left, 400);
    // The plots (kind 2) and anything else: the frame's client area.
    EXPECT_EQ(utility_rect::GetUtilityRect(2, desktop, 800, 600), (PlacementRect{0, 0, 800, 600}));
}
