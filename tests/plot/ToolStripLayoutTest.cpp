// Where the spectrum plot's tool strip puts its controls: the bitmap buttons
// in their row with their tips, the two fields with their spinners and the
// peak-hold list, from the published table of the strip.
#include "QuarnPlotTestSupport.h"
#include "plot/TLimitScroll.h"
#include "widgets/CToolBtn.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using namespace quarn_test;

TEST(ToolStripLayout, ButtonsFieldsAndListStandWhereTheTableSays)
{
    TonePlot tone(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -20.0f, -100.0f);
    TQuarnPlot& plot = tone.Make(1000, 520);

    const struct {
        std::uint32_t id;
        int x;
        const char* tip;
    } buttons[] = {
        {401, 2, "Zoom in along frequency axis"},
        {403, 32, "Zoom in by a factor of 2x"},
        {404, 62, "Zoom out by a factor of 2x"},
        {402, 92, "Zoom out to show full frequency span"},
        {471, 129, "Display spectrum as line graph"},
        {473, 159, "Display spectrum as stepped bar graph"},
        {472, 189, "Display spectrum as bar graph"},
        {420, 226, "Set additional spectrum display options"},
        {511, 256, "Marker Options"},
        {480, 293, "Autoscale current spectrum"},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.id);
        CToolBtn* button = plot.ToolButton(b.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), QRect(b.x, 1, 28, 28));
        EXPECT_EQ(button->TipText().toStdString(), b.tip);
    }

    // Fields 56 × 20 centred on the 30-pixel strip, each spinner 12 wide
    // right after its field; the list 72 wide at 673.
    using Box = std::tuple<int, int, int, int>;
    const auto box = [](const QWidget* w) {
        const QRect r = w->geometry();
        return Box(r.x(), r.y(), r.width(), r.height());
    };
    EXPECT_EQ(box(plot.PlotTopEdit()), Box(381, 5, 56, 20));
    EXPECT_EQ(box(plot.PlotTopSpin()), Box(439, 5, 12, 20));
    EXPECT_EQ(box(plot.PlotRangeEdit()), Box(527, 5, 56, 20));
    EXPECT_EQ(box(plot.PlotRangeSpin()), Box(585, 5, 12, 20));
    EXPECT_EQ(std::get<0>(box(plot.PeakHoldList())), 673);
    EXPECT_EQ(std::get<2>(box(plot.PeakHoldList())), 72);
}

} // namespace
