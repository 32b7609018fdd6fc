// The spectrum plot window: layout, fields, span, and the per-frame traces
// of a known spectrum (a 1 kHz tone over a floor) with peak hold, the
// display interval, markers and coherence panes.
// The spectrum plot as an operator uses it: real mouse and key events on its
// controls and panes, its right-button menu, and what it exports.
#include "QuarnPlotTestSupport.h"
#include "plot/PlotColours.h"
#include "plot/PlotPrinting.h"
#include "settings/PrintOpts.h"
#include "tests/plot/QtPenReference.h"
#include "tests/engine/SpectralTestSupport.h"
#include "tests/support/Screenshot.h"
#include "platform/Clock.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PopupMenus.h"
#include "widgets/CToolBtn.h"

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPolygon>
#include <QRadioButton>
#include <QScrollBar>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <random>

namespace {

using namespace quarn_test;

// A plot area 1001 columns wide (1 Hz per column from 500 to 1500 Hz) and,
// with the scroll bar of that zoomed span, panes 400 rows high.
constexpr int kClientWidth = 62 + 1001 + 170;
constexpr int kClientHeight = 50 + 400 + 33 + 12;

class FakeClock : public platform::Clock {
public:
    double SteadySeconds() const override { return Seconds; }
    std::chrono::system_clock::time_point Now() const override { return std::chrono::system_clock::now(); }
    double Seconds = 10.0;
};

// dB, top 0, range 100: -20 dB on row 320, -100 dB on row 1.
struct ZoomedTone : TonePlot {
    ZoomedTone(std::uint16_t amp, float toneLevel, float floorLevel)
        : TonePlot(amp, ScalingOpts::kFftLinear, toneLevel, floorLevel)
    {
        records.Spectrum.StartFreq = 500.0f;
        records.Spectrum.StopFreq = 1500.0f;
        records.Spectrum.PeakHold = 0;
        if (amp == ScalingOpts::kLogarithmic)
            records.Spectrum.PlotRange = 100.0f;
    }
    TQuarnPlot& Make() { return TonePlot::Make(kClientWidth, kClientHeight); }
};

TEST(TQuarnPlotTest, FieldsAndToolStripFollowTheRecordsAndTheSpanIsClampedToTheData)
{
    PlotRecords records(ScalingOpts::kLinear, ScalingOpts::kFftLinear);
    records.Spectrum.StartFreq = 0.0f;
    records.Spectrum.StopFreq = 95000.0f;
    records.Spectrum.PlotType = 2;
    // Made without data nothing is drawn and nothing breaks; data arrives
    // later, as after a rebuild of the processing objects.
    auto plot = MakePlot(records, nullptr, nullptr, 1000, 500);
    plot->UpdateDisplay(1.0f);
    EXPECT_TRUE(plot->LivePoints(0).empty());
    EXPECT_EQ(plot->GetXValueAt(100, 100), 0.0f);
    auto data = MakeData(records);
    plot->SetSpectralData(data.get(), nullptr);
    plot->ResetView();
    EXPECT_EQ(plot->Areas().Plot, (PlotRect{62, 50, 1000 - 170, 500 - 33}));
    EXPECT_EQ(plot->PlotRangeEdit()->text(), QStringLiteral("N/A"));
    EXPECT_FALSE(plot->PlotRangeEdit()->isEnabled());
    EXPECT_TRUE(plot->ToolButton(473)->IsLatched());
    // The whole range: the data's limits, no scroll bar, nothing to zoom out.
    EXPECT_EQ(records.Spectrum.StopFreq, data->GetEndFrequency());
    EXPECT_FALSE(plot->ScrollBarShown());
    EXPECT_TRUE(plot->ToolButton(404)->IsGreyed());

    // A linear top of 0 is replaced by 1 in the record at the first frame.
    records.Spectrum.PlotTop = 0.0f;
    plot->ResetView();
    EXPECT_EQ(records.Spectrum.PlotTop, 1.0f);

    plot->SetFrequencyRange(500.0f, 1500.0f);
    EXPECT_TRUE(plot->ScrollBarShown());
    EXPECT_EQ(plot->SpanStart(), static_cast<int>(data->GetBinIndex(500.0f)));
    EXPECT_EQ(plot->ScrollBar()->value(), plot->SpanStart() - static_cast<int>(data->GetStartBin()));
    // One line to the right: the span keeps its width in bins.
    const int width = plot->SpanEnd() - plot->SpanStart();
    plot->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(plot->SpanEnd() - plot->SpanStart(), width);
    EXPECT_EQ(records.Spectrum.StartFreq, data->GetBinFrequency(data->GetBinIndex(500.0f) + 1));
    // The thumb let go at the bar's far end puts the span's end on the
    // data's last line.
    QScrollBar* bar = plot->ScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(bar->maximum());
    bar->setSliderDown(false);
    EXPECT_EQ(plot->SpanEnd(), static_cast<int>(data->GetEndBin()));
    EXPECT_EQ(plot->SpanEnd() - plot->SpanStart(), width);

    // Folding the tool strip leaves 20 px above the plot and hides its controls.
    plot->ShowToolStrip(false);
    EXPECT_EQ(plot->Areas().Plot.top, 20);
    EXPECT_TRUE(plot->PeakHoldList()->isHidden());

    // The data going again.
    plot->SetSpectralData(nullptr, nullptr);
    plot->UpdateDisplay(0.0f);
    EXPECT_TRUE(plot->LivePoints(0).empty());
}

TEST(TQuarnPlotTest, KnownToneLandsOnItsColumnAndRowMarkersStandOnItAndTheCursorHooksReadTheColumns)
{
    ZoomedTone tone(ScalingOpts::kLogarithmic, -20.0f, -100.0f);
    MarkerOpts& markers = tone.records.Markers;
    markers.MarkerEnable[0] = markers.MarkerEnable[1] = markers.MarkerEnable[2] = 1;
    markers.MarkerFreq[0] = 1000.0f;
    markers.LabelType[0] = MarkerOpts::kFrequencyAndAmplitude;
    markers.MarkerFreq[1] = 100.0f;
    markers.LabelType[2] = MarkerOpts::kNone;
    TQuarnPlot& plot = tone.Make();
    plot.UpdateDisplay(0.0f);
    const PlotRect pane = plot.PaneRect(0);
    ASSERT_EQ(pane, (PlotRect{pane.left, pane.top, pane.left + 1001, pane.top + 400}));
    const int left = pane.left;
    const int toneRow = pane.bottom - 320;

    // 1000 Hz is bin 1365 (999.76 Hz) at column 500; column 501 spans bins
    // 1365 … 1367 and shows the tone too. Line points sit a column left of
    // the column after theirs: x = left + 500 and left + 501.
    const std::vector<PlotPoint>& live = plot.LivePoints(0);
    std::vector<PlotPoint> high;
    std::copy_if(live.begin(), live.end(), std::back_inserter(high), [&](PlotPoint p) { return p.y < pane.bottom - 1; });
    EXPECT_EQ(high, (std::vector<PlotPoint>{{left + 500, toneRow}, {left + 501, toneRow}}));

    // 1000 Hz lies on column 500's frequency: column 499. The marker's tip
    // sits one row above the tone; the label (a 17 px font with thick
    // markers) stands 19 + 17 rows above the tip, centred on the column.
    const PlotRect box = plot.MarkerLabelBoxes(0)[0];
    EXPECT_EQ(box.top, toneRow - 1 - 17 - 19);
    EXPECT_NEAR((box.left + box.right) / 2.0, left + 499, 1.0);
    // Off the columns: far left of the pane, clipped away. No label, no
    // box; a disabled marker neither.
    EXPECT_LT(plot.MarkerLabelBoxes(0)[1].right, pane.left);
    EXPECT_TRUE(plot.MarkerLabelBoxes(0)[2].IsNull() && plot.MarkerLabelBoxes(0)[3].IsNull());

    // Bars from each column to the next: the tone's bar stands on the bottom.
    tone.records.Spectrum.PlotType = 1;
    plot.UpdateDisplay(0.0f);
    EXPECT_EQ(BarRect(plot.LivePoints(0), 501), (PlotRect{left + 500, toneRow, left + 501, pane.bottom}));

    // The cursor hooks read the columns and harmonics; the row's value in
    // dB: -50 dB half-way down.
    tone.records.Spectrum.GrabCursorFlag = 0;
    EXPECT_FLOAT_EQ(plot.GetXValueAt(left + 250, pane.top + 10), 750.0f);
    EXPECT_FLOAT_EQ(plot.GetYValueAt(left + 10, pane.bottom - 200), -50.0f);
    // 1500 / 750 = 2 harmonics; the second at 1500 Hz, the last column.
    EXPECT_EQ(plot.GetHarmonicCount(left + 250, pane.top + 10), 2);
    EXPECT_EQ(plot.GetHarmonicPoint(2, left + 250, pane.top + 10).x, 999);
    // A carrier at 750 Hz and a cursor at 800 Hz: sidebands at 800 and 700 Hz,
    // each on the column before the one of its frequency.
    EXPECT_EQ(plot.GetUpperSidebandPoint(1, left + 250, 0, left + 300, 0).x, 299);
    EXPECT_EQ(plot.GetLowerSidebandPoint(1, left + 250, 0, left + 300, 0).x, 199);

    // Peak hold Fast: held for a second, then down 1 dB (4 rows) per frame.
    FakeClock clock;
    platform::SetClock(&clock);
    tone.records.Spectrum.PlotType = 0;
    tone.records.Spectrum.PeakHold = 1;
    plot.ResetView();
    tone.data->SetPeakHoldMode(1);
    const auto heldRowAt = [&](double seconds) {
        clock.Seconds = seconds;
        tone.data->UpdatePeakHold();
        plot.UpdateDisplay(0.0f);
        return HighestRow(plot.HoldPoints(0));
    };
    EXPECT_EQ(heldRowAt(10.0), toneRow);
    // The tone falls to -60 dB (row 160); the hold stays at -20 dB.
    SetLineLevel(*tone.data, tone.data->GetBinIndex(1000.0f), -60.0f);
    EXPECT_EQ(heldRowAt(10.5), toneRow);
    EXPECT_EQ(HighestRow(plot.LivePoints(0)), pane.bottom - 160);
    EXPECT_EQ(heldRowAt(11.5), toneRow + 4);
    EXPECT_EQ(heldRowAt(11.6), toneRow + 8);
    platform::SetClock(nullptr);

    // With a display interval of half a second a frame inside it is not drawn.
    tone.records.Spectrum.IntervalFlag = 1;
    tone.records.Spectrum.IntervalSecs = 0.5f;
    SetLineLevel(*tone.data, tone.data->GetBinIndex(1000.0f), -20.0f);
    plot.UpdateDisplay(0.3f);
    EXPECT_EQ(HighestRow(plot.LivePoints(0)), pane.bottom - 160);
}

TEST(TQuarnPlotTest, KnownToneOnLinearAndLogScales)
{
    // Linear 0 … 60 % of full scale: 50 % on row trunc(400·50/60) = 333.
    ZoomedTone linear(ScalingOpts::kLinear, 50.0f, 0.01f);
    const PlotRect pane = linear.Make().PaneRect(0);
    EXPECT_EQ(HighestRow(linear.plot->LivePoints(0)), pane.bottom - 333);
    // The cursor reads the row in the scale's format: on an axis from 0 to
    // 0.1 small values in exponent form.
    linear.records.Spectrum.GrabCursorFlag = 0;
    linear.records.Spectrum.PlotTop = 0.1f;
    linear.plot->ResetView();
    for (const auto& [value, readout] : {std::pair{0.005, "5.0e-03"}, {0.02, "0.020"}}) {
        const QPoint at(pane.left + 100, pane.bottom - static_cast<int>(std::lround(value / 0.1 * pane.Height())));
        QTest::mousePress(linear.plot.get(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_EQ(linear.plot->Cursor().YReadoutText().substr(0, std::strlen(readout)), readout) << value;
        QTest::mouseRelease(linear.plot.get(), Qt::LeftButton, Qt::NoModifier, at);
    }
    // Log 1e-4 … 100 (60 dB): 50 % on row trunc(400·(16.99 + 40)/60) = 379,
    // the floor of 0.01 % on trunc(400·20/60) = 133.
    ZoomedTone log(ScalingOpts::kLogMagnitude, 50.0f, 0.01f);
    EXPECT_EQ(HighestRow(log.Make().LivePoints(0)), pane.bottom - 379);
    EXPECT_EQ(log.plot->LivePoints(0).back().y, pane.bottom - 133);
}

// A thick trace as the plot shows it sets the pixels Qt's own 2-pixel pen
// sets for the same points inside the pane, but for a rare single pixel on
// a long steep edge.
TEST(TQuarnPlotTest, AThickTraceCoversThePixelsOfQtsTwoPixelPen)
{
    ZoomedTone t(ScalingOpts::kLogMagnitude, 50.0f, 0.01f);
    // Every line its own level: the trace climbs and falls steeply.
    std::mt19937 random(5);
    std::uniform_real_distribution<float> level(0.001f, 20.0f);
    for (std::uint32_t line = 0; line < 3000; ++line)
        SetLineLevel(*t.data, line, level(random));
    t.records.Spectrum.DrawThickSpectrum = 1;
    // An ink nothing else in the pane uses.
    t.records.Spectrum.LineColor = 0x3080F0;
    std::fill(std::begin(t.records.Markers.MarkerEnable), std::end(t.records.Markers.MarkerEnable), 0u);
    TQuarnPlot& plot = t.Make();
    plot.UpdateDisplay(100.0f);
    const std::vector<PlotPoint>& points = plot.LivePoints(0);
    ASSERT_GT(points.size(), 500u);

    const QImage shown = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb ink = ColorFromRef(t.records.Spectrum.LineColor).rgb();
    const PlotRect pane = plot.PaneRect(0);
    QImage byQt(shown.size(), QImage::Format_RGB32);
    byQt.fill(Qt::black);
    const QRect area(pane.left, pane.top, pane.Width(), pane.Height());
    DrawWithQtPen(byQt, points, area, ink);
    const auto [inked, differ] = CompareInk(shown, byQt, area, ink);
    // Two pixels wide: well over two pixels a column. Nothing beyond the
    // pane's right edge.
    EXPECT_GT(inked, 2 * pane.Width());
    for (int y = pane.top; y < pane.bottom; ++y)
        ASSERT_NE(shown.pixel(pane.right, y), ink) << "row " << y;
    EXPECT_LE(differ, inked / 250) << differ << " of " << inked;
    SaveScreenshot(plot, "plot_thick_trace");
}

// A thin trace of each plot type sets the pixels Qt's one-pixel pen sets
// for its points: the line, the bars' outline (drawn as one set of lines),
// and the stepped bars.
TEST(TQuarnPlotTest, AThinTraceOfEachPlotTypeCoversThePixelsOfQtsOnePixelPen)
{
    for (const std::uint16_t type : {0, 1, 2}) {
        SCOPED_TRACE(type);
        ZoomedTone t(ScalingOpts::kLogMagnitude, 50.0f, 0.01f);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> level(0.001f, 20.0f);
        for (std::uint32_t line = 0; line < 3000; ++line)
            SetLineLevel(*t.data, line, level(random));
        t.records.Spectrum.PlotType = type;
        t.records.Spectrum.DrawThickSpectrum = 0;
        t.records.Spectrum.LineColor = 0x3080F0;
        std::fill(std::begin(t.records.Markers.MarkerEnable), std::end(t.records.Markers.MarkerEnable), 0u);
        // Two columns a line: the bars are wider than a pixel.
        t.records.Spectrum.StartFreq = 800.0f;
        t.records.Spectrum.StopFreq = 800.0f + 500.0f * static_cast<float>(kLineSpacing);
        TQuarnPlot& plot = t.Make();
        plot.UpdateDisplay(100.0f);
        const std::vector<PlotPoint>& points = plot.LivePoints(0);
        ASSERT_GT(points.size(), 300u);
        const QImage shown = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb ink = ColorFromRef(t.records.Spectrum.LineColor).rgb();
        const PlotRect pane = plot.PaneRect(0);
        QImage byQt(shown.size(), QImage::Format_RGB32);
        byQt.fill(Qt::black);
        const QRect area(pane.left, pane.top, pane.Width(), pane.Height());
        DrawWithQtPen(byQt, points, area, ink, 1);
        const auto [inked, differ] = CompareInk(shown, byQt, area, ink);
        EXPECT_GT(inked, pane.Width());
        EXPECT_LE(differ, inked / 250) << differ << " of " << inked;
    }
}

// With "Pull Cursor To Trace" the cross and its value box stand on the
// trace at the cursor's column, at the level the readout gives, wherever in
// the pane the mouse is.
TEST(TQuarnPlotTest, ACursorPulledToTheTraceIsDrawnWhereItsValueIs)
{
    // dB 0 … -100 over 400 rows: the -25 dB tone on row 300 (off the grid
    // lines), the -100 dB floor on row 0, kept inside the pane on its last row.
    ZoomedTone tone(ScalingOpts::kLogarithmic, -25.0f, -100.0f);
    tone.records.Spectrum.GrabCursorFlag = 1;
    TQuarnPlot& plot = tone.Make();
    plot.UpdateDisplay(0.0f);
    const PlotRect pane = plot.PaneRect(0);
    // Column 501 (client x = left + 501) reads the tone's line.
    const QPoint onTone(pane.left + 501, pane.top + 60);
    QTest::mousePress(&plot, Qt::LeftButton, Qt::NoModifier, onTone);
    ASSERT_TRUE(plot.Cursor().CursorShown());
    EXPECT_FLOAT_EQ(plot.Cursor().CursorYValue(), -25.0f);
    EXPECT_EQ(plot.Cursor().LastPoint(), (PlotPoint{onTone.x(), pane.bottom - 300}));
    plot.show();
    SaveScreenshot(plot, "plot_cursor_on_trace");
    // Dragged over the floor near the top: the cross goes down to the floor.
    QTest::mouseMove(&plot, QPoint(pane.left + 200, pane.top + 5));
    EXPECT_FLOAT_EQ(plot.Cursor().CursorYValue(), -100.0f);
    EXPECT_EQ(plot.Cursor().LastPoint(), (PlotPoint{pane.left + 200, pane.bottom - 1}));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(pane.left + 200, pane.top + 5));

    // Without the pull the cursor stays at the mouse and reads its row:
    // 100 rows up is -75 dB.
    tone.records.Spectrum.GrabCursorFlag = 0;
    const QPoint row(pane.left + 501, pane.bottom - 100);
    QTest::mousePress(&plot, Qt::LeftButton, Qt::NoModifier, row);
    EXPECT_FLOAT_EQ(plot.Cursor().CursorYValue(), -75.0f);
    EXPECT_EQ(plot.Cursor().LastPoint(), (PlotPoint{row.x(), row.y()}));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, row);
}

// Autoscale frames what the pane draws in its span; a shown power meter,
// which sums every line of the channel, counts as well, so that its bar fits.
TEST(TQuarnPlotTest, AutoscaleOnALogAxisFramesTheVisibleTraceAndAShownMeter)
{
    // 1.5 % at 1 kHz over a 0.01 % floor in the 500 … 1500 Hz span; the
    // meter reads 220 %, as a strong tone outside the span would make it.
    ZoomedTone tone(ScalingOpts::kLogMagnitude, 1.5f, 0.01f);
    tone.records.Spectrum.ShowPowerMeter = 0;
    SpectralDataTestAccess::SetTotalPower(*tone.data, 220.0f);
    TQuarnPlot& plot = tone.Make();
    plot.Autoscale();
    // Top: 1.5 in the decade of 1, trunc(1.5 + 1) = 2. Bottom: a decade
    // under 0.01's, 0.001.
    EXPECT_FLOAT_EQ(tone.records.Spectrum.PlotTop, 2.0f);
    EXPECT_FLOAT_EQ(tone.records.Spectrum.PlotRange, 0.001f);

    // With the meter shown its 220 sets the top: trunc(2.2 + 1) · 100; the
    // bottom still comes from the span.
    tone.records.Spectrum.ShowPowerMeter = 1;
    plot.Autoscale();
    EXPECT_FLOAT_EQ(tone.records.Spectrum.PlotTop, 300.0f);
    EXPECT_FLOAT_EQ(tone.records.Spectrum.PlotRange, 0.001f);

    // Lines without a level lie at the scale's least, 1e-6, which is then
    // the bottom (not 1, above the top).
    tone.records.Spectrum.ShowPowerMeter = 0;
    SetKnownSpectrum(*tone.data, 1000.0f, 1.5f, 0.0f);
    plot.Autoscale();
    EXPECT_FLOAT_EQ(tone.records.Spectrum.PlotTop, 2.0f);
    EXPECT_FLOAT_EQ(tone.records.Spectrum.PlotRange, 1e-6f);
}

// On a dB axis the meter's total power, and with peak hold on its held total
// power, raise the top when they stand above the trace, and only while the
// meter is shown. The trace: −20 dB at 1 kHz over −100 dB, live and held.
// Steps of 10 dB for spans above 20 dB; the bottom, trunc(−100 / 10) · 10
// less a step, is −110 throughout.
TEST(TQuarnPlotTest, AutoscaleOnADbAxisCountsTheShownMetersTotalAndHeldPower)
{
    struct Row {
        std::uint16_t meter, peakHold;
        float total, heldTotal;
        float top, range;
    } rows[] = {
        // Meter hidden: the trace's −20 is the top, range −20 + 110.
        {0, 0, 12.5f, 12.5f, -20.0f, 90.0f},
        {0, 4, 12.5f, 12.5f, -20.0f, 90.0f},
        // Shown: 12.5 → trunc(1.25) · 10 + 10 (above 0, one step up) = 20.
        {1, 0, 12.5f, -30.0f, 20.0f, 130.0f},
        // A total below the trace leaves the trace's top.
        {1, 0, -30.0f, -30.0f, -20.0f, 90.0f},
        // The held total counts with peak hold on, not without it.
        {1, 4, -30.0f, 12.5f, 20.0f, 130.0f},
        {1, 0, -30.0f, 12.5f, -20.0f, 90.0f},
        // −15: trunc(−1.5) · 10 = −10, no step up below 0.
        {1, 4, -15.0f, -30.0f, -10.0f, 100.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "meter " << row.meter << " hold " << row.peakHold << " total "
                                        << row.total << " held " << row.heldTotal);
        ZoomedTone tone(ScalingOpts::kLogarithmic, -20.0f, -100.0f);
        tone.records.Spectrum.ShowPowerMeter = row.meter;
        tone.records.Spectrum.PeakHold = row.peakHold;
        TQuarnPlot& plot = tone.Make();
        THoldEntry* hold = SpectralDataTestAccess::Hold(*tone.data);
        const std::uint32_t toneLine = tone.data->GetBinIndex(1000.0f);
        for (std::uint32_t i = 0; i < tone.data->GetLines(); ++i)
            hold[i].Value = i == toneLine ? -20.0f : -100.0f;
        SpectralDataTestAccess::SetTotalPower(*tone.data, row.total);
        SpectralDataTestAccess::SetHoldTotalPower(*tone.data, row.heldTotal);
        plot.Autoscale();
        EXPECT_FLOAT_EQ(tone.records.Spectrum.PlotTop, row.top);
        EXPECT_FLOAT_EQ(tone.records.Spectrum.PlotRange, row.range);
    }
}

TEST(TQuarnPlotTest, CoherencePanesUseTheZeroToOnePointTwoScale)
{
    // A "coherence" of 0.6 lands half-way up the second pane, a coherence
    // pane when the channels are processed as 11 (and the first as 10).
    PlotRecords records(ScalingOpts::kLinear, ScalingOpts::kFftLinear);
    records.Settings.ChannelProcessing = 11;
    auto first = MakeData(records, 0);
    auto second = MakeData(records, 1);
    SetKnownSpectrum(*second, 1000.0f, 0.6f, 0.0f);
    auto plot = MakePlot(records, first.get(), second.get(), kClientWidth, 2 * kClientHeight);
    EXPECT_FALSE(plot->IsCoherencePane(0));
    const PlotRect lower = plot->PaneRect(1);
    // Within the rounding of a level stored as power.
    EXPECT_NEAR(HighestRow(plot->LivePoints(1)), lower.bottom - lower.Height() / 2, 1);
    EXPECT_EQ(plot->CoherenceTicks().back().Pos, lower.Height());
    records.Settings.ChannelProcessing = 10;
    EXPECT_TRUE(plot->IsCoherencePane(0));
}

// One plot of the tone on the dB axis 0 … −140, driven in turn through the
// held cursor and its menu, a zoom drag and the typed fields, and its exports.
TEST(QuarnPlotInteraction, CursorKeysMenuZoomDragTypedFieldsPeakHoldAndTextExports)
{
    // A 1 kHz tone at -20 dB over a -90 dB floor, 0 … 24 kHz.
    TonePlot t(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -20.0f, -90.0f);
    t.records.Spectrum.StartFreq = 0.0f;
    t.records.Spectrum.StopFreq = 24000.0f;
    TQuarnPlot& plot = t.Make(1000, 500);
    t.records.Spectrum.GrabCursorFlag = 1;
    // The cursor reads the highest line between the previous column and its
    // own: the column after 1000 Hz's covers the tone's line.
    const int x = plot.Areas().Plot.left + plot.FrequencyToColumn(1000.0f) + 1;
    const int y = (plot.Areas().Plot.top + plot.Areas().Plot.bottom) / 2;
    // Pressed a column before the tone's: the arrow key steps onto it.
    QTest::mousePress(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(x - 1, y));
    ASSERT_TRUE(plot.Cursor().CursorShown());
    QTest::keyClick(&plot, Qt::Key_Right);
    EXPECT_EQ(plot.Cursor().LastPoint().x, x);
    EXPECT_FLOAT_EQ(plot.Cursor().CursorYValue(), -20.0f);
    // dB axis 0 … −140 over the pane's rows: −20 dB stands 1/7 down.
    const PlotRect area = plot.Areas().Plot;
    EXPECT_NEAR(plot.Cursor().LastPoint().y, area.bottom - static_cast<int>(area.Height() * 120.0 / 140.0), 1);
    QTest::keyClick(&plot, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(plot.Cursor().LastPoint().x, x - 10);
    QTest::keyClick(&plot, Qt::Key_Right, Qt::ShiftModifier);
    ChooseFromMenu(plot, QPoint(x, y), {"Copy measurement cursor Values to clipboard"});
    EXPECT_FALSE(plot.Cursor().Tracking());  // the menu let the cursor go
    // Pulled to the trace: the tone's −20 dB at its line's frequency.
    const QString frequency = QString::number(static_cast<double>(plot.GetColumnFrequency(x)), 'f', 4);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Freq=\t" + frequency + "\r\nAmp=\t-20.0000\r\n");

    // The right-button menu acts and greys what is not there.
    const QPoint at((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ChooseFromMenu(plot, at, {"Set Marker", "3"});
    EXPECT_EQ(t.records.Markers.MarkerEnable[2], 1u);
    EXPECT_FLOAT_EQ(t.records.Markers.MarkerFreq[2], plot.GetColumnFrequency(at.x()));

    ChooseFromMenu(plot, at, {"Clear Marker", "All"});
    EXPECT_EQ(t.records.Markers.MarkerEnable[2], 0u);

    // Autoscale from the menu: peak −20, floor −90 → top −20, range 80.
    t.records.Spectrum.PeakHold = 0;
    t.records.Spectrum.ShowPowerMeter = 0;
    ChooseFromMenu(plot, at, {"&Autoscale Spectrum"});
    EXPECT_FLOAT_EQ(t.records.Spectrum.PlotTop, -20.0f);
    EXPECT_FLOAT_EQ(t.records.Spectrum.PlotRange, 80.0f);

    // The owner's commands are greyed until the owner has them.
    bool helpAsked = false;
    QObject::connect(&plot, &TQuarnPlot::Command, [&](std::uint32_t id) { helpAsked |= id == 1501; });
    ChooseFromMenu(plot, at, {"&Help"}, true);
    plot.SetOwnerCommandEnabled(1501, true);
    ChooseFromMenu(plot, at, {"&Help"});
    EXPECT_TRUE(helpAsked);

    // A zoom drag over columns 100 … 300 of the whole span.
    QTest::mouseClick(plot.ToolButton(401), Qt::LeftButton);
    ASSERT_TRUE(plot.ZoomMode());
    const float f1 = plot.GetColumnFrequency(area.left + 100);
    const float f2 = plot.GetColumnFrequency(area.left + 300);
    QTest::mousePress(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(area.left + 100, y));
    QTest::mouseMove(&plot, QPoint(area.left + 300, y));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(area.left + 300, y));
    EXPECT_FALSE(plot.ZoomMode());
    EXPECT_FLOAT_EQ(t.records.Spectrum.StartFreq, f1);
    EXPECT_FLOAT_EQ(t.records.Spectrum.StopFreq, f2);
    // The axis is redrawn over the new span.
    EXPECT_NEAR(plot.GetColumnFrequency(area.left), f1, 2.0 * kLineSpacing);
    // Zoom full brings the whole span back and greys itself.
    QTest::mouseClick(plot.ToolButton(402), Qt::LeftButton);
    EXPECT_EQ(plot.SpanStart(), static_cast<int>(t.data->GetStartBin()));
    EXPECT_TRUE(plot.ToolButton(402)->IsGreyed());

    // Typed fields redraw the axis: dB ticks from the top down, the first reads the top.
    QLineEdit* top = plot.PlotTopEdit();
    top->selectAll();
    QTest::keyClicks(top, "-10");
    EXPECT_FLOAT_EQ(t.records.Spectrum.PlotTop, -10.0f);
    ASSERT_FALSE(plot.AmplitudeTicks().empty());
    EXPECT_EQ(plot.AmplitudeTicks().front().Label, "-10.00");
    // A range below the least is stored as the least, the field left alone
    // while typing and corrected on Return.
    QLineEdit* range = plot.PlotRangeEdit();
    range->selectAll();
    QTest::keyClicks(range, "0.01");
    EXPECT_FLOAT_EQ(t.records.Spectrum.PlotRange, 0.1f);
    EXPECT_EQ(range->text(), QStringLiteral("0.01"));
    QTest::keyClick(range, Qt::Key_Return);
    EXPECT_EQ(range->text(), QStringLiteral("0.1"));

    // Peak hold off clears the held trace.
    t.records.Spectrum.PeakHold = 4;
    plot.ResetView();
    t.data->SetPeakHoldMode(4);
    t.data->UpdatePeakHold();
    plot.UpdateDisplay(0.0f);
    ASSERT_FALSE(plot.HoldPoints(0).empty());
    plot.PeakHoldList()->setFocus();
    QTest::keyClick(plot.PeakHoldList(), Qt::Key_Home);  // the first item, "Off"
    EXPECT_EQ(t.records.Spectrum.PeakHold, 0);
    EXPECT_TRUE(plot.HoldPoints(0).empty());

    // The visible bins as text.
    t.records.Spectrum.PeakHold = 0;
    plot.SetFrequencyRange(73.0f, 74.8f);  // bins 100 … 102 at 0.732421875 Hz

    const std::string header = std::string(";Freq(Hz)\t") + t.data->GetUnitLabel(false) + ": " + t.data->GetName();
    plot.CopyAsText();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              header + "\r\n73.2422\t-90.000000\r\n73.9746\t-90.000000\r\n74.7070\t-90.000000\r\n");

    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("spectrum.txt")).toStdString();
    plot.SetSaveFileChooser([&](QWidget*) { return path; });
    // A desktop that writes decimal commas changes no byte.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    plot.WriteTextFile();
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(ReadText(path), std::string(";Channel: 0 ") + t.data->GetName() + "\r\n;Freq(Hz)\t" +
                                  t.data->GetUnitLabel(false) +
                                  "\r\n73.242188\t-90.000000\r\n73.974609\t-90.000000\r\n74.707031\t-90.000000\r\n");

    // numpy reads it after the header lines (where numpy is installed).
    const std::string command = "/usr/bin/python3 -c \"import numpy; a = numpy.loadtxt('" + path +
                                "', comments=';'); print(a.shape[0], a.shape[1], round(a[2][0], 6))\" 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    char out[128] = {};
    const bool read = pipe != nullptr && std::fgets(out, sizeof out, pipe) != nullptr;
    if (pipe != nullptr && ::pclose(pipe) == 0 && read) {
        EXPECT_STREQ(out, "3 2 74.707031\n");
    }

    // A file that cannot be written is said, naming it.
    MessageLog said;
    plot.SetSaveFileChooser([&](QWidget*) { return dir.path().toStdString() + "/missing/spectrum.txt"; });
    plot.WriteTextFile();
    EXPECT_THAT(said.texts, testing::ElementsAre(testing::HasSubstr("missing/spectrum.txt")));
}

// A frame paints the panes again, not the controls beside them: the tool
// strip and the overlay buttons get no paint event from it.
TEST(TQuarnPlotTest, AFrameRepaintsThePanesAndNotThePlotsControls)
{
    struct PaintCounter : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                ++counts[watched];
            return false;
        }
        std::map<QObject*, int> counts;
    };
    TonePlot tone(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -20.0f, -100.0f);
    tone.records.Spectrum.ShowOverlayControls = 1;
    tone.records.Spectrum.ShowPowerMeter = 1;
    tone.records.Spectrum.ShowRMSLevel = 1;
    TQuarnPlot& plot = tone.Make(kClientWidth, kClientHeight);
    plot.show();
    plot.UpdateDisplay(0.0f);
    QApplication::processEvents();
    QApplication::processEvents();

    PaintCounter counter;
    const QList<QWidget*> children = plot.findChildren<QWidget*>();
    ASSERT_FALSE(children.isEmpty());
    plot.installEventFilter(&counter);
    for (QWidget* child : children)
        child->installEventFilter(&counter);
    plot.UpdateDisplay(5.0f);
    QApplication::processEvents();
    EXPECT_GT(counter.counts[&plot], 0) << "the frame reached the screen";
    for (QWidget* child : children) {
        if (child->isVisible()) {
            EXPECT_EQ(counter.counts[child], 0) << child->metaObject()->className() << " at " << child->x() << ","
                                                << child->y() << " was painted again";
        }
    }
}

