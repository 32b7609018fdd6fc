// Two commands of a spectrum plot's right-button menu: smoothing, where the
// shown live and held traces take the mean amplitude over the chosen lines
// while the spectrum itself (and every readout of it) stays as measured;
// and the relative calibration, which the plot hands to its owner with the
// channel and line of the click.
#include "QuarnPlotTestSupport.h"
#include "tests/engine/SpectralTestSupport.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PopupMenus.h"
#include "tests/support/Screenshot.h"

#include <QFileDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace quarn_test;

// 990 … 1010 Hz over a plot area 1001 columns wide: every line spans
// dozens of columns, so each line's level is a row of its own. dB axis,
// top 0, range 100, 400 rows: row = trunc(4·(level + 100)).
constexpr int kWidth = 62 + 1001 + 170;
constexpr int kHeight = 50 + 400 + 33 + 12;

// A tone of -20 dB at 1000 Hz over a floor of -100 dB, with a step to
// -40 dB from six lines above the tone on; held values alike.
struct ToneAndStep {
    PlotRecords records{ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear};
    std::unique_ptr<SpectralData> data;
    std::unique_ptr<TQuarnPlot> plot;
    std::uint32_t tone = 0;

    ToneAndStep()
    {
        records.Spectrum.StartFreq = 990.0f;
        records.Spectrum.StopFreq = 1010.0f;
        records.Spectrum.PlotTop = 0.0f;
        records.Spectrum.PlotRange = 100.0f;
        records.Spectrum.PeakHold = 4;
        records.Spectrum.PlotType = 0;
        data = MakeData(records);
        data->SetPeakHoldMode(4);
        tone = data->GetBinIndex(1000.0f);
        for (std::uint32_t i = 0; i < data->GetLines(); ++i) {
            const float level = i == tone ? -20.0f : i >= tone + 6 ? -40.0f : -100.0f;
            SetLineLevel(*data, i, level);
            SpectralDataTestAccess::Hold(*data)[i].Value = level;
        }
        SpectralDataTestAccess::MarkAveraged(*data);
        plot = MakePlot(records, data.get(), nullptr, kWidth, kHeight);
        plot->UpdateDisplay(0.0f);
    }
    int Row(int fromBottom) const { return plot->PaneRect(0).bottom - fromBottom; }
};

