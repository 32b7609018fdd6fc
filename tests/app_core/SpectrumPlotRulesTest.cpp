// Which plots a channel mode shows, and what they are called.

#include "app/core/SpectrumPlotRules.h"

#include <gtest/gtest.h>

using namespace spectrum_plot_rules;

TEST(SpectrumPlotRules, EachModeShowsThePlotsOfItsChannels)
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
}

TEST(SpectrumPlotRules, SideBySideChannelsAreTitledLeftAndRight)
{
    EXPECT_EQ(PlotTitle(true, 2, 0), "Spectrum - Left");
    EXPECT_EQ(PlotTitle(true, 2, 1), "Spectrum - Right");
    EXPECT_EQ(PlotTitle(true, 11, 1), "Spectrum");
    EXPECT_EQ(PlotTitle(false, 2, 0), "Spectrum");
    EXPECT_EQ(PlotTitle(true, 0, 0), "Spectrum");
}
