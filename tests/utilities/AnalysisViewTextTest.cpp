// The viewers' texts and the data grid's arithmetic, against hand-worked
// values.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "engine/ScalingOpts.h"
#include "utilities/recorderlogic/AnalysisViewText.h"
#include "utilities/recorderlogic/DataGridCells.h"
#include "utilities/recorderlogic/DataGridMetrics.h"

using namespace analysis_view;

TEST(AnalysisViewText, ReadoutsShowTheirNumbersAndTheGridCopiesItsShownRowsAndKeepsItsLimits)
{
    constexpr auto dB = ScalingOpts::kLogarithmic;
    constexpr auto linear = ScalingOpts::kLinear;
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {PeakFrequencyText(1000.04f), "1000.0 Hz"},
        {PeakFrequencyText(5.0f), "   5.0 Hz"},
        {LevelText(-6.004f, "dBr"), " -6.00 dBr"},
        {LevelText(-500.0f, "SPL"), "-500.00 SPL"},
        {LevelText(-500.01f, "SPL"), "-999.00 SPL"},
        {PowerText(93.456f, dB, 0, "SPL"), " 93.46 SPL"},
        {PowerText(-700.0f, dB, 1, "SPL"), "-999.00 SPL A"},
        {PowerText(0.5f, linear, 2, "Pct FS"), "0.500000 Pct FS B"},
        {PowerText(0.5f, dB, 4, "PA"), ""},
        {PowerText(1.0f, dB, 3, "SPL"), "  1.00 SPL C"},
        {PowerText(-500.0f, dB, 0, "SPL"), "-500.00 SPL"},
        {SpanText(0, 19.9f, 20000.7f), "(L: 19Hz to 20000Hz)"},
        {SpanText(1, 100.0f, 200.0f), "(R: 100Hz to 200Hz)"},
        // One shown row leaves the right span's blank at the end.
        {Caption(kPeakFrequency, "(L: 20Hz to 20000Hz)", ""), "Peak Freq (L: 20Hz to 20000Hz) "},
        {Caption(kTotalPower, "", "(R: 1Hz to 2Hz)"), "Total Power  (R: 1Hz to 2Hz)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.expected);
    EXPECT_EQ(Name(6), nullptr);

    // The copy holds the shown rows and the one after them.
    DataGridCells grid;
    grid.SetCellText(0, 0, "1000.0 Hz");
    grid.SetCellText(1, 0, "stale");
    grid.SetCellText(2, 0, "never copied");
    EXPECT_EQ(ClipboardText(grid, 1 + 1), "1000.0 Hz\r\nstale\r\n");
    EXPECT_EQ(ClipboardText(grid, 0 + 1), "1000.0 Hz\r\n");

    // The cell store keeps its limits.
    EXPECT_EQ(grid.Rows(), 2);
    grid.SetSize(60, 1);
    EXPECT_EQ(grid.Rows(), 2) << "60 keeps the rows";
    grid.SetSize(0, 1);
    EXPECT_EQ(grid.Rows(), 0);

    const std::string long85(85, 'x');
    grid.SetCellText(3, 4, long85);
    EXPECT_EQ(grid.CellText(3, 4), long85.substr(0, 79));
    grid.SetCellText(60, 0, "ignored");
    EXPECT_EQ(grid.CellText(60, 0), "");
    EXPECT_EQ(std::tuple(grid.Cell(5, 5).TextColour, grid.Cell(5, 5).BackColour), std::tuple(4, 0));
    EXPECT_EQ(DataGridCells::ColourRgb(3, 0xD4D0C8), 0xD4D0C8u);
    EXPECT_EQ(DataGridCells::ColourRgb(9, 0xD4D0C8), 0u);
}

// A linear reading shows the digits it needs: a small acceleration is not
// "0.00 g". dB readings keep two decimals; the widest text of each kind is
// what a viewer is sized for.
TEST(AnalysisViewText, SmallLinearReadingsShowFourSignificantDigitsAndEachKindNamesItsWidestText)
{
    constexpr auto linear = ScalingOpts::kLinear;
    const std::pair<std::string, std::string> cases[] = {
        {LevelText(0.015f, "g", false), "0.01500 g"},
        {LevelText(84.97f, "g", false), " 84.97 g"},
        {LevelText(0.0f, "g", false), "  0.00 g"},
        {LevelText(-700.0f, "g", false), "-999.00 g"},
        {LevelText(0.015f, "dB"), "  0.01 dB"},
        {PowerText(0.0000123f, linear, 0, "V"), "0.00001230 V"},
        {PowerText(1234.5f, linear, 0, "V"), "1234.500000 V"},
        {PowerText(2.5e-11f, linear, 0, "V"), "0.000000000025 V"},  // never more than twelve decimals
        {PowerText(-700.0f, linear, 0, "V"), "-999.00 V"},
        {WidestText(kPeakFrequency, "", 0), "99999.9 Hz"},
        {WidestText(kPeakAmplitude, "dB SPL", 0), "-999.00 dB SPL"},
        {WidestText(kTotalPower, "V", 1), "-99.500000 V A"},
        // Nothing to show for an unknown weighting or kind.
        {WidestText(kTotalPower, "V", 4), ""},
        {WidestText(6, "V", 0), ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text, expected);
}

TEST(DataGrid, MetricsRoundHalfUpAnEmptyGridHasNoneAndViewersKeepTheirRowsBetween16And48Pixels)
{
    using namespace data_grid;
    const std::optional<Metrics> three = MetricsFor({0, 0, 200, 100}, 3, 2);
    ASSERT_TRUE(three);
    // Rows of 100 / 3 + 0.5, a font of 0.9 x 33.
    EXPECT_EQ(std::tuple(three->rowHeight, three->columnWidth, three->fontHeight), std::tuple(33, 100, 29));
    EXPECT_EQ(MetricsFor({0, 0, 50, 40}, 2, 1)->fontHeight, 19) << "rows of 20: one less";
    EXPECT_EQ(MetricsFor({0, 0, 50, 42}, 2, 1)->fontHeight, 18) << "rows of 21: 0.9 x 21";
    const std::optional<Metrics> moved = MetricsFor({10, 20, 210, 120}, 3, 2);
    EXPECT_EQ(std::tuple(moved->rowHeight, moved->columnWidth), std::tuple(33, 100)) << "an item away from 0, 0";
    EXPECT_FALSE(MetricsFor({0, 0, 200, 100}, 0, 1)) << "nothing to divide by";
    EXPECT_FALSE(MetricsFor({0, 0, 200, 100}, 1, 0));

    // Text cells sit one pixel in; edges on the grid lines; both cut at the item.
    EXPECT_EQ(TextCell({0, 0, 200, 100}, *three, 2, 1), (Rect{101, 66, 200, 99}));
    EXPECT_EQ(TextCell({0, 0, 200, 100}, *three, 0, 0), (Rect{1, 0, 100, 33}));
    EXPECT_EQ(EdgeCell({0, 0, 200, 100}, *three, 2, 1), (Rect{100, 66, 200, 99}));
    EXPECT_EQ(TextBaseline({101, 66, 200, 99}), 99 - 33 / 6);

    // A click finds its cell by whole rows and columns; a grid without size finds none.
    EXPECT_EQ(HitCell(150, 70, 33, 100), (std::pair{2, 1}));
    EXPECT_EQ(HitCell(99, 32, 33, 100), (std::pair{0, 0}));
    EXPECT_FALSE(HitCell(10, 10, 0, 100));
    EXPECT_FALSE(HitCell(10, 10, 33, 0));

    // A viewer keeps its rows between 16 and 48 pixels, and its minimum size.
    struct Case {
        int clientHeight, rows, columns;
        int rowHeight, minWidth, minHeight;
    };
    const Case cases[] = {
        {72, 2, 1, 36, 128, 72},
        {72, 0, 1, 48, 164, 48},   // no rows: sized as one
        {20, 2, 1, 16, 68, 32},
        {72, 1, 0, 48, 328, 48},   // no columns: sized as two
    };
    for (const Case& c : cases) {
        const ViewerSize size = ViewerSizeFor(c.clientHeight, 0, c.rows, c.columns);
        EXPECT_EQ(std::tuple(size.rowHeight, size.minWidth, size.minHeight),
                  std::tuple(c.rowHeight, c.minWidth, c.minHeight))
            << c.clientHeight << " " << c.rows;
    }
    EXPECT_EQ(ViewerSizeFor(72, 30, 2, 1).minHeight, 72 + 30) << "the frame and title bar come on top";

    // Colour unless the device has one plane of two colours at one bit a pixel.
    EXPECT_FALSE(IsColourDevice(1, 2, 1));
    EXPECT_TRUE(IsColourDevice(2, 2, 1));
    EXPECT_TRUE(IsColourDevice(1, 3, 1));
    EXPECT_TRUE(IsColourDevice(1, 2, 2));
}
