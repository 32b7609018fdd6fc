#include "DemoPlot.h"

#include "plot/PlotScroll.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

TEST(PlotScrollTest, TheSpanFollowsTheBarByLinesPagesAndTheThumbButNotAThumbStillDragged)
{
    // A page is a quarter of the span, rounded; unknown notices stay put.
    EXPECT_EQ(ScrollTargetPosition(plot_scroll::kLineRight, 10, 100, 0), 11);
    EXPECT_EQ(ScrollTargetPosition(plot_scroll::kPageRight, 10, 103, 0), 35);
    EXPECT_EQ(ScrollTargetPosition(9, 10, 100, 77), 10);

    DemoPlot plot(1);
    plot.ShowScrollBar();
    ASSERT_EQ(plot.SpanStart(), 0);
    ASSERT_EQ(plot.SpanEnd(), 100);
    const int updates = plot.SpanUpdates;

    plot.OnHScroll(plot_scroll::kThumbTrack, 40);
    EXPECT_EQ(plot.SpanStart(), 0);
    EXPECT_EQ(plot.ScrollBar()->value(), 0);
    EXPECT_EQ(plot.SpanUpdates, updates);

    plot.OnHScroll(plot_scroll::kThumbPosition, 40);
    EXPECT_EQ(plot.SpanStart(), 40);
    EXPECT_EQ(plot.SpanEnd(), 140);
    EXPECT_EQ(plot.ScrollPosition(), 40);

    plot.OnHScroll(plot_scroll::kPageLeft, 0);
    EXPECT_EQ(plot.SpanStart(), 15);
    plot.OnHScroll(plot_scroll::kPageLeft, 0);
    EXPECT_EQ(plot.SpanStart(), 0);
    EXPECT_EQ(plot.SpanEnd(), 100);
    plot.OnHScroll(plot_scroll::kThumbPosition, 1000);
    EXPECT_EQ(plot.SpanStart(), 400);

    // The bar's own arrows reach the plot as line notices.
    plot.ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(plot.SpanStart(), 399);
    EXPECT_EQ(plot.ScrollBar()->value(), 399);
    plot.ScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(plot.SpanStart(), 399);
    EXPECT_EQ(plot.ScrollBar()->value(), 399);
}

} // namespace
