// How the options sheet edits Plot Top and Plot Range on each amplitude
// scale: the decimals the fields show, and each spinner's limits, step and
// decimals, as the sheet's published table gives them.
#include "plot/PlotOptionsForm.h"

#include <gtest/gtest.h>

#include <string>

TEST(PlotOptionsFields, EachScaleEditsTopAndRangeWithItsOwnDecimalsStepsAndLimits)
{
    const struct {
        const char* name;
        std::uint16_t scale;
        int topDecimals;
        SpinSetup top;
        bool rangeEnabled;
        int rangeDecimals;
        SpinSetup range;
        const char* rangeLabel;
    } cases[] = {
        {"linear", 0, 3, {1e7f, 1e-9f, 1.0f, false, 3}, false, 0, {}, "Plot Range"},
        {"dB", 1, 2, {300.0f, -300.0f, 5.0f, false, 2}, true, 1, {300.0f, -300.0f, 5.0f, false, 2}, "Plot Range"},
        {"log", 2, 5, {10000.0f, 1e-5f, 2.0f, true, 5}, true, 6, {100.0f, 1e-6f, 2.0f, true, 6}, "Plot Bottom"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlotOptionsAmplitudeFields f = plot_options::AmplitudeFields(c.scale);
        EXPECT_EQ(f.TopDecimals, c.topDecimals);
        EXPECT_EQ(f.TopSpin, c.top);
        EXPECT_EQ(f.RangeEnabled, c.rangeEnabled);
        EXPECT_EQ(f.RangeLabel, c.rangeLabel);
        if (c.rangeEnabled) {
            EXPECT_EQ(f.RangeDecimals, c.rangeDecimals);
            EXPECT_EQ(f.RangeSpin, c.range);
        }
    }
}
