// The plot options in the running program: F5 and a plot's Options button
// open the sheet on copies of the records; OK re-applies only the plots
// whose records changed.

#include "tests/app/FrameTestSupport.h"
#include "tests/support/Screenshot.h"

#include "app/core/FrameCommandIds.h"
#include "app/core/TProcessingObjects.h"
#include "widgets/CToolBtn.h"
#include "engine/SpectralData.h"
#include "plot/CPlotOptionsMain.h"
#include "plot/TQuarnPlot.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using frame_test::FrameHarness;
using frame_test::WaitFor;
using namespace frame_command;

namespace {

QLineEdit* Field(CPlotOptionsMain& sheet, int page, const char* name)
{
    return sheet.SpectrumPage(page)->findChild<QLineEdit*>(QString::fromLatin1(name));
}

// Hz of a frequency-axis label ("500", "1.2k").
double LabelHz(const std::string& label)
{
    return label.back() == 'k' ? std::stod(label) * 1000.0 : std::stod(label);
}

} // namespace

TEST(MainFramePlotOptions, OkWithANewSpanRedrawsThatPlotAloneAndCancelKeepsEverything)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    ASSERT_TRUE(frame.ActionFor(kPlotOptions)->isEnabled());
    TQuarnPlot* left = frame.Plot(0);
    TQuarnPlot* right = frame.Plot(1);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    // Changed behind the plot's back: only a reset view would show it.
    frame.Settings().Scaling[1].AmpScaleType = ScalingOpts::kLogMagnitude;
    const SpectrumOpts rightBefore = frame.Settings().Spectrum[1];

    // F5: the sheet on the left page; a new span; OK.
    bool started = false;
    frame_test::OnModal<CPlotOptionsMain>([&](CPlotOptionsMain& sheet) {
        started = sheet.Tabs()->currentIndex() == 0 && sheet.PageCount() == 2;
        SaveScreenshot(sheet, "plot_options_from_f5");
        Field(sheet, 0, "StartFreq")->setText(QStringLiteral("500"));
        Field(sheet, 0, "StopFreq")->setText(QStringLiteral("1500"));
        sheet.SpectrumPage(0)->findChild<QComboBox*>(QStringLiteral("PeakHold"))->setCurrentIndex(4);
        sheet.accept();
    });
    QTest::keyClick(&frame, Qt::Key_F5);
    EXPECT_TRUE(started);
    EXPECT_EQ(frame.Settings().Spectrum[0].StartFreq, 500.0f);
    // Each channel's display object holds as its own plot.
    ASSERT_EQ(frame.Settings().Processing.IndependentScalingAndCalibration, 1);
    EXPECT_EQ(frame.Processing().GetDisplayData(0)->GetPeakHoldMode(), SpectrumOpts::kPeakHoldForever);
    EXPECT_EQ(frame.Processing().GetDisplayData(1)->GetPeakHoldMode(), rightBefore.PeakHold);
    const PlotTicks& ticks = left->FrequencyTicks();
    int labels = 0;
    for (const PlotTick& tick : ticks)
        if (!tick.Label.empty()) {
            ++labels;
            EXPECT_GE(LabelHz(tick.Label), 500.0) << tick.Label;
            EXPECT_LE(LabelHz(tick.Label), 1500.0) << tick.Label;
        }
    EXPECT_GE(labels, 3) << "the axis is redrawn for 500 … 1500 Hz";
    EXPECT_EQ(frame.Settings().Spectrum[1], rightBefore);
    EXPECT_EQ(right->RangeCaption(), QStringLiteral("Plot Range:")) << "the unchanged plot was not reset";

    // The right plot's Options button: its own page. A colour chosen, then
    // Cancel: nothing changes.
    frame.SetPlotOptionsColourChooser([](QWidget*, std::uint32_t) -> std::optional<std::uint32_t> { return 0x0000AA; });
    bool onRightPage = false;
    frame_test::OnModal<CPlotOptionsMain>([&](CPlotOptionsMain& sheet) {
        onRightPage = sheet.Tabs()->currentIndex() == 1;
        sheet.SpectrumPage(1)->OnColour(0);
        sheet.reject();
    });
    right->ToolButton(TQuarnPlot::kOptionsButton)->click();
    EXPECT_TRUE(onRightPage);
    EXPECT_EQ(frame.Settings().Spectrum[1], rightBefore);

    // The same colour and OK: now the right plot is reset.
    frame_test::OnModal<CPlotOptionsMain>([&](CPlotOptionsMain& sheet) {
        sheet.SpectrumPage(1)->OnColour(0);
        sheet.accept();
    });
    right->ToolButton(TQuarnPlot::kOptionsButton)->click();
    EXPECT_EQ(frame.Settings().Spectrum[1].LineColor, 0x0000AAu);
    EXPECT_EQ(right->RangeCaption(), QStringLiteral("Plot Bottom:"));
}
