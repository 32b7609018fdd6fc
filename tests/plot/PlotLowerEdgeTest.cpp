// The left plot closes its lower edge with a one-pixel line in the palette's
// dark colour, on its last row, against the frame's status bar.

#include "tests/plot/QuarnPlotTestSupport.h"

#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

using quarn_test::TonePlot;

TEST(PlotLowerEdge, TheLeftPlotsLastRowIsTheDarkLineAndTheRowAboveIsNot)
{
    TonePlot tone(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -20.0f, -100.0f);
    TQuarnPlot& plot = tone.Make(640, 420);
    plot.UpdateDisplay(0.0f);
    const QImage shown = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(640, 420));
    const QRgb dark = plot.palette().color(QPalette::Dark).rgb();
    int lastRow = 0, rowAbove = 0;
    for (int x = 0; x < shown.width(); ++x) {
        lastRow += shown.pixel(x, 419) == dark ? 1 : 0;
        rowAbove += shown.pixel(x, 418) == dark ? 1 : 0;
    }
    EXPECT_EQ(lastRow, 640);
    EXPECT_LT(rowAbove, 320);
}