// Pixels of one colour inside a rectangle of a grabbed plot.
int InkPixels(const QImage& image, const QRect& area, QRgb ink)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == ink ? 1 : 0;
    return count;
}

// The frequency axis's tick marks stand under the lowest pane only: under
// the one pane, and under the lower of two with the upper pane's trace
// drawn too. The amplitude ticks, the panes' frames and titles around them.
TEST(TQuarnPlotTest, TheFrequencyAxisStandsUnderTheLowestPaneAndBothPanesAreDrawn)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    // The data's whole span: no scroll bar between a pane and its axis.
    records.Spectrum.StartFreq = 0.0f;
    records.Spectrum.StopFreq = 95000.0f;
    records.Spectrum.LineColor = 0x3080F0;
    records.Spectrum.ShowPowerMeter = 1;
    records.Spectrum.ShowOverlayControls = 1;
    records.Spectrum.OverlayLegendSize = 8;
    auto left = MakeData(records, 0);
    auto right = MakeData(records, 1);
    SetKnownSpectrum(*left, 1000.0f, -20.0f, -100.0f);
    SetKnownSpectrum(*right, 1000.0f, -20.0f, -100.0f);
    const auto ticksUnder = [](TQuarnPlot& plot, const QImage& shown, int pane) {
        const PlotRect r = plot.PaneRect(pane);
        // The marks reach two rows below the pane's frame.
        return InkPixels(shown, QRect(r.left, r.bottom + 1, r.Width(), 2), plot.palette().color(QPalette::WindowText).rgb());
    };
    const QRgb trace = ColorFromRef(records.Spectrum.LineColor).rgb();
    const auto tracePixels = [&](TQuarnPlot& plot, const QImage& shown, int pane) {
        const PlotRect r = plot.PaneRect(pane);
        return InkPixels(shown, QRect(r.left, r.top, r.Width(), r.Height()), trace);
    };

    auto single = MakePlot(records, left.get(), nullptr, kClientWidth, kClientHeight);
    single->UpdateDisplay(0.0f);
    ASSERT_FALSE(single->ScrollBarShown());
    const std::size_t ticks = single->FrequencyTicks().size();
    ASSERT_GT(ticks, 3u);
    QImage shown = single->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GE(ticksUnder(*single, shown, 0), static_cast<int>(2 * ticks)) << "two rows of every tick mark";
    EXPECT_GT(tracePixels(*single, shown, 0), single->PaneRect(0).Width());
    // The amplitude ticks: 3-pixel marks left of the pane, over its frame.
    const QRgb ink = single->palette().color(QPalette::WindowText).rgb();
    const PlotRect pane = single->PaneRect(0);
    int marks = 0;
    for (const PlotTick& tick : single->AmplitudeTicks()) {
        const int y = pane.top + tick.Pos;
        if (y >= pane.bottom)
            continue;
        ++marks;
        EXPECT_EQ(InkPixels(shown, QRect(pane.left - 3, y, 3, 1), ink), 3) << "tick at row " << y;
        // And right of the power meter's bar (pane right + 10 … + 30), over its frame.
        EXPECT_EQ(InkPixels(shown, QRect(pane.right + 31, y, 3, 1), ink), 3) << "meter tick at row " << y;
    }
    EXPECT_GE(marks, 7);
    // The axis title "Frequency (Hz)" centred on the client area, its lower
    // part in the last rows above the client's bottom.
    int titleLeft = kClientWidth;
    int titleRight = 0;
    for (int y = kClientHeight - 8; y < kClientHeight - 2; ++y)
        for (int x = pane.left; x < pane.right; ++x)
            if (qGray(shown.pixel(x, y)) < 100) {
                titleLeft = std::min(titleLeft, x);
                titleRight = std::max(titleRight, x);
            }
    ASSERT_LT(titleLeft, titleRight);
    EXPECT_NEAR((titleLeft + titleRight) / 2, kClientWidth / 2, 4);
    // The heading "Overlays" over the overlay controls, right of the meter.
    int heading = 0;
    for (int y = pane.top - 20; y < pane.top - 1; ++y)
        for (int x = pane.right + 100; x < pane.right + 140; ++x)
            heading += qGray(shown.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(heading, 100);
    SaveScreenshot(*single, "plot_one_pane");
    // The unit label, turned upright at the client's left edge, centred 6 px
    // below the plot area's middle.
    const PlotRect area = single->Areas().Plot;
    int labelTop = area.bottom;
    int labelBottom = area.top;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = 0; x < 20; ++x)
            if (qGray(shown.pixel(x, y)) < 100) {
                labelTop = std::min(labelTop, y);
                labelBottom = std::max(labelBottom, y);
            }
    ASSERT_LT(labelTop, labelBottom);
    EXPECT_NEAR((labelTop + labelBottom) / 2, area.top + area.Height() / 2 + 6, 3);

    auto both = MakePlot(records, left.get(), right.get(), kClientWidth, 2 * kClientHeight);
    both->UpdateDisplay(0.0f);
    shown = both->grab().toImage().convertToFormat(QImage::Format_RGB32);
    SaveScreenshot(*both, "plot_two_panes");
    EXPECT_EQ(ticksUnder(*both, shown, 0), 0) << "no axis between the panes";
    EXPECT_GE(ticksUnder(*both, shown, 1), static_cast<int>(2 * both->FrequencyTicks().size()));
    for (int pane : {0, 1})
        EXPECT_GT(tracePixels(*both, shown, pane), both->PaneRect(pane).Width()) << "pane " << pane;
    // Both panes are framed alike: the same pixels just outside their top
    // and right edges.
    const PlotRect upper = both->PaneRect(0);
    const PlotRect lower = both->PaneRect(1);
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(shown.pixel(upper.left + 5, upper.top - 1 - d), shown.pixel(lower.left + 5, lower.top - 1 - d)) << d;
        EXPECT_EQ(shown.pixel(upper.right + d, upper.top + 50), shown.pixel(lower.right + d, lower.top + 50)) << d;
    }
    // Each pane's title ("Left", "Right"), dark text on the light window, is
    // centred over it.
    for (int pane : {0, 1}) {
        const PlotRect r = both->PaneRect(pane);
        int first = r.right;
        int last = r.left;
        for (int y = r.top - 18; y < r.top - 4; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (qGray(shown.pixel(x, y)) < 100) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        ASSERT_LT(first, last) << "pane " << pane;
        EXPECT_NEAR((first + last) / 2, r.left + r.Width() / 2, 3) << "pane " << pane;
    }
}

