// The frame's layout of its bars and plots, and which plots a channel mode
// shows and what they are called.

#include "app/core/FrameLayout.h"
#include "app/core/SpectrumPlotRules.h"
#include "app/core/UtilityRect.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

using namespace ::testing;

TEST(FrameLayout, TheShownBarsFrameThePlotAreaThePlotsShareItInHalvesAndNothingGoesNegative)
{
    // {what, input, plot 1, plot 2}
    const std::tuple<const char*, FrameLayoutInput, LayoutRect, LayoutRect> rows[] = {
        {"side and status bars", {1000, 700, true, false, true, true, false}, {90, 0, 910, 674}, {}},
        {"and the tool bar", {1000, 700, true, true, true, true, false}, {90, 32, 910, 642}, {}},
        {"no bars, two plots", {800, 600, false, false, false, true, true}, {0, 0, 800, 300}, {0, 300, 800, 300}},
        {"odd height", {1001, 701, true, false, true, true, true}, {90, 0, 911, 337}, {90, 337, 911, 337}},
        {"plot two alone", {600, 426, true, false, true, false, true}, {}, {90, 200, 510, 200}},
    };
    for (const auto& [what, in, plot1, plot2] : rows) {
        SCOPED_TRACE(what);
        const FrameLayout l = FrameLayout::Compute(in);
        EXPECT_EQ(l.plot1, plot1);
        EXPECT_EQ(l.plot2, plot2);
        EXPECT_EQ(l.sidebar.width, in.sidebarShown ? 90 : 0);
        if (in.statusbarShown) {
            EXPECT_EQ(l.statusbar, (LayoutRect{0, in.clientHeight - 26, in.clientWidth, 26}));
        }
        EXPECT_EQ(l.statusbar.height, in.statusbarShown ? 26 : 0);
        EXPECT_EQ(l.toolbar.height, in.toolbarShown ? 32 : 0);
    }
    EXPECT_EQ(FrameLayout::Compute(std::get<1>(rows[0])).sidebar, (LayoutRect{0, 0, 90, 674}));
    EXPECT_EQ(FrameLayout::Compute(std::get<1>(rows[1])).toolbar, (LayoutRect{0, 0, 1000, 32}));
    // With the tool bar shown the side bar starts below it: its Run and Stop
    // lamps stay in sight.
    EXPECT_EQ(FrameLayout::Compute(std::get<1>(rows[1])).sidebar, (LayoutRect{0, 32, 90, 642}));

    // A frame smaller than its bars leaves empty rectangles, not negative ones.
    const FrameLayout l = FrameLayout::Compute({50, 20, true, false, true, true, true});
    EXPECT_THAT((std::vector<LayoutRect>{l.sidebar, l.statusbar, l.plotArea, l.plot1, l.plot2}),
                Each(AllOf(Field(&LayoutRect::width, Ge(0)), Field(&LayoutRect::height, Ge(0)))));
    EXPECT_EQ(l.plotArea.width, 0);
}

TEST(UtilityRect, WindowsWithoutAStoredPlacementOpenWhereTheyAlwaysHave)
{
    const DesktopSize desktop{1920, 1080};
    EXPECT_EQ(utility_rect::GetUtilityRect(0, desktop, 800, 600), (PlacementRect{0, 0, 1920, 1052}));
    EXPECT_EQ(utility_rect::GetUtilityRect(7, desktop, 800, 600), (PlacementRect{690, 200, 870, 272}));
    // The plots (kind 2) and anything else: the frame's client area.
    EXPECT_EQ(utility_rect::GetUtilityRect(2, desktop, 800, 600), (PlacementRect{0, 0, 800, 600}));
}

using namespace spectrum_plot_rules;

TEST(SpectrumPlotRules, EachModeShowsThePlotsOfItsChannelsSideBySideOnesTitledLeftAndRight)
{
    for (std::uint16_t mode = 0; mode < 13; ++mode) {
        SCOPED_TRACE(mode);
        const bool both = mode == 2 || mode == 11 || mode == 12;
        EXPECT_EQ(IsPlotUsed(true, mode, 0), mode != 1 || both);
        EXPECT_EQ(IsPlotUsed(true, mode, 1), both || mode == 1);
        // Shared scaling: one plot serves every mode.
        EXPECT_TRUE(IsPlotUsed(false, mode, 0));
        EXPECT_TRUE(ShouldCreatePlot(false, mode, 0));
        EXPECT_FALSE(ShouldCreatePlot(false, mode, 1));
    }

    EXPECT_EQ(std::vector({PlotTitle(true, 2, 0), PlotTitle(true, 2, 1), PlotTitle(true, 11, 1), PlotTitle(false, 2, 0),
                           PlotTitle(true, 0, 0)}),
              std::vector<std::string>({"Spectrum - Left", "Spectrum - Right", "Spectrum", "Spectrum", "Spectrum"}));
}