TEST(PlotSmoothing, FiveLinesShowTheMeanAmplitudeOfTheTraceAndHoldAndWidthOneRestoresIt)
{
    ToneAndStep t;
    TQuarnPlot& plot = *t.plot;
    const std::vector<PlotPoint> measured = plot.LivePoints(0);
    const std::vector<PlotPoint> measuredHold = plot.HoldPoints(0);
    ASSERT_GT(PointsOnRow(measured, t.Row(320)), 0) << "the tone at -20 dB";

    const PlotRect pane = plot.PaneRect(0);
    const QPoint inside((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2);
    ChooseFromMenu(plot, inside, {"Smoothing", "5 Lines"});
    EXPECT_EQ(plot.SmoothingWidth(), 5);

    // Mean amplitudes of five lines, by hand:
    //   the tone's line: (0.1 + 4·1e-5)/5 = 0.020008 → -33.976 dB, row 264;
    //   four above it:   (4·1e-5 + 0.01)/5 = 0.002008 → -53.944 dB, row 184;
    //   eight above it:  five lines of 0.01 → -40 dB, row 240.
    for (const auto& points : {plot.LivePoints(0), plot.HoldPoints(0)}) {
        EXPECT_EQ(PointsOnRow(points, t.Row(320)), 0) << "the tone's peak is spread";
        for (const int row : {264, 184, 240})
            EXPECT_GT(PointsOnRow(points, t.Row(row)), 0) << row;
        EXPECT_EQ(HighestRow(points), t.Row(264));
    }
    // The spectrum and its readouts stay as measured.
    EXPECT_FLOAT_EQ(t.data->GetValue(t.tone), -20.0f);
    EXPECT_FLOAT_EQ(t.data->GetHoldValue(t.tone), -20.0f);
    SaveScreenshot(plot, "plot_smoothing_5_lines");

    // A later frame is smoothed as well, from the spectrum as it is then,
    // not from the last smoothed one.
    plot.UpdateDisplay(0.0f);
    EXPECT_EQ(HighestRow(plot.HoldPoints(0)), t.Row(264));

    ChooseFromMenu(plot, inside, {"Smoothing", "1 Line (Off)"});
    EXPECT_EQ(plot.SmoothingWidth(), 1);
    EXPECT_EQ(plot.LivePoints(0), measured);
    EXPECT_EQ(plot.HoldPoints(0), measuredHold);
}

TEST(PlotSmoothing, EveryMenuWidthIsItsCommandAndOnlyDbNarrowbandPlotsOfferIt)
{
    struct Case {
        const char* item;
        int lines;
    };
    const Case cases[] = {{"3 Lines", 3},   {"7 Lines", 7},   {"9 Lines", 9},         {"11 Lines", 11},
                          {"13 Lines", 13}, {"15 Lines", 15}, {"1 Line (Off)", 1}};
    ToneAndStep t;
    const PlotRect pane = t.plot->PaneRect(0);
    const QPoint inside(pane.left + 10, pane.top + 10);
    for (const Case& c : cases) {
        ChooseFromMenu(*t.plot, inside, {"Smoothing", c.item});
        EXPECT_EQ(t.plot->SmoothingWidth(), c.lines) << c.item;
    }

    // A linear axis and fractional-octave bands have nothing to smooth:
    // the submenu is greyed.
    struct Scale {
        std::uint16_t amp;
        std::uint16_t freq;
    };
    for (const Scale s : {Scale{ScalingOpts::kLinear, ScalingOpts::kFftLinear},
                          Scale{ScalingOpts::kLogMagnitude, ScalingOpts::kFftLinear},
                          Scale{ScalingOpts::kLogarithmic, ScalingOpts::kOctave}}) {
        TonePlot other(s.amp, s.freq, 50.0f, 0.01f);
        TQuarnPlot& plot = other.Make(kWidth, kHeight);
        const PlotRect r = plot.PaneRect(0);
        ChooseFromMenu(plot, QPoint(r.left + 10, r.top + 10), {"Smoothing"}, true);
    }
}

TEST(PlotRelativeCalibration, TheClickedPaneGivesTheChannelAndTheClickedColumnTheLine)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    records.Spectrum.StartFreq = 990.0f;
    records.Spectrum.StopFreq = 1010.0f;
    auto upper = MakeData(records, 0);
    auto lower = MakeData(records, 1);
    auto plot = MakePlot(records, upper.get(), lower.get(), kWidth, 2 * kHeight);
    ASSERT_EQ(plot->TraceCount(), 2);
    std::vector<std::uint32_t> asked;
    QObject::connect(plot.get(), &TQuarnPlot::Command, [&](std::uint32_t id) { asked.push_back(id); });
    // Greyed until the owner takes the command.
    const PlotRect top = plot->PaneRect(0);
    const PlotRect bottom = plot->PaneRect(1);
    ChooseFromMenu(*plot, QPoint(top.left + 10, top.top + 10), {"Set Relative Calibration"}, true);
    plot->SetOwnerCommandEnabled(872, true);

    const std::uint32_t line = upper->GetBinIndex(1000.0f);
    const int x = plot->Areas().Plot.left + plot->FrequencyToColumn(upper->GetBinFrequency(line)) + 1;
    struct Case {
        QPoint at;
        int channel;
        std::int32_t bin;
    };
    for (const Case& c : {Case{QPoint(x, top.top + 5), 0, static_cast<std::int32_t>(line)},
                          Case{QPoint(x, bottom.bottom - 5), 1, static_cast<std::int32_t>(line)},
                          Case{QPoint(x, top.bottom - 1), 0, static_cast<std::int32_t>(line)},
                          Case{QPoint(x, bottom.top), 1, static_cast<std::int32_t>(line)}}) {
        asked.clear();
        ChooseFromMenu(*plot, c.at, {"Set Relative Calibration"});
        EXPECT_EQ(asked, std::vector<std::uint32_t>{872});
        const TQuarnPlot::CalibrationPoint point = plot->RelativeCalibrationPoint();
        EXPECT_EQ(point.Channel, c.channel) << c.at.y();
        EXPECT_EQ(point.Bin, c.bin) << c.at.y();
    }
    // Left of the columns the rule gives line 1 (the menu opens only inside
    // a pane, so the point is asked directly).
    EXPECT_EQ(plot->GetColumnBin(plot->Areas().Plot.left - 3), 1);
}

TEST(PlotTextFile, TheSaveDialogStartsWithTheTextFilePattern)
{
    ToneAndStep t;
    QString startName;
    OnModal<QFileDialog>([&](QFileDialog& dialog) {
        startName = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        static_cast<QDialog&>(dialog).reject();
    });
    t.plot->WriteTextFile();
    EXPECT_EQ(startName, QStringLiteral("*.txt"));
}

} // namespace