// The grid lines, one pixel wide, in the grid colour: a horizontal one for
// every tick of the dB axis.
TEST(TQuarnPlotTest, GridLinesAreOnePixelWide)
{
    const auto gridRows = [](TQuarnPlot& plot, std::uint32_t grid) {
        const QImage shown = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const PlotRect pane = plot.PaneRect(0);
        const QRgb ink = ColorFromRef(grid).rgb();
        // A column between the vertical grid lines and away from the tone.
        const int x = pane.left + 250;
        std::vector<int> rows;
        for (int y = pane.top; y < pane.bottom; ++y)
            if (shown.pixel(x, y) == ink)
                rows.push_back(y);
        return rows;
    };
    // dB 0 … -100 over 400 rows: a line every 10 dB, 40 rows apart.
    ZoomedTone dB(ScalingOpts::kLogarithmic, -20.0f, -100.0f);
    TQuarnPlot& plot = dB.Make();
    plot.UpdateDisplay(0.0f);
    std::vector<int> rows = gridRows(plot, dB.records.Spectrum.GridColor);
    ASSERT_GE(rows.size(), 9u);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_EQ(rows[i] - rows[i - 1], 40) << "row " << rows[i];

    // The vertical lines too are one pixel wide: along a row between two
    // horizontal lines, no two grid pixels side by side.
    const QImage shown = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const PlotRect pane = plot.PaneRect(0);
    const QRgb ink = ColorFromRef(dB.records.Spectrum.GridColor).rgb();
    const int y = rows[0] + 20;
    int lines = 0;
    for (int x = pane.left; x < pane.right; ++x) {
        if (shown.pixel(x, y) != ink)
            continue;
        ++lines;
        EXPECT_NE(shown.pixel(x + 1, y), ink) << "column " << x;
    }
    EXPECT_GE(lines, 5);
}

