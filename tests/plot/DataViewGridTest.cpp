// The data-values window's grid: a vertical line at every column edge the
// window shows (every 100 pixels), the last one too, and a horizontal line
// every 18 pixels.
#include "QuarnPlotTestSupport.h"
#include "plot/CDataView.h"

#include <QImage>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace quarn_test;

TEST(DataViewGrid, EveryColumnEdgeTheWindowShowsHasItsLine)
{
    TonePlot t(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -6.0f, -90.0f);
    TQuarnPlot* plot = &t.Make(1000, 500);
    plot->show();
    plot->OnViewDataValues();
    CDataView* view = plot->DataView();
    ASSERT_NE(view, nullptr);
    view->resize(250 + view->ScrollBar()->width(), 200);
    const QImage image = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb grid = qRgb(128, 128, 128);
    // Between two horizontal lines, clear of the texts' rows' middle.
    const int y = 18 + 1;
    for (int x : {0, 100, 200})
        EXPECT_EQ(image.pixel(x, y), grid) << "column edge at " << x;
    EXPECT_NE(image.pixel(150, y), grid) << "no line inside a column";
    for (int row : {18, 36, 54})
        EXPECT_EQ(image.pixel(50, row), grid) << "row edge at " << row;
}
