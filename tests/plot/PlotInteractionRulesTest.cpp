// The arithmetic behind the spectrum plot's commands, against hand-worked
// figures: zoom spans, autoscale ends, what the plot-top and plot-range
// fields store and how their spinners step.
#include "plot/PlotAutoscale.h"
#include "plot/PlotFieldRules.h"
#include "plot/PlotZoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

using plot_zoom::ZoomIn2x;
using plot_zoom::ZoomOut2x;
using plot_zoom::ZoomFull;
using plot_zoom::ZoomToBins;

TEST(PlotZoom, SpansMoveByQuartersWithinTheData)
{
    const BinSpan data{0, 1000};
    struct Case {
        const char* what;
        std::optional<BinSpan> got;
        std::optional<BinSpan> want;
    } cases[] = {
        {"in: 10 bins lose a quarter (2) each end", ZoomIn2x({50, 60}), BinSpan{52, 58}},
        {"in: 3 bins stay", ZoomIn2x({50, 53}), std::nullopt},
        {"in: 4 bins lose 1 each end", ZoomIn2x({50, 54}), BinSpan{51, 53}},
        {"out: 100 … 200 gains 25 each end", ZoomOut2x({100, 200}, data), BinSpan{75, 225}},
        {"out: a quarter past the start stops at it", ZoomOut2x({10, 90}, data), BinSpan{0, 110}},
        {"out: a quarter past the end stops at it", ZoomOut2x({900, 990}, data), BinSpan{878, 1000}},
        {"out: the whole span stays", ZoomOut2x({0, 1000}, data), std::nullopt},
        {"out: data not starting at 0", ZoomOut2x({3, 43}, {1, 1000}), BinSpan{1, 53}},
        {"full: back to the data", ZoomFull({75, 225}, data), data},
        {"full: already full", ZoomFull({0, 1000}, data), std::nullopt},
        {"drag: 3 bins is no zoom", ZoomToBins(100, 103), std::nullopt},
        {"drag: 4 bins zooms", ZoomToBins(100, 104), BinSpan{100, 104}},
        {"drag: reversed is no zoom", ZoomToBins(104, 100), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(PlotAutoscale, RoundsToStepsAndGivesTopAndRange)
{
    using plot_autoscale::RoundedEnds;
    using plot_autoscale::ScaleFromEnds;
    struct Case {
        const char* what;
        std::uint16_t scale;
        float max, min;
        float top, range;  // the record's PlotTop and PlotRange afterwards
    } cases[] = {
        // Span 60.7 → step 10: top −10, bottom −80.
        {"dB, wide span", 1, -12.5f, -73.2f, -10.0f, 70.0f},
        // Span 3 → step 1: top −38, bottom −42.
        {"dB, narrow span", 1, -38.0f, -41.0f, -38.0f, 4.0f},
        // Positive peak rounds up a step: 94.3 → 100, −12 → −20.
        {"dB, positive peak", 1, 94.3f, -12.0f, 100.0f, 120.0f},
        // Span 250 → range capped at 200.
        {"dB, range above 200", 1, 120.0f, -130.0f, 130.0f, 200.0f},
        // Span 0.5 → step 0.1: top 20.4, bottom 19.8 → range 0.6 → made 10.
        {"dB, range below 1", 1, 20.35f, 19.85f, 20.4f, 10.0f},
        {"linear, 0.037", 0, 0.037f, 0.0f, 0.1f, 55.0f},
        {"linear, 250", 0, 250.0f, 1.0f, 300.0f, 55.0f},
        // Log: top 40; bottom a decade under 0.0023's decade (0.01) = 0.001.
        {"log", 2, 37.0f, 0.0023f, 40.0f, 0.001f},
    };
    for (const Case& c : cases) {
        const auto ends = RoundedEnds(c.scale, c.max, c.min, -1.0f);
        ASSERT_TRUE(ends) << c.what;
        const auto scale = ScaleFromEnds(c.scale, *ends, 55.0f);
        EXPECT_NEAR(scale.PlotTop, c.top, 1e-4f * std::fabs(c.top)) << c.what;
        EXPECT_NEAR(scale.PlotRange, c.range, 1e-4f * std::fabs(c.range)) << c.what;
    }
    // No meaningful scale: a flat spectrum, or values that are no numbers.
    EXPECT_FALSE(RoundedEnds(1, -40.0f, -40.0f, 0.0f));
    EXPECT_FALSE(RoundedEnds(0, 0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(RoundedEnds(1, NAN, -40.0f, 0.0f));
    // A linear scale keeps the caller's bottom.
    EXPECT_EQ(RoundedEnds(0, 0.5f, 0.0f, -7.0f)->Bottom, -7.0f);
}

TEST(PlotFieldRules, TypedValuesStoreWithinTheScaleAndSetTheSpinner)
{
    using plot_fields::PlotRangeChanged;
    using plot_fields::PlotTopChanged;
    struct Case {
        const char* what;
        plot_fields::FieldChange got;
        std::optional<float> stored;
        float step;
        int decimals;
        std::optional<std::string> text;
    } cases[] = {
        {"linear top 0.05 → step 0.01, 5 decimals", PlotTopChanged(0, "0.05", 0), 0.05f, 0.01f, 5, {}},
        {"linear top 3 → step 1, 3 decimals", PlotTopChanged(0, "3", 0), 3.0f, 1.0f, 3, {}},
        {"linear top 1.1 → step 0.1", PlotTopChanged(0, "1.1", 0), 1.1f, 0.1f, 4, {}},
        {"linear top 1.2 → step 1", PlotTopChanged(0, "1.2", 0), 1.2f, 1.0f, 3, {}},
        {"linear top 5e4 → step 1e4, 0 decimals", PlotTopChanged(0, "5e4", 0), 5e4f, 1e4f, 0, {}},
        {"linear top 1e-9 → step 1e-8", PlotTopChanged(0, "1e-9", 0), 1e-9f, 1e-8f, 7, {}},
        {"dB top", PlotTopChanged(1, "-12.5", 60), -12.5f, 5.0f, 2, {}},
        {"dB top beyond the axis", PlotTopChanged(1, "1e9", 60), 300.0f, 5.0f, 2, {}},
        {"dB top, no number reads 0", PlotTopChanged(1, "abc", 60), 0.0f, 5.0f, 2, {}},
        {"log top 0 → the smallest", PlotTopChanged(2, "0", 1e-3f), 1e-6f, 2.0f, 4, {}},
        {"dB range 0.01 → 0.1 and the field says so", PlotRangeChanged(1, "0.01", 0), 0.1f, 5.0f, 2, "0.1"},
        {"dB range a billion", PlotRangeChanged(1, "1000000000", 0), 300.0f, 5.0f, 2, {}},
        {"log bottom", PlotRangeChanged(2, "0.001", 100), 0.001f, 2.0f, 6, {}},
        {"log bottom 0 → the smallest", PlotRangeChanged(2, "0", 100), 1e-6f, 2.0f, 6, {}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.got.Stored.has_value(), c.stored.has_value()) << c.what;
        EXPECT_FLOAT_EQ(*c.got.Stored, *c.stored) << c.what;
        EXPECT_FLOAT_EQ(c.got.Spin.Step, c.step) << c.what;
        EXPECT_EQ(c.got.Spin.Decimals, c.decimals) << c.what;
        EXPECT_EQ(c.got.FieldText, c.text) << c.what;
    }
    // Nothing stored: a linear axis has no range; a number that is not finite.
    EXPECT_FALSE(PlotRangeChanged(0, "10", 0).Stored);
    EXPECT_FALSE(PlotTopChanged(1, "nan", 0).Stored);
    EXPECT_FALSE(PlotTopChanged(1, "inf", 0).Stored);
    // The log top's spinner stops at ten times the bottom.
    EXPECT_FLOAT_EQ(PlotTopChanged(2, "1", 0.01f).Spin.Minimum, 0.1f);
}

} // namespace