// The menu's Set Marker 1 sets the first marker at the clicked column;
// Clear Marker offers the markers that are set and greys the others.
TEST(TQuarnPlotTest, TheMenuSetsAndClearsMarkersAndChecksPullCursorToTrace)
{
    ZoomedTone tone(ScalingOpts::kLogarithmic, -20.0f, -100.0f);
    MarkerOpts& markers = tone.records.Markers;
    std::fill(std::begin(markers.MarkerEnable), std::end(markers.MarkerEnable), 0u);
    TQuarnPlot& plot = tone.Make();
    plot.show();
    const PlotRect pane = plot.PaneRect(0);
    const QPoint at((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2);
    ChooseFromMenu(plot, at, {"Set Marker", "1"});
    EXPECT_EQ(markers.MarkerEnable[0], 1u);
    EXPECT_FLOAT_EQ(markers.MarkerFreq[0], plot.GetColumnFrequency(at.x()));
    ChooseFromMenu(plot, at, {"Clear Marker", "2"}, true);
    ChooseFromMenu(plot, at, {"Clear Marker", "1"});
    EXPECT_EQ(markers.MarkerEnable[0], 0u);

    // "Pull Cursor To Trace" shows a check while it is on; choosing it
    // turns it over.
    const auto pullChecked = [&] {
        std::optional<bool> checked;
        QTimer::singleShot(50, [&] {
            QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                if (action->text() == QStringLiteral("Pull Cursor To Trace"))
                    checked = action->isCheckable() && action->isChecked();
            menu->close();
        });
        QTest::mouseClick(&plot, Qt::RightButton, Qt::NoModifier, at);
        return checked;
    };
    tone.records.Spectrum.GrabCursorFlag = 1;
    EXPECT_EQ(pullChecked(), std::optional<bool>(true));
    ChooseFromMenu(plot, at, {"Pull Cursor To Trace"});
    EXPECT_EQ(tone.records.Spectrum.GrabCursorFlag, 0u);
    EXPECT_EQ(pullChecked(), std::optional<bool>(false));
}

// With peak hold on, Copy as Text asks for the source, starting on the one
// chosen last; Cancel copies nothing.
TEST(TQuarnPlotTest, CopyAsTextAsksForTheSourceStartingOnTheLastChoice)
{
    ZoomedTone tone(ScalingOpts::kLogarithmic, -20.0f, -100.0f);
    tone.records.Spectrum.PeakHold = 4;
    TQuarnPlot& plot = tone.Make();
    plot.show();
    const auto answer = [](const char* choose, bool ok, QString* startedOn) {
        OnModal<QDialog>([=](QDialog& dialog) {
            const QList<QRadioButton*> radios = dialog.findChildren<QRadioButton*>();
            startedOn->clear();
            for (QRadioButton* radio : radios)
                if (radio->isChecked())
                    *startedOn = radio->text();
            for (QRadioButton* radio : radios)
                if (radio->text() == QString::fromUtf8(choose))
                    radio->click();
            ok ? dialog.accept() : dialog.reject();
        });
    };
    QString startedOn;
    answer("Peak Hold Data", true, &startedOn);
    plot.CopyAsText();
    EXPECT_FALSE(startedOn.isEmpty()) << "one source is chosen when the question opens";
    answer("Spectral Data", true, &startedOn);
    plot.CopyAsText();
    EXPECT_EQ(startedOn, QStringLiteral("Peak Hold Data"));
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral(";Freq(Hz)\t"))) << copied.left(40).toStdString();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    answer("Peak Hold Data", false, &startedOn);
    plot.CopyAsText();
    EXPECT_EQ(startedOn, QStringLiteral("Spectral Data"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before")) << "Cancel copies nothing";
}

// The peak-hold trace is drawn in its own colour while peak hold is on, and
// not at all once it is off, whatever hold points are left.
TEST(TQuarnPlotTest, TheHoldTraceIsDrawnOnlyWhilePeakHoldIsOn)
{
    ZoomedTone tone(ScalingOpts::kLogarithmic, -20.0f, -100.0f);
    tone.records.Spectrum.PeakHold = 4;
    tone.records.Spectrum.PeakColor = 0xF08030;
    TQuarnPlot& plot = tone.Make();
    tone.data->SetPeakHoldMode(4);
    tone.data->UpdatePeakHold();
    // The tone falls to -60 dB: the hold stays 40 dB (160 rows) above it.
    SetLineLevel(*tone.data, tone.data->GetBinIndex(1000.0f), -60.0f);
    plot.UpdateDisplay(0.0f);
    ASSERT_FALSE(plot.HoldPoints(0).empty());
    const PlotRect pane = plot.PaneRect(0);
    const QRect inside(pane.left, pane.top, pane.Width(), pane.Height());
    const QRgb held = ColorFromRef(tone.records.Spectrum.PeakColor).rgb();
    EXPECT_GE(InkPixels(plot.grab().toImage().convertToFormat(QImage::Format_RGB32), inside, held), 160);

    tone.records.Spectrum.PeakHold = 0;
    plot.UpdateDisplay(0.0f);
    EXPECT_EQ(InkPixels(plot.grab().toImage().convertToFormat(QImage::Format_RGB32), inside, held), 0);
}

// The power meter's bar shows the power of the averaged spectrum, also
// while peak hold keeps the latest block apart (here none yet).
TEST(TQuarnPlotTest, ThePowerMeterReadsTheAveragedSpectrum)
{
    // dB 0 … -100 over 400 rows. Every line of the channel counts: the tone
    // at -20 dB (the floor's 32768 lines at -100 dB add 0.0014 dB), less the
    // flat-top window's noise bandwidth, 10^0.534 lines (5.34 dB): -25.34 dB,
    // trunc(400 · 74.66 / 100) = 298. A tone at -40 dB: the floor
    // now adds 0.14 dB, -45.20 dB, trunc(400 · 54.80 / 100) = 219.
    ZoomedTone tone(ScalingOpts::kLogarithmic, -20.0f, -100.0f);
    tone.records.Spectrum.ShowPowerMeter = 1;
    tone.records.Spectrum.PeakHold = 4;
    tone.records.Spectrum.PeakColor = 0xF08030;
    TQuarnPlot& plot = tone.Make();
    tone.data->SetPeakHoldMode(4);
    plot.UpdateDisplay(0.0f);
    EXPECT_EQ(plot.MeterHeight(0), 298);
    SetLineLevel(*tone.data, tone.data->GetBinIndex(1000.0f), -40.0f);
    plot.UpdateDisplay(0.0f);
    EXPECT_EQ(plot.MeterHeight(0), 219);

    // Peak hold Forever keeps the hold bar, in the peak colour, at the
    // -25.34 dB of before above the live bar; with peak hold off none is drawn.
    const PlotRect pane = plot.PaneRect(0);
    const QRgb held = ColorFromRef(tone.records.Spectrum.PeakColor).rgb();
    const auto heldRows = [&] {
        const QImage shown = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
        return InkPixels(shown, QRect(pane.right + 20, pane.top, 1, pane.Height()), held);
    };
    EXPECT_EQ(heldRows(), 298 - 219);
    tone.records.Spectrum.PeakHold = 0;
    plot.UpdateDisplay(0.0f);
    EXPECT_EQ(heldRows(), 0);
}

// Octave bands drawn as a line: the hold trace follows the held band
// levels, the live trace the averaged ones.
TEST(TQuarnPlotTest, AnOctaveHoldTraceFollowsTheHeldBandLevels)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kOctave);
    records.Spectrum.PlotType = 0;
    records.Spectrum.PeakHold = 4;
    auto data = MakeData(records);
    data->SetPeakHoldMode(4);
    const std::uint32_t bands = data->GetBandCount();
    ASSERT_GT(bands, 10u);
    for (std::uint32_t b = 0; b < bands; ++b) {
        SpectralDataTestAccess::BandLevels(*data)[b] = -80.0f;
        SpectralDataTestAccess::Hold(*data)[b].Value = -20.0f;
    }
    SpectralDataTestAccess::MarkAveraged(*data);
    auto plot = MakePlot(records, data.get(), nullptr, kClientWidth, kClientHeight);
    plot->UpdateDisplay(0.0f);
    // dB 0 … -140 over the pane: -20 dB 120/140 of the way up, -80 dB 60/140.
    const PlotRect pane = plot->PaneRect(0);
    const int h = pane.Height();
    EXPECT_EQ(HighestRow(plot->HoldPoints(0)), pane.bottom - h * 120 / 140);
    EXPECT_EQ(HighestRow(plot->LivePoints(0)), pane.bottom - h * 60 / 140);
}

