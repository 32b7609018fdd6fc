// Pictures of the plot base at work for a reviewer to look at, under the
// build folder's screenshots/.
#include "DemoPlot.h"

#include "tests/support/Screenshot.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

void Save(DemoPlot& plot, const std::string& name)
{
    QApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(plot, name).empty()) << name;
}

TEST(PlotScreenshotTest, OneAndTwoPanesWithTheirCursorsAndZoomOutline)
{
    DemoPlot one(1);
    one.show();
    Save(one, "plot_base_one_pane");
    const PlotRect pane = one.Areas().Pane1;
    one.OnLButtonDown({}, pane.left + one.ColumnOf(pane, 3000.0f), pane.top + 10);
    Save(one, "plot_base_cursor");
    one.OnLButtonUp({}, 0, 0);
    one.OnLButtonDown(Qt::ControlModifier, pane.left + one.ColumnOf(pane, 1000.0f), pane.top + 10);
    one.OnMouseMove({}, pane.left + one.ColumnOf(pane, 5000.0f), pane.top + 10);
    Save(one, "plot_base_delta_cursor");
    one.OnLButtonUp({}, 0, 0);
    one.SetZoomMode(true);
    one.OnLButtonDown({}, pane.left + 300, pane.top + 10);
    one.OnMouseMove({}, pane.left + 140, pane.top + 90);
    Save(one, "plot_base_zoom_outline");
    one.OnLButtonUp({}, pane.left + 140, pane.top + 90);
    EXPECT_EQ(one.Zoomed.size(), 1u);

    DemoPlot two(2);
    two.resize(720, 560);
    two.ShowScrollBar();
    two.show();
    Save(two, "plot_base_two_panes");
    const PlotRect lower = two.Areas().Pane2;
    two.OnLButtonDown(Qt::ShiftModifier, lower.left + two.ColumnOf(lower, 1500.0f), lower.top + 10);
    Save(two, "plot_base_harmonic_cursor");
    two.OnLButtonUp({}, 0, 0);
    const PlotRect upper = two.Areas().Pane1;
    two.OnLButtonDown(Qt::ControlModifier | Qt::ShiftModifier, upper.left + two.ColumnOf(upper, 10000.0f),
                      upper.top + 10);
    two.OnMouseMove({}, upper.left + two.ColumnOf(upper, 11000.0f), upper.top + 10);
    Save(two, "plot_base_sideband_cursor");
    two.OnLButtonUp({}, 0, 0);

    // The two-pane plot on a letter page at 100 dots per inch.
    QImage page(850, 1100, QImage::Format_RGB32);
    page.setDotsPerMeterX(3937);
    page.setDotsPerMeterY(3937);
    page.fill(Qt::white);
    QPainter painter(&page);
    two.PrintToDC(painter, nullptr, true, 0);
    painter.end();
    QLabel sheet;
    sheet.setPixmap(QPixmap::fromImage(page));
    sheet.resize(page.size());
    EXPECT_FALSE(SaveScreenshot(sheet, "plot_base_printed_page").empty());
}

} // namespace
