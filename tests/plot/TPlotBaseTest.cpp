#include "DemoPlot.h"

#include "plot/AxisNumberFormat.h"
#include "plot/PlotMarkLines.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

QImage Shot(QWidget& widget)
{
    QApplication::processEvents();
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Inverted(QRgb c)
{
    return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c));
}

class TPlotBaseTest : public ::testing::Test {
protected:
    TPlotBaseTest()
    {
        Plot.show();
        QApplication::processEvents();
    }

    DemoPlot Plot{1};
};

TEST_F(TPlotBaseTest, TheCursorInvertsThePixelsItCrossesAndLeavesNothingBehindOnReleaseOrFocusLoss)
{
    const QImage before = Shot(Plot);
    const PlotRect pane = Plot.Areas().Pane1;
    const int x = pane.left + 100;
    Plot.OnLButtonDown({}, x, pane.top + 20);
    ASSERT_TRUE(Plot.Cursor().Tracking());
    const PlotPoint at = Plot.Cursor().LastPoint();
    // Pulled to the plot's own row.
    EXPECT_EQ(at, (PlotPoint{x, pane.top + DemoPlot::kPulledRow}));

    const QImage during = Shot(Plot);
    EXPECT_EQ(during.pixel(pane.left + 10, at.y), Inverted(before.pixel(pane.left + 10, at.y)));
    EXPECT_EQ(during.pixel(x, pane.bottom - 3), Inverted(before.pixel(x, pane.bottom - 3)));
    // The readout labels: black outline, white inside, above and left of the pane.
    const PlotRect xLabel = XReadoutRect(pane, x, 90, 17);
    EXPECT_EQ(during.pixel(xLabel.left, xLabel.top), qRgb(0, 0, 0));
    EXPECT_EQ(during.pixel(xLabel.left + 2, xLabel.bottom - 2), qRgb(255, 255, 255));
    const PlotRect yLabel = YReadoutRect(pane, at.y, 58, 17);
    EXPECT_EQ(during.pixel(yLabel.right - 1, yLabel.top), qRgb(0, 0, 0));
    EXPECT_EQ(Plot.Cursor().XReadoutText(), FormatAxisNumber(Plot.GetXValueAt(x, at.y), 4, " Hz"));

    // Released outside the pane, far from where the marks are.
    Plot.OnLButtonUp({}, 5, 5);
    EXPECT_FALSE(Plot.Cursor().Tracking());
    EXPECT_EQ(Shot(Plot), before);

    // Focus loss ends a drag, leaving nothing behind.
    Plot.OnLButtonDown(Qt::ShiftModifier, pane.left + 40, pane.top + 40);
    ASSERT_TRUE(Plot.Cursor().HarmonicMode());
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&Plot, &focusOut);
    EXPECT_FALSE(Plot.Cursor().Tracking());
    EXPECT_EQ(Shot(Plot), before);

    // A plot never closes itself.
    EXPECT_FALSE(Plot.close());
    EXPECT_TRUE(Plot.isVisible());
}

TEST_F(TPlotBaseTest, TheScrollBarSitsInsideTheLowestFrameAndTheClipboardBitmapIsAllBelowTheStripFramedInBlack)
{
    const PlotRect plot = Plot.Areas().Plot;
    Plot.ShowScrollBar();
    EXPECT_EQ(Plot.Areas().Plot.bottom, plot.bottom - 12);
    EXPECT_EQ(Plot.ScrollBar()->geometry(), QRect(plot.left, plot.bottom - 12, plot.Width(), 12));
    Plot.HideScrollBar();
    EXPECT_EQ(Plot.Areas().Plot, plot);
    EXPECT_FALSE(Plot.ScrollBar()->isVisible());

    Plot.resize(500, 330);
    const QImage window = Shot(Plot);
    const QImage bitmap = Plot.RenderClipboardBitmap();
    ASSERT_EQ(bitmap.size(), QSize(500, 300));
    for (const QPoint p : {QPoint(0, 0), QPoint(499, 0), QPoint(0, 299), QPoint(499, 299), QPoint(250, 0),
                           QPoint(250, 299), QPoint(0, 150), QPoint(499, 150)})
        EXPECT_EQ(bitmap.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(bitmap.pixel(1, 1), window.pixel(1, 31));
    EXPECT_EQ(bitmap.pixel(300, 200), window.pixel(300, 230));
}

} // namespace