// A log axis's top shows four decimals once the plot stands (three only
// while it is being built), and again after a reset.
TEST(TQuarnPlotTest, ALogTopShowsFourDecimalsAndALinearRangeDoesNotStep)
{
    ZoomedTone tone(ScalingOpts::kLogMagnitude, 50.0f, 0.01f);
    TQuarnPlot& plot = tone.Make();
    EXPECT_EQ(plot.PlotTopEdit()->text(), QStringLiteral("100.0000"));
    EXPECT_EQ(plot.RangeCaption(), QStringLiteral("Plot Bottom:"));
    tone.records.Spectrum.PlotTop = 2.5f;
    plot.ResetView();
    EXPECT_EQ(plot.PlotTopEdit()->text(), QStringLiteral("2.5000"));
    EXPECT_EQ(plot.PlotRangeEdit()->text(), QStringLiteral("0.000100"));

    // A linear axis has no range: its greyed spinner does not step.
    tone.records.Scaling.AmpScaleType = ScalingOpts::kLinear;
    plot.ResetView();
    ASSERT_EQ(plot.PlotRangeEdit()->text(), QStringLiteral("N/A"));
    plot.StepField(false, true);
    EXPECT_EQ(plot.PlotRangeEdit()->text(), QStringLiteral("N/A"));
}

