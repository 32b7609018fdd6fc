// The spectrum plot as an operator uses it: real mouse and key events on its
// controls and panes, its right-button menu, and what it exports.
#include "QuarnPlotTestSupport.h"

#include "widgets/CToolBtn.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <cstdio>

namespace {

using namespace quarn_test;

// Opens the right-button menu at a point and chooses its item (in a
// submenu when a path is given); or, when it must be greyed, checks that it
// is and closes the menu.
void ChooseFromMenu(QWidget& plot, QPoint at, QStringList path, bool greyed = false)
{
    QTimer::singleShot(50, [path, greyed]() mutable {
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu opened";
        QMenu* top = menu;
        while (!path.isEmpty()) {
            const QString text = path.takeFirst();
            QAction* found = nullptr;
            for (QAction* action : menu->actions())
                if (action->text() == text)
                    found = action;
            ASSERT_NE(found, nullptr) << text.toStdString();
            if (found->menu() != nullptr) {
                menu = found->menu();
                continue;
            }
            EXPECT_EQ(found->isEnabled(), !greyed) << text.toStdString();
            top->close();
            if (!greyed)
                found->trigger();
            return;
        }
    });
    QTest::mouseClick(&plot, Qt::RightButton, Qt::NoModifier, at);
}

// A 1 kHz tone at -20 dB over a -90 dB floor, 0 … 24 kHz.
struct PlotOnTone : TonePlot {
    explicit PlotOnTone(std::uint16_t amp) : TonePlot(amp, ScalingOpts::kFftLinear, -20.0f, -90.0f)
    {
        records.Spectrum.StartFreq = 0.0f;
        records.Spectrum.StopFreq = 24000.0f;
        Make(1000, 500);
    }
};

TEST(QuarnPlotInteraction, ADragZoomsTypedFieldsRedrawTheAxisAndPeakHoldOffClearsTheHeldTrace)
{
    PlotOnTone t(ScalingOpts::kLogarithmic);
    TQuarnPlot& plot = *t.plot;
    QTest::mouseClick(plot.ToolButton(401), Qt::LeftButton);
    ASSERT_TRUE(plot.ZoomMode());
    const PlotRect area = plot.Areas().Plot;
    const int y = (area.top + area.bottom) / 2;
    const float f1 = plot.GetColumnFrequency(area.left + 100);
    const float f2 = plot.GetColumnFrequency(area.left + 300);
    QTest::mousePress(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(area.left + 100, y));
    QTest::mouseMove(&plot, QPoint(area.left + 300, y));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(area.left + 300, y));
    EXPECT_FALSE(plot.ZoomMode());
    EXPECT_FLOAT_EQ(t.records.Spectrum.StartFreq, f1);
    EXPECT_FLOAT_EQ(t.records.Spectrum.StopFreq, f2);
    EXPECT_EQ(plot.SpanEnd(), static_cast<int>(t.data->GetBinIndex(f2)));
    // The axis is redrawn over the new span.
    EXPECT_NEAR(plot.GetColumnFrequency(area.left), f1, 2.0 * kLineSpacing);
    // Zoom full brings the whole span back and greys itself.
    EXPECT_FALSE(plot.ToolButton(402)->IsGreyed());
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
    t.data->SetPeakHoldMode(4);
    t.data->UpdatePeakHold();
    plot.UpdateDisplay(0.0f);
    ASSERT_FALSE(plot.HoldPoints(0).empty());
    plot.PeakHoldList()->setFocus();
    QTest::keyClick(plot.PeakHoldList(), Qt::Key_Home);  // the first item, "Off"
    EXPECT_EQ(t.records.Spectrum.PeakHold, 0);
    EXPECT_TRUE(plot.HoldPoints(0).empty());
}

TEST(QuarnPlotInteraction, ArrowKeysStepAHeldCursorItsValuesReachTheClipboardAndTheMenuActsOrGreys)
{
    PlotOnTone t(ScalingOpts::kLogarithmic);
    TQuarnPlot& plot = *t.plot;
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
}

TEST(QuarnPlotInteraction, TheCursorReadsTheRowInTheScalesFormat)
{
    // A linear axis from 0 to 0.1: small values read in exponent form.
    PlotOnTone t(ScalingOpts::kLinear);
    t.records.Spectrum.GrabCursorFlag = 0;
    t.records.Spectrum.PlotTop = 0.1f;
    t.plot->ResetView();
    const PlotRect area = t.plot->Areas().Plot;
    for (const auto& [value, readout] : {std::pair{0.005, "5.0e-03"}, {0.02, "0.020"}}) {
        const QPoint at(area.left + 100, area.bottom - static_cast<int>(std::lround(value / 0.1 * area.Height())));
        QTest::mousePress(t.plot.get(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_EQ(t.plot->Cursor().YReadoutText().substr(0, std::strlen(readout)), readout) << value;
        QTest::mouseRelease(t.plot.get(), Qt::LeftButton, Qt::NoModifier, at);
    }
}

TEST(QuarnPlotInteraction, ExportsTheVisibleBinsAsText)
{
    PlotOnTone t(ScalingOpts::kLogarithmic);
    TQuarnPlot& plot = *t.plot;
    t.records.Spectrum.PeakHold = 0;
    plot.SetFrequencyRange(73.0f, 74.8f);  // bins 100 … 102 at 0.732421875 Hz
    ASSERT_EQ(plot.SpanStart(), 100);
    ASSERT_EQ(plot.SpanEnd(), 102);

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
    ASSERT_EQ(said.texts.size(), 1u);
    EXPECT_NE(said.texts[0].find("missing/spectrum.txt"), std::string::npos);
}

} // namespace