// Octave bars are filled, and the horizontal grid is drawn again over
// them: inside a bar a grid row keeps the grid's colour.
TEST(TQuarnPlotTest, TheGridStandsOverOctaveBars)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kOctave);
    records.Spectrum.PlotType = 1;
    records.Spectrum.PeakHold = 0;
    records.Spectrum.LineColor = 0x3080F0;
    std::fill(std::begin(records.Markers.MarkerEnable), std::end(records.Markers.MarkerEnable), 0u);
    auto data = MakeData(records);
    for (std::uint32_t b = 0; b < data->GetBandCount(); ++b)
        SpectralDataTestAccess::BandLevels(*data)[b] = -20.0f;
    SpectralDataTestAccess::MarkAveraged(*data);
    auto plot = MakePlot(records, data.get(), nullptr, kClientWidth, kClientHeight);
    plot->UpdateDisplay(0.0f);
    const QImage shown = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const PlotRect pane = plot->PaneRect(0);
    const QRgb bar = ColorFromRef(records.Spectrum.LineColor).rgb();
    const QRgb grid = ColorFromRef(records.Spectrum.GridColor).rgb();
    // The -70 dB line, half-way down the 0 … -140 dB axis, crosses every bar.
    const int y = pane.top + pane.Height() / 2;
    int inBars = 0;
    for (int x = pane.left; x < pane.right; ++x) {
        if (shown.pixel(x, y + 3) != bar || shown.pixel(x, y - 3) != bar)
            continue;
        ++inBars;
        EXPECT_EQ(shown.pixel(x, y), grid) << "column " << x;
    }
    EXPECT_GT(inBars, pane.Width() / 2);
}

// The corner buttons fold the tool strip, the power meter and the overlay
// controls away and back, and the plot area takes the room: right margin
// 40, + 64 for the legend of 8 characters, + 66 for the meter.
TEST(TQuarnPlotTest, TheCornerButtonsFoldTheStripTheMeterAndTheOverlayControlsAndTheStyleButtonsChoose)
{
    ZoomedTone tone(ScalingOpts::kLogarithmic, -20.0f, -100.0f);
    tone.records.Spectrum.ShowPowerMeter = 1;
    tone.records.Spectrum.ShowOverlayControls = 1;
    tone.records.Spectrum.ShowToolbar = 1;
    tone.records.Spectrum.OverlayLegendSize = 8;
    TQuarnPlot& plot = tone.Make();
    plot.show();
    plot.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&plot));
    const int top = plot.Areas().Plot.top;
    ASSERT_EQ(plot.Areas().Plot.right, kClientWidth - 170);
    // The corners, 10 × 10: the meter's at plot right + 16, the overlays' at
    // plot right + right margin − 12, both 12 px above the client's bottom.
    const int right = plot.Areas().Plot.right;
    EXPECT_EQ(plot.CornerButton(1)->geometry(), QRect(right + 16, kClientHeight - 12, 10, 10));
    EXPECT_EQ(plot.CornerButton(2)->geometry(), QRect(right + 170 - 12, kClientHeight - 12, 10, 10));
    // The overlay controls: a column 8 px right of the plot area and the
    // meter's 66; row n 22 + 16·n below the pane's top, the Set button
    // (14 × 14) a pixel up and left of it, the show box 16 px right.
    const int x0 = plot.Areas().Plot.right + 8 + 66;
    for (int n = 0; n < TQuarnPlot::kOverlaySlots; ++n) {
        const int y = plot.PaneRect(0).top + 22 + 16 * n;
        EXPECT_EQ(plot.OverlayStoreButton(0, n)->geometry(), QRect(x0 - 1, y - 1, 14, 14)) << n;
        EXPECT_EQ(plot.OverlayShowBox(0, n)->geometry(), QRect(x0 + 16, y, 14, 14)) << n;
    }
    const auto click = [&](int which) {
        EXPECT_TRUE(plot.CornerButton(which)->isFlat()) << which;
        QTest::mouseClick(plot.CornerButton(which), Qt::LeftButton);
        QApplication::processEvents();
    };
    click(2);
    EXPECT_EQ(tone.records.Spectrum.ShowOverlayControls, 0u);
    EXPECT_EQ(QApplication::focusWidget(), plot.ToolButton(401)) << "the zoom button takes the focus";
    EXPECT_EQ(plot.Areas().Plot.right, kClientWidth - 106);
    EXPECT_EQ(plot.CornerButton(2)->text(), QStringLiteral("+"));
    click(1);
    EXPECT_EQ(tone.records.Spectrum.ShowPowerMeter, 0u);
    EXPECT_EQ(plot.Areas().Plot.right, kClientWidth - 40);
    EXPECT_EQ(plot.CornerButton(1)->text(), QStringLiteral("+"));
    click(0);
    EXPECT_EQ(tone.records.Spectrum.ShowToolbar, 0u);
    EXPECT_EQ(plot.Areas().Plot.top, 20);
    EXPECT_EQ(plot.CornerButton(0)->text(), QStringLiteral("+"));
    // And back.
    for (int which : {0, 1, 2})
        click(which);
    // The style buttons 471 … 473: line, bar, stepped bar, latched as chosen.
    for (const std::uint32_t id : {473u, 472u, 471u}) {
        QTest::mouseClick(plot.ToolButton(id), Qt::LeftButton);
        EXPECT_EQ(tone.records.Spectrum.PlotType, id - 471u) << id;
        EXPECT_TRUE(plot.ToolButton(id)->IsLatched()) << id;
    }
    EXPECT_EQ(std::tuple(plot.Areas().Plot.top, plot.Areas().Plot.right), std::tuple(top, kClientWidth - 170));
    EXPECT_EQ(plot.CornerButton(1)->text(), QStringLiteral("-"));
}

} // namespace

// Marker labels at both edges of the pane and at a peak against its top
// stay whole inside the pane: a label cut at an edge reads as another value
// ("000.00 Hz"), and one pushed above the top edge vanishes.
TEST(TQuarnPlotTest, MarkerLabelsAtBothEdgesAndAtThePaneTopStayWholeInsideThePane)
{
    ZoomedTone tone(ScalingOpts::kLogarithmic, -3.0f, -100.0f);
    const float first = tone.data->GetBinFrequency(tone.data->GetBinIndex(500.0f) + 1);
    const float last = tone.data->GetBinFrequency(tone.data->GetBinIndex(1500.0f) - 1);
    for (float f : {first, last})
        SetLineLevel(*tone.data, tone.data->GetBinIndex(f), -40.0f);
    MarkerOpts& markers = tone.records.Markers;
    const float where[] = {first, last, 1000.0f};
    for (std::size_t m = 0; m < 3; ++m) {
        markers.MarkerEnable[m] = 1;
        markers.MarkerFreq[m] = where[m];
        markers.LabelType[m] = MarkerOpts::kFrequencyAndAmplitude;
    }
    TQuarnPlot& plot = tone.Make();
    plot.UpdateDisplay(0.0f);
    const PlotRect pane = plot.PaneRect(0);
    const char* names[] = {"left edge", "right edge", "peak at the top"};
    for (std::size_t m = 0; m < 3; ++m) {
        SCOPED_TRACE(names[m]);
        const PlotRect box = plot.MarkerLabelBoxes(0)[m];
        EXPECT_FALSE(box.IsNull());
        EXPECT_GE(box.left, pane.left);
        EXPECT_LT(box.right, pane.right);
        EXPECT_GE(box.top, pane.top);
        EXPECT_LT(box.bottom, pane.bottom);
    }
    // The edge labels are slid in, not centred on their markers.
    EXPECT_EQ(plot.MarkerLabelBoxes(0)[0].left, pane.left);
    EXPECT_EQ(plot.MarkerLabelBoxes(0)[1].right, pane.right - 1);
    const std::string shot = SaveScreenshot(plot, "plot_marker_labels_at_edges");

    // On paper the labels are placed by the same rule, in the page's pane.
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("markers.pdf"));
    printer.setResolution(150);
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(PrintPlotPage(plot, printer, PrintOpts()));
    if (!shot.empty()) {
        const std::string stem = shot.substr(0, shot.size() - 4) + "_printed";
        const std::string command = "pdftoppm -r 60 -png -singlefile '" + folder.filePath("markers.pdf").toStdString() +
                                    "' '" + stem + "' > /dev/null 2>&1";
        (void)std::system(command.c_str());
    }
}
