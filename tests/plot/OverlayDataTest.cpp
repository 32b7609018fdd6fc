// Overlay tables and their text files: reading every kind of line, the
// ordering rules, stepped tables, lookups, composites, saving, and the slot
// files of a plot, with the values worked out by hand.
// The overlay column of the spectrum plot and the overlay dialogs, driven by
// real clicks: Set stores the live spectrum, On shows a slot, the composite
// is built and shown, files drawn at the rows worked out by hand, on screen
// and on paper; the dialogs' checks.
#include "QuarnPlotTestSupport.h"
#include "plot/PlotColours.h"
#include "plot/QuarnPlotLayout.h"
#include "plot/TCompositeOverlayDialog.h"
#include "plot/TOverlayDialog.h"
#include "plot/overlay/OverlayChecks.h"
#include "plot/overlay/OverlaySlots.h"
#include "plot/overlay/OverlayTables.h"
#include "plot/overlay/TOverlayData.h"
#include "settings/DataPaths.h"
#include "settings/PrintOpts.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/Screenshot.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <map>
#include <vector>

namespace {

using namespace quarn_test;
using testing::FloatEq;
using testing::Pointwise;

std::string Rows(int count, int badRow = -1)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i == badRow ? 5 : 100 * i) + "\t" + std::to_string(-i) + "\n";
    return text;
}

std::unique_ptr<TOverlayData> Read(const std::string& text, std::uint16_t scale = 0, float offset = 0.0f)
{
    return TOverlayData::FromText(text, scale, offset, false, false);
}

struct ReadCase {
    const char* name;
    std::string text;
    bool ok;
    std::uint32_t points;
    std::string title;
    bool splineOff;
    bool orderingMessage;
};

TEST(OverlayText, EachKindOfLineEachOrderingRuleAndTheTitleAlone)
{
    const std::string longTitle(300, 'T');
    const ReadCase cases[] = {
        {"title then spline off", ";Reference\n;SPLINE OFF\n100\t1\n200\t2\n300\t3\n", true, 3, "Reference", true, false},
        {"a later title replaces", ";One\n;Two\n" + Rows(3), true, 3, "Two", false, false},
        {"a tab cuts the title", ";Ref\tmore\n" + Rows(3), true, 3, "Ref", false, false},
        {"\";SPLINE\" alone is a title", ";SPLINEX\n" + Rows(3), true, 3, "SPLINEX", false, false},
        {"a title of 300 characters is one line", ";" + longTitle + "\n" + Rows(3), true, 3, longTitle.substr(0, 23),
         false, false},
        {"CRLF as LF", ";Crlf\r\n100\t1\r\n200\t2\r\n300\t3\r\n", true, 3, "Crlf", false, false},
        {"spaces, a sign and trailing text", "  100  +1 dB\n200 2\n300 3 x\n", true, 3, "", false, false},
        {"a blank line ends the table", Rows(10) + "\n" + Rows(5), true, 10, "", false, false},
        {"two rows are too few", Rows(2), false, 0, "", false, false},
        {"only a title", ";Just a legend\n", false, 0, "Just a legend", false, false},
        {"equal frequencies pass", "100\t1\n200\t2\n200\t3\n300\t4\n", true, 4, "", false, false},
        {"a first row below 0 Hz", "-1\t1\n200\t2\n300\t3\n", false, 0, "", false, true},
        {"99 rows, one out of order", Rows(99, 50), false, 0, "", false, true},
        {"150 rows, the 120th out of order: 119 kept", Rows(150, 120), true, 119, "", false, false},
        {"100 rows from below 0 Hz keep nothing", "-5\t0\n" + Rows(99), false, 0, "", false, false},
        {"101 rows, the 3rd out of order: 2 are too few", Rows(101, 3), false, 0, "", false, false},
        {"101 rows, the 4th out of order: 3 are enough", Rows(101, 4), true, 3, "", false, false},
        {"not a number", "nan\t1\n" + Rows(3), false, 0, "", false, false},
    };
    for (const ReadCase& c : cases) {
        MessageLog messages;
        const auto table = Read(c.text);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(!table->IsError(), c.ok);
        EXPECT_EQ(table->GetNumPoints(), c.points);
        EXPECT_EQ(std::string(table->GetTitle()), c.title);
        EXPECT_EQ(table->IsSplineOff(), c.splineOff);
        // The table says why; the caller, who knows the file, reports it.
        EXPECT_TRUE(messages.texts.empty());
        EXPECT_EQ(table->GetProblem() == overlay_text::kOrderingMessage, c.orderingMessage);
        EXPECT_TRUE(c.ok || table->GetValueAt(150.0f) == 0.0f) << "a refused table reads 0";
    }
    // A full table stops the read: 4 points take 4 rows, or 1 stepped row
    // (3 points each) and no second.
    struct Capacity {
        std::string text;
        bool stepped;
        std::uint32_t count;
    } capacities[] = {
        {Rows(4), false, 4}, {Rows(5), false, 4}, {Rows(3), false, 3}, {Rows(2), true, 3}, {Rows(1), true, 3},
    };
    for (const Capacity& c : capacities) {
        float table[2 * 4] = {};
        std::string title;
        bool splineOff = false;
        const overlay_text::ReadResult read =
            overlay_text::ReadPoints(c.text, c.stepped, table, 4, title, splineOff);
        EXPECT_EQ(read.Count, c.count) << c.text << c.stepped;
        EXPECT_EQ(table[0], c.stepped ? 100.0f * overlay_text::kStepBelow : 100.0f);
    }
    // Reading the title alone skips spline lines and stops at the first row.
    EXPECT_EQ(overlay_text::ReadTitle(";SPLINE OFF\n;SPLINEX\n;Legend\n100 1\n;Later\n"), "Legend");
    EXPECT_EQ(overlay_text::ReadTitle("100 1\n;Late\n"), "");
    EXPECT_EQ(overlay_text::FormatHeader("Two\nlines", true), ";Two\r\n;SPLINE OFF\r\n") << "no typed line end splits a file";
}

// A save writes each row with the decimals it needs whatever the locale, and
// a reload saves the same bytes again. The low stepped tables are inputs a
// fuzzer failed on: six decimals merged or moved low frequencies, so a saved
// fractional-octave table fell between its steps and refused to load.
TEST(OverlayData, ASaveAndReloadIsStableLocaleFreeAndKeepsLowSteppedRows)
{
    const auto seed = [](const char* name) { return ReadText(std::string(TALVENOR_FUZZ_SEEDS "/overlay/") + name); };
    const std::string mic = ";Mic\n;SPLINE OFF\n20\t-1.25\n1000\t0.5\n20000\t3.125\n";
    const char* micSaved = ";Mic\r\n;SPLINE OFF\r\n20.000000\t-1.250000\r\n1000.000000\t0.500000\r\n20000.000000\t3.125000\r\n";
    const struct {
        std::string source;
        std::uint16_t scale;
        const char* saved;
    } cases[] = {
        {mic, 0, micSaved},
        {mic, 2, micSaved},
        {seed("stepped-close-low-rows.ovl"), 2, ";\r\n0.0100001\t1.000000\r\n0.0100004\t2.000000\r\n0.020000\t3.000000\r\n"},
        {seed("stepped-single-tiny-row.ovl"), 2, ";\r\n0.0000005\t0.000000\r\n"},
    };
    TempFolder folder;
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        auto first = Read(c.source, c.scale, 10.0f);
        ASSERT_TRUE(first->Save(folder.Path("a.ovl").c_str(), first->GetTitle()));
        EXPECT_EQ(ReadText(folder.Path("a.ovl")), c.saved);
        TOverlayData again(folder.Path("a.ovl").c_str(), c.scale, 10.0f, false, false);
        ASSERT_EQ(again.GetNumPoints(), first->GetNumPoints());
        ASSERT_TRUE(again.Save(folder.Path("b.ovl").c_str(), again.GetTitle()));
        EXPECT_EQ(ReadText(folder.Path("b.ovl")), c.saved);
    }
    std::setlocale(LC_ALL, previous.c_str());
    if (!german)
        GTEST_SKIP() << "de_DE.UTF-8 not installed: ran in the C locale only";
}

TEST(OverlayData, ValuesAtTheFloatLimitGiveFiniteLookups)
{
    // Found by fuzzing: rows swinging between ±3.4e38 read as NaN and
    // infinity between the rows, in both interpolations.
    for (bool splineOff : {false, true}) {
        TOverlayData table(TALVENOR_FUZZ_SEEDS "/overlay/values-at-the-float-limit.ovl", 0, 1.5f, false, splineOff);
        ASSERT_FALSE(table.IsError());
        for (float f : {1.5f, 2.5f, 3.5f}) {
            EXPECT_TRUE(std::isfinite(table.GetValueAt(f))) << f;
            EXPECT_TRUE(std::isfinite(table.GetBandValue(f - 0.25f, f))) << f;
        }
    }
}

TEST(OverlayData, SteppedRowsLookupsAtTheEndsAndBetweenPointsAndEachTableKeepsItsOwnBandScan)
{
    // A stepped row is three points (saved as one raw row: the save test above).
    auto bands = Read(";Bands\n500\t-20\n1000\t-10\n2000\t-30\n", 2, 6.0f);
    ASSERT_EQ(bands->GetNumPoints(), 9u);
    const float* p = bands->GetPoints();
    EXPECT_THAT(std::vector(p + 6, p + 12),
                Pointwise(FloatEq(), std::vector{999.99f, -10.0f, 1000.0f, -10.0f, 1000.01f, -10.0f}));
    EXPECT_FLOAT_EQ(bands->GetValueAt(1000.0f), -4.0f) << "value plus offset";

    auto table = Read("100\t-10\n200\t-20\n300\t-30\n400\t-40\n", 0, 1.0f);
    EXPECT_FLOAT_EQ(table->GetValueAt(50.0f), -9.0f);
    EXPECT_FLOAT_EQ(table->GetValueAt(500.0f), -39.0f);
    EXPECT_FLOAT_EQ(table->GetBandValue(150.0f, 350.0f), -19.0f) << "largest of 200 and 300";
    // No point strictly inside: the value at the upper edge. The cubic
    // through a straight line is the line: -25 at 250 Hz.
    EXPECT_NEAR(table->GetBandValue(210.0f, 250.0f), -24.0f, 1e-3f);
    EXPECT_FLOAT_EQ(table->GetBandValue(50.0f, 150.0f), -9.0f) << "below the first point";
    EXPECT_FLOAT_EQ(table->GetBandValue(350.0f, 450.0f), -39.0f) << "beyond the last point";

    // A point on a band's edge is not inside it; a band from the first
    // point reads the first value; a band asked again gives the same largest.
    auto peaks = Read("100\t1\n200\t9\n300\t4\n400\t2\n500\t8\n600\t3\n");
    EXPECT_FLOAT_EQ(peaks->GetBandValue(150.0f, 350.0f), 9.0f);
    EXPECT_FLOAT_EQ(peaks->GetBandValue(150.0f, 350.0f), 9.0f) << "asked again";
    EXPECT_NEAR(peaks->GetBandValue(200.0f, 300.0f), 4.0f, 1e-4f) << "nothing inside: the value at 300";
    EXPECT_FLOAT_EQ(peaks->GetBandValue(100.0f, 150.0f), 1.0f) << "from the first point";
    EXPECT_FLOAT_EQ(peaks->GetBandValue(350.0f, 500.0f), 2.0f) << "the point at the upper edge is not inside";

    // One plot asks two tables in turn, column by column; a scan position
    // shared between them would skip the first table's early points.
    auto coarse = Read(Rows(50));
    auto fine = Read(Rows(3000));
    for (float low = 100.0f; low < 4500.0f; low += 100.0f) {
        EXPECT_FLOAT_EQ(fine->GetBandValue(low + 1.0f, low + 150.0f), -(low / 100.0f) - 1.0f) << low;
        EXPECT_FLOAT_EQ(coarse->GetBandValue(low + 1.0f, low + 150.0f), -(low / 100.0f) - 1.0f) << low;
    }
}

TEST(OverlayData, CompositesCountOnlyValidInputs)
{
    const TonePlot tone(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -3.0f, -50.0f);
    SpectralData* data = tone.data.get();
    MessageLog messages;
    auto minus10 = Read(Rows(0) + "100 -10\n200 -10\n300 -10\n");
    auto minus30 = Read("100 -30\n200 -30\n300 -30\n");
    auto plus150 = Read("100 150\n200 150\n300 150\n");
    TOverlayData missing("/nonexistent/L3.ovl", 0, 0.0f, false, false);
    const TOverlayData::Inputs inputs{minus10.get(), minus30.get(), &missing, nullptr, plus150.get(), nullptr};

    const struct {
        const char* name;
        CompositeSetup setup;
        bool ok;
        float value;
    } cases[] = {
        // 20·log10((10^-0.5 + 10^-1.5) / 2)
        {"average of -10 and -30 dB", {0, {1, 1, 0, 0, 0, 0, 0}, 0, 0}, true, -15.1927f},
        {"a missing and an absent input do not count", {0, {1, 1, 1, 1, 0, 0, 0}, 0, 0}, true, -15.1927f},
        {"one valid input is not an average", {0, {1, 0, 1, 1, 0, 0, 0}, 0, 0}, false, 0.0f},
        {"difference -30 - 150 is limited to -200", {1, {}, 1, 4}, true, -180.0f},
        {"difference of itself", {1, {}, 1, 1}, false, 0.0f},
        {"difference with a missing input", {1, {}, 0, 2}, false, 0.0f},
        {"difference beyond slot 6", {1, {}, 0, 6}, false, 0.0f},
        {"another type keeps the live values", {7, {}, 0, 0}, true, -50.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOverlayData composite(data, inputs, c.setup);
        EXPECT_EQ(!composite.IsError(), c.ok);
        EXPECT_NEAR(composite.GetValueAt(5000.0f), c.value, 1e-3f);
        EXPECT_EQ(composite.GetNumPoints(), data->GetEndBin() - data->GetStartBin() + 1);
    }
    auto plus350 = Read("100 350\n200 350\n300 350\n");
    TOverlayData clamped(data, {plus350.get(), minus30.get()}, {1, {}, 0, 1});
    EXPECT_FLOAT_EQ(clamped.GetValueAt(5000.0f), 200.0f) << "380 dB stored as 200";
}

TEST(OverlaySlots, FileNamesKeepPanesApartStoringKeepsTheTitleAndFailuresLeaveFiles)
{
    using overlay_slots::SlotPath;
    EXPECT_EQ(std::vector({SlotPath("/o", 0, 1, 2), SlotPath("/o/", 1, 1, 6), SlotPath("/o", 1, 2, 0)}),
              (std::vector<std::string>{"/o/L3.ovl", "/o/R7.ovl", "/o/R1_2.ovl"}));
    TempFolder folder;
    const std::string dir = folder.folder.string();
    WriteText(folder.Path("R4.ovl"), ";Shared\n");
    EXPECT_EQ(overlay_slots::SlotReadPath(dir, 0, 2, 3), folder.Path("R4.ovl")) << "the old shared name";
    WriteText(folder.Path("L4_2.ovl"), ";Own\n");
    EXPECT_EQ(overlay_slots::SlotReadPath(dir, 0, 2, 3), folder.Path("L4_2.ovl"));

    // Storing keeps the title (a new slot's is the plot's test); failures
    // leave files as they were.
    const TonePlot tone(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -3.0f, -50.0f);
    WriteText(folder.Path("L3.ovl"), ";Reference\n");
    ASSERT_TRUE(overlay_slots::StoreSpectrum(dir, 0, 1, 2, *tone.data, 0.0f, false));
    EXPECT_FALSE(overlay_slots::StoreSpectrum("", 0, 1, 2, *tone.data, 0.0f, false));
    EXPECT_FALSE(std::filesystem::exists("L3.ovl")) << "nothing beside the program";
    // The composite is built, never stored: slot 7 and slots outside refused.
    for (const int slot : {-1, 6, 7})
        EXPECT_FALSE(overlay_slots::StoreSpectrum(dir, 0, 1, slot, *tone.data, 0.0f, false)) << slot;
    EXPECT_FALSE(std::filesystem::exists(folder.Path("L7.ovl")));
    EXPECT_EQ(overlay_slots::ReadTitle(folder.Path("L3.ovl")), "Reference");

    // Retitling what is not a table loses nothing. (A failed composite or
    // import is checked through the plot's buttons and the overlay dialog.)
    WriteText(folder.Path("L5.ovl"), "garbage\n100 1\n200 2\n300 3\n");
    std::string reason;
    EXPECT_FALSE(overlay_slots::Retitle(dir, 0, 1, 4, "New", reason));
    EXPECT_EQ(ReadText(folder.Path("L5.ovl")), "garbage\n100 1\n200 2\n300 3\n");
    EXPECT_NE(reason.find(folder.Path("L5.ovl")), std::string::npos) << reason;
    ASSERT_TRUE(overlay_slots::Retitle(dir, 0, 1, 5, "Empty slot", reason));
    EXPECT_EQ(ReadText(folder.Path("L6.ovl")), ";Empty slot\r\n");
    // The same title again writes nothing, and is no failure.
    const overlay_slots::FileStamp stamp = overlay_slots::StampOf(folder.Path("L6.ovl"));
    EXPECT_TRUE(overlay_slots::Retitle(dir, 0, 1, 5, "Empty slot", reason));
    EXPECT_EQ(reason, "");
    EXPECT_TRUE(overlay_slots::StampOf(folder.Path("L6.ovl")) == stamp) << "the same file, untouched";

    // Without a folder the plot's tables build no composite.
    OverlayTables none;
    EXPECT_FALSE(none.BuildComposite(1, *tone.data, {}, {}, CompositeSetup{}));
}

TEST(OverlayChecks, LegendSizeAndOffsetLimits)
{
    for (const auto& [size, ok] : {std::pair{3, false}, {4, true}, {24, true}, {25, false}})
        EXPECT_EQ(overlay_checks::CheckLegendSize(size).empty(), ok) << size;
    for (const auto& [text, ok] : {std::pair{"-100", true}, {"+100", true}, {"100.5", false}, {" 12,5", true}})
        EXPECT_EQ(overlay_checks::CheckOffset(overlay_checks::OffsetOf(text)).empty(), ok) << text;
}

// A plot of a 1 kHz tone at -20 dB over a -100 dB floor, dB axis 0 … -140,
// with the overlay folder in a temporary directory.
struct OverlayPlot : TonePlot {
    OverlayPlot() : TonePlot(ScalingOpts::kLogarithmic, ScalingOpts::kFftLog, -20.0f, -100.0f)
    {
        records.Spectrum.PeakHold = 0;
        paths.Set(DataPaths::kOverlay, Folder());
        inUse = paths;
        Make(1000, 520).SetDataPaths(&paths, &inUse);
    }
    std::string Folder() const { return dir.path().toStdString(); }
    std::string File(const std::string& name) const { return Folder() + "/" + name; }
    // The pane row of a dB value, as the axis maps it: 0 dB at the top,
    // -140 dB at the bottom.
    int Y(double dB) const
    {
        const PlotRect r = plot->PaneRect(0);
        return r.bottom - static_cast<int>(r.Height() * (dB + 140.0) / 140.0);
    }

    QTemporaryDir dir;
    DataPaths paths;
    DataPaths inUse;
};

TEST(OverlayPlot, SetStoresTheSpectrumOnShowsFilesAtTheirRowsAndCIsTheComposite)
{
    OverlayPlot o;
    TQuarnPlot& plot = *o.plot;

    // Set on slot 2 with peak hold off: no question, the live spectrum.
    QTest::mouseClick(plot.OverlayStoreButton(0, 1), Qt::LeftButton);
    EXPECT_EQ(plot.OverlayTitle(0, 1), "Overlay 2");
    // The floor in every column but the tone's.
    const int width = plot.PaneRect(0).Width();
    const std::vector<PlotPoint>& stored = plot.OverlayPoints(0, 1);
    EXPECT_EQ(PointsOnRow(stored, o.Y(-100.0)), width);
    EXPECT_EQ(PointsOnRow(stored, o.Y(-20.0)), 1);

    // Two hand-made files, shown with their On boxes; slot 1 with +10 dB.
    WriteText(o.File("L1.ovl"), ";Flat -40\n20\t-40\n1000\t-40\n24000\t-40\n");
    WriteText(o.File("L3.ovl"), ";Flat -60\r\n20\t-60\r\n1000\t-60\r\n24000\t-60\r\n");
    o.records.Spectrum.Overlay[0].Offset1 = 10.0f;
    QTest::mouseClick(plot.OverlayShowBox(0, 0), Qt::LeftButton);
    QTest::mouseClick(plot.OverlayShowBox(0, 2), Qt::LeftButton);
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(0, 0), o.Y(-30.0)), width + 1) << "every column at -40 + 10 dB";
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(0, 2), o.Y(-60.0)), width + 1);
    EXPECT_EQ(plot.OverlayTitle(0, 2), "Flat -60");

    // C: the average of 1 and 3 as amplitudes, 20·log10((10^-1.5 + 10^-3) / 2)
    // = -35.67 dB, through the composite dialog; drawn white, as its default
    // black would vanish on the black pane.
    o.records.Spectrum.Overlay[6].Color = 0xFFFFFF;
    OnModal<TCompositeOverlayDialog>([](TCompositeOverlayDialog& dialog) {
        dialog.AverageButton()->setChecked(true);
        dialog.AverageBox(0)->setChecked(true);
        dialog.AverageBox(2)->setChecked(true);
        dialog.accept();
    });
    QTest::mouseClick(plot.OverlayStoreButton(0, 6), Qt::LeftButton);
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(0, 6), o.Y(-35.67)), width + 1);

    // On again hides a slot.
    QTest::mouseClick(plot.OverlayShowBox(0, 2), Qt::LeftButton);
    EXPECT_TRUE(plot.OverlayPoints(0, 2).empty());

    // A composite that can no longer be formed keeps its file: slot 3 is
    // gone, one input is left.
    const std::string composite = ReadText(o.File("L7.ovl"));
    std::filesystem::remove(o.File("L3.ovl"));
    MessageLog messages;
    OnModal<QDialog>([](QDialog& dialog) { dialog.accept(); });
    QTest::mouseClick(plot.OverlayStoreButton(0, 6), Qt::LeftButton);
    EXPECT_EQ(messages.texts.size(), 1u) << "the composite could not be formed";
    EXPECT_EQ(ReadText(o.File("L7.ovl")), composite);
}

// Two panes: the upper the left channel's tone over a -100 dB floor, the
// lower a flat -70 dB. The lower pane's slots are files of their own ("_2"),
// take the lower offsets, show with the lower On boxes and build the
// composite from the lower setup; the upper pane's are left alone.
TEST(OverlayPlot, TheLowerPaneKeepsItsOwnFilesOffsetsShowBoxesAndComposite)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLog);
    records.Spectrum.PeakHold = 0;
    auto upper = MakeData(records, 0);
    auto lower = MakeData(records, 1);
    SetKnownSpectrum(*upper, 1000.0f, -20.0f, -100.0f);
    SetKnownSpectrum(*lower, 1000.0f, -70.0f, -70.0f);
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    DataPaths paths;
    paths.Set(DataPaths::kOverlay, folder);
    DataPaths inUse = paths;
    auto made = MakePlot(records, upper.get(), lower.get(), 1000, 900);
    TQuarnPlot& plot = *made;
    plot.SetDataPaths(&paths, &inUse);
    const PlotRect pane = plot.PaneRect(1);
    ASSERT_FALSE(pane.IsEmpty());
    // 0 dB at the lower pane's top, -140 dB at its bottom.
    const auto y = [&pane](double dB) { return pane.bottom - static_cast<int>(pane.Height() * (dB + 140.0) / 140.0); };
    const int all = pane.Width() + 1;
    SpectrumOpts& s = records.Spectrum;
    for (int n = 0; n < 7; ++n)
        s.Overlay[n].Offset1 = 30.0f;  // would lift anything read with the upper offsets

    // Set on the lower slot 2: the lower trace, in "L2_2.ovl", +5 dB.
    s.Overlay[1].Offset2 = 5.0f;
    QTest::mouseClick(plot.OverlayStoreButton(1, 1), Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(folder + "/L2_2.ovl"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/L2.ovl"));
    EXPECT_EQ(std::vector<int>({s.Overlay[1].Show1, s.Overlay[1].Show2}), std::vector<int>({0, 1}));
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(1, 1), y(-65.0)), all);
    EXPECT_TRUE(plot.OverlayPoints(0, 1).empty());

    // A hand-made lower slot 1 at -40, shown with -10 dB; the upper "L1.ovl"
    // stays unread.
    WriteText(folder + "/L1_2.ovl", ";Lower -40\n20\t-40\n1000\t-40\n24000\t-40\n");
    WriteText(folder + "/L1.ovl", ";Upper -60\n20\t-60\n1000\t-60\n24000\t-60\n");
    s.Overlay[0].Offset2 = -10.0f;
    QTest::mouseClick(plot.OverlayShowBox(1, 0), Qt::LeftButton);
    EXPECT_EQ(std::vector<int>({s.Overlay[0].Show1, s.Overlay[0].Show2}), std::vector<int>({0, 1}));
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(1, 0), y(-50.0)), all);
    EXPECT_EQ(plot.OverlayTitle(1, 0), "Lower -40");
    EXPECT_TRUE(plot.OverlayPoints(0, 0).empty());

    // Options... beside the lower pane edits the lower titles and offsets:
    // slot 1 now -20 dB, drawn at -60; a file loaded into slot 3 is shown
    // there at its -30 dB.
    WriteText(folder + "/in.txt", ";Imported\n20\t-30\n1000\t-30\n24000\t-30\n");
    TOverlayDialog::SetFileChooser([&folder](QWidget*, bool, const QString&) {
        return QString::fromStdString(folder + "/in.txt");
    });
    std::string legendShown, offsetShown;
    OnModal<TOverlayDialog>([&](TOverlayDialog& dialog) {
        legendShown = dialog.LegendEdit(0)->text().toStdString();
        offsetShown = dialog.OffsetEdit(0)->text().toStdString();
        dialog.OffsetEdit(0)->setText(QStringLiteral("-20.0"));
        dialog.LoadButton(2)->click();
        dialog.accept();
    });
    QTest::mouseClick(plot.OverlayOptionsButton(1), Qt::LeftButton);
    TOverlayDialog::SetFileChooser({});
    EXPECT_EQ(legendShown, "Lower -40");
    EXPECT_EQ(offsetShown.empty() ? 0.0 : std::stod(offsetShown), -10.0) << offsetShown;
    EXPECT_EQ(std::vector({s.Overlay[0].Offset1, s.Overlay[0].Offset2}), std::vector({30.0f, -20.0f}));
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(1, 0), y(-60.0)), all);
    EXPECT_EQ(std::vector<int>({s.Overlay[2].Show1, s.Overlay[2].Show2}), std::vector<int>({0, 1}));
    EXPECT_TRUE(std::filesystem::exists(folder + "/L3_2.ovl"));
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(1, 2), y(-30.0)), all);

    // The lower composite, slot 1 less slot 2: -60 - (-65) = 5 dB, shown
    // with its own -100 dB: -95 dB. The upper setup is unchanged.
    const SpectrumOpts before = s;
    s.Overlay[6].Offset2 = -100.0f;
    OnModal<TCompositeOverlayDialog>([](TCompositeOverlayDialog& dialog) {
        dialog.SubtractButton()->setChecked(true);
        dialog.ColumnButton(0, 1)->setChecked(true);  // slot 2 subtracted
        dialog.ColumnButton(1, 0)->setChecked(true);  // from slot 1
        dialog.accept();
    });
    QTest::mouseClick(plot.OverlayStoreButton(1, 6), Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(folder + "/L7_2.ovl"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/L7.ovl"));
    EXPECT_EQ(s.CompositeType2, CompositeSetup::kDifference);
    EXPECT_EQ(std::vector<int>({s.DifferenceIndex2_1, s.DifferenceIndex2_2}), std::vector<int>({0, 1}));
    EXPECT_EQ(std::vector<int>({s.CompositeType1, s.DifferenceIndex1_1, s.DifferenceIndex1_2}),
              std::vector<int>({before.CompositeType1, before.DifferenceIndex1_1, before.DifferenceIndex1_2}));
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(1, 6), y(-95.0)), all);
    EXPECT_TRUE(plot.OverlayPoints(0, 6).empty());

    // Off again on the lower box: the lower slot only.
    QTest::mouseClick(plot.OverlayShowBox(1, 0), Qt::LeftButton);
    EXPECT_TRUE(plot.OverlayPoints(1, 0).empty());
    EXPECT_EQ(s.Overlay[0].Show2, 0);
    EXPECT_FALSE(plot.OverlayPoints(1, 1).empty());
}

// A coherence overlay of 0.6 in the lower pane of a transfer function and
// its coherence stands half-way up that pane, on its 0 … 1.2 scale.
TEST(OverlayPlot, AnOverlayInTheCoherencePaneUsesTheCoherenceScale)
{
    PlotRecords records(ScalingOpts::kLinear, ScalingOpts::kFftLinear);
    records.Settings.ChannelProcessing = 11;
    records.Spectrum.Overlay[0].Show2 = 1;
    auto first = MakeData(records, 0);
    auto second = MakeData(records, 1);
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    WriteText(folder + "/L1_2.ovl", ";Coherence\n20\t0.6\n1000\t0.6\n24000\t0.6\n");
    DataPaths paths;
    paths.Set(DataPaths::kOverlay, folder);
    DataPaths inUse = paths;
    auto plot = MakePlot(records, first.get(), second.get(), 1000, 900);
    plot->SetDataPaths(&paths, &inUse);
    ASSERT_TRUE(plot->IsCoherencePane(1));
    const PlotRect lower = plot->PaneRect(1);
    EXPECT_EQ(PointsOnRow(plot->OverlayPoints(1, 0), lower.bottom - lower.Height() / 2), lower.Width() + 1);
}

// On a log-magnitude axis overlays join their points with straight lines,
// the composite's inputs too: the average of an overlay with a copy of
// itself is that overlay, and draws on it column by column.
TEST(OverlayPlot, OnALogMagnitudeAxisTheAverageOfAnOverlayWithItselfDrawsOnIt)
{
    TonePlot t(ScalingOpts::kLogMagnitude, ScalingOpts::kFftLog, 10.0f, 1.0f);
    SpectrumOpts& s = t.records.Spectrum;
    s.PeakHold = 0;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string bend = ";Bend\n100\t1\n1000\t20\n10000\t2\n20000\t5\n";
    WriteText(folder + "/L1.ovl", bend);
    WriteText(folder + "/L2.ovl", bend);
    s.Overlay[0].Show1 = s.Overlay[1].Show1 = s.Overlay[6].Show1 = 1;
    s.CompositeType1 = CompositeSetup::kAverage;
    s.IncludeInAverage1[0] = s.IncludeInAverage1[1] = 1;
    DataPaths paths;
    paths.Set(DataPaths::kOverlay, folder);
    DataPaths inUse = paths;
    TQuarnPlot& plot = t.Make(1000, 520);
    plot.SetDataPaths(&paths, &inUse);
    const std::vector<PlotPoint>& own = plot.OverlayPoints(0, 0);
    const std::vector<PlotPoint>& average = plot.OverlayPoints(0, 6);
    ASSERT_FALSE(own.empty());
    ASSERT_FALSE(average.empty());
    std::map<int, int> rowAt;
    for (const PlotPoint& p : average)
        rowAt[p.x] = p.y;
    // Where the line falls steeply the two may stand a column apart.
    int compared = 0, worst = 0;
    for (const PlotPoint& p : own) {
        int nearest = 1 << 30;
        for (int dx : {-1, 0, 1})
            if (const auto found = rowAt.find(p.x + dx); found != rowAt.end())
                nearest = std::min(nearest, std::abs(found->second - p.y));
        if (nearest == 1 << 30)
            continue;
        ++compared;
        worst = std::max(worst, nearest);
    }
    EXPECT_GT(compared, plot.PaneRect(0).Width() / 2);
    EXPECT_LE(worst, 1);
}

// The composite's default colour is black, the default pane's too: drawn
// on the screen it is white, and the record keeps its black.
TEST(OverlayPlot, TheCompositesDefaultBlackIsDrawnWhiteOnTheDefaultBlackPane)
{
    OverlayPlot o;
    TQuarnPlot& plot = *o.plot;
    WriteText(o.File("L1.ovl"), ";Flat -40\n20\t-40\n1000\t-40\n24000\t-40\n");
    WriteText(o.File("L2.ovl"), ";Flat -60\n20\t-60\n1000\t-60\n24000\t-60\n");
    ASSERT_EQ(o.records.Spectrum.Overlay[6].Color, 0u);
    ASSERT_EQ(o.records.Spectrum.BackgroundColor, 0u);
    // Average of 1 and 2: 20·log10((10^-2 + 10^-3) / 2) = -45.19 dB.
    OnModal<TCompositeOverlayDialog>([](TCompositeOverlayDialog& dialog) {
        dialog.AverageButton()->setChecked(true);
        dialog.AverageBox(0)->setChecked(true);
        dialog.AverageBox(1)->setChecked(true);
        dialog.accept();
    });
    QTest::mouseClick(plot.OverlayStoreButton(0, 6), Qt::LeftButton);
    const int row = o.Y(-45.19);
    ASSERT_EQ(PointsOnRow(plot.OverlayPoints(0, 6), row), plot.PaneRect(0).Width() + 1);

    plot.show();
    const QImage shown = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
    SaveScreenshot(plot, "plot_composite_overlay");
    const PlotRect pane = plot.PaneRect(0);
    int white = 0;
    for (int x = pane.left + 1; x < pane.right - 1; ++x)
        white += shown.pixelColor(x, row) == QColor(Qt::white) ? 1 : 0;
    // The tone's column may stand in its way; every other column shows it.
    EXPECT_GE(white, pane.Width() - 4);
    EXPECT_EQ(o.records.Spectrum.Overlay[6].Color, 0u);
}

TEST(PlotColours, ALineTooCloseToItsBackgroundIsDrawnInTheBackgroundsContrast)
{
    // Colour, background (0x00BBGGRR), drawn.
    const std::uint32_t cases[][3] = {
        {0x000000, 0x000000, 0xFFFFFF},  // the composite's black on the default pane
        {0x302010, 0x000000, 0xFFFFFF},  // every part within 0x30
        {0x310000, 0x000000, 0x310000},  // blue 0x31 apart: seen
        {0x0000FF, 0x000000, 0x0000FF},  // red on black
        {0xFFFFFF, 0xF0F0F0, 0x000000},  // white on a light pane
        {0x808080, 0x808080, 0x000000},  // mid grey: luma 128 is light
        {0x7F7F7F, 0x7F7F7F, 0xFFFFFF},  // luma 127 is dark
        {0x000000, 0xFFFFFF, 0x000000},  // black on white
        {0xFF8349, 0xFF8349, 0xFFFFFF},  // luma 127.794 with blue weighed 0.114: dark
        {0x0074C8, 0x0074C8, 0xFFFFFF},  // luma 127.892 with red weighed 0.299: dark
    };
    for (const auto& [colour, background, drawn] : cases)
        EXPECT_EQ(VisibleColour(colour, background), drawn) << std::hex << colour << " on " << background;
}

// A letter page at 100 dpi as the plot prints it.
QImage PrintedPage(TQuarnPlot& plot)
{
    QImage page(1100, 850, QImage::Format_RGB32);
    page.setDotsPerMeterX(3937);
    page.setDotsPerMeterY(3937);
    page.fill(Qt::white);
    PrintOpts options;
    QPainter painter(&page);
    plot.PrintToDC(painter, &options, true, 0);
    return page;
}

TEST(OverlayPlot, OverlaysTheirLegendAndTheTitleLineTheSettingsFileAsksForArePrinted)
{
    OverlayPlot o;
    WriteText(o.File("L1.ovl"), ";Reference mic\n20\t-40\n1000\t-40\n24000\t-40\n");
    o.records.Spectrum.Overlay[0].Show1 = 1;
    o.records.Spectrum.Overlay[0].Color = 0xFF0000;
    o.plot->ResetView();
    const std::string ini = o.File("Talvenor.ini");
    o.plot->SetIniPath(ini);
    const QImage page = PrintedPage(*o.plot);
    // The blue overlay (0x00BBGGRR) across the page's pane, and its sample
    // line in the legend beside it: 150/600 inch at 100 dpi, both ends.
    std::vector<int> blueRows;
    for (int y = 0; y < page.height(); ++y) {
        int blue = 0;
        for (int x = 0; x < page.width(); ++x)
            blue += page.pixelColor(x, y) == QColor(0, 0, 255) ? 1 : 0;
        if (blue > 0)
            blueRows.push_back(blue);
    }
    ASSERT_EQ(blueRows.size(), 2u);
    EXPECT_EQ(blueRows[0], 26) << "the legend's sample line";
    EXPECT_GT(blueRows[1], 600) << "the overlay across the pane";
    EXPECT_FALSE(o.plot->OverlayPoints(0, 0).empty()) << "screen points again after printing";

    // No settings file: the title is printed; the file can leave it out.
    WriteText(ini, "[FileIO]\r\nPrintPlotTitle=False\r\n");
    EXPECT_NE(PrintedPage(*o.plot), page);
    WriteText(ini, "[FileIO]\r\nPrintPlotTitle=True\r\n");
    EXPECT_EQ(PrintedPage(*o.plot), page);
}

TEST(OverlayDialogs, OverlayOptionsChecksEverythingBeforeWritingAFile)
{
    OverlayPlot o;
    WriteText(o.File("L2.ovl"), ";Reference\n20\t-40\n1000\t-40\n24000\t-40\n");
    SpectrumOpts copy = o.records.Spectrum;
    TOverlayDialog dialog(nullptr, &copy, o.Folder(), 0, 1, 1, &o.inUse, {});

    MessageLog messages;
    dialog.LegendEdit(0)->setText(QStringLiteral("Typed first"));
    dialog.OffsetEdit(3)->setText(QStringLiteral("100.5"));
    dialog.accept();
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Overlay Offset must be between -100 and +100 dB"});
    EXPECT_FALSE(std::filesystem::exists(o.File("L1.ovl"))) << "no title written before the checks pass";
    dialog.OffsetEdit(3)->setText(QStringLiteral("99.5"));

    // Load... imports a microphone file into slot 5; a broken one changes nothing.
    WriteText(o.File("mic.mic"), ";Mic 4190\n20\t0\n1000\t0.5\n20000\t-2\n");
    WriteText(o.File("bad.mic"), ";Bad\n20\t0\n");
    std::string chosen = o.File("bad.mic");
    TOverlayDialog::SetFileChooser([&chosen](QWidget*, bool, const QString&) { return QString::fromStdString(chosen); });
    dialog.LoadButton(4)->click();
    EXPECT_FALSE(std::filesystem::exists(o.File("L5.ovl")));
    EXPECT_EQ(messages.texts.size(), 2u);
    chosen = o.File("mic.mic");
    dialog.OffsetEdit(4)->setText(QStringLiteral("12"));
    dialog.LoadButton(4)->click();
    TOverlayDialog::SetFileChooser({});
    EXPECT_EQ(dialog.LegendEdit(4)->text(), QStringLiteral("Mic 4190"));
    EXPECT_EQ(dialog.OffsetEdit(4)->text(), QStringLiteral("0.0"));
    EXPECT_EQ(overlay_slots::ReadTitle(o.File("L5.ovl")), "Mic 4190");

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(copy.Overlay[3].Offset1, 99.5f);
    EXPECT_EQ(ReadText(o.File("L1.ovl")), ";Typed first\r\n") << "a slot without data keeps its legend";
    EXPECT_EQ(overlay_slots::ReadTitle(o.File("L2.ovl")), "Reference") << "the dialog read it and wrote it back";
}

// The averaging path and the source question of Set are driven through the
// plot (here and in the main window's test); here subtraction and refusals.
// The dialog shows the setup it is given, and OK without a change gives it
// back as it was, for an average and for a difference.
TEST(OverlayDialogs, TheCompositeDialogShowsItsSetupAndAnUnchangedOkKeepsIt)
{
    const CompositeSetup setups[] = {
        {CompositeSetup::kAverage, {1, 0, 1, 0, 0, 1, 1}, 4, 2},
        {CompositeSetup::kDifference, {0, 1, 0, 1, 1, 0, 0}, 0, 5},
    };
    for (const CompositeSetup& given : setups) {
        SCOPED_TRACE(given.CompositeType);
        CompositeSetup setup = given;
        TCompositeOverlayDialog dialog(nullptr, &setup, {});
        const bool average = given.CompositeType == CompositeSetup::kAverage;
        EXPECT_EQ(dialog.AverageButton()->isChecked(), average);
        EXPECT_EQ(dialog.SubtractButton()->isChecked(), !average);
        for (int n = 0; n < 6; ++n) {
            EXPECT_EQ(dialog.AverageBox(n)->isChecked(), given.IncludeInAverage[n] == 1) << n;
            EXPECT_EQ(dialog.AverageBox(n)->isEnabled(), average) << n;
            EXPECT_EQ(dialog.ColumnButton(0, n)->isChecked(), n == given.DifferenceIndex2) << n;
            EXPECT_EQ(dialog.ColumnButton(1, n)->isChecked(), n == given.DifferenceIndex1) << n;
            EXPECT_EQ(dialog.ColumnButton(0, n)->isEnabled(), !average) << n;
        }
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(setup, given);
    }
    // Indices past the six (a hand-edited file) check no button.
    CompositeSetup beyond{CompositeSetup::kDifference, {}, 6, 6};
    TCompositeOverlayDialog dialog(nullptr, &beyond, {});
    for (int n = 0; n < 6; ++n)
        EXPECT_FALSE(dialog.ColumnButton(0, n)->isChecked() || dialog.ColumnButton(1, n)->isChecked()) << n;
}

TEST(OverlayDialogs, CompositeSubtractionAndRefusals)
{
    MessageLog messages;
    CompositeSetup setup{1, {}, 3, 1};
    TCompositeOverlayDialog composite(nullptr, &setup, {});
    EXPECT_TRUE(composite.ColumnButton(0, 1)->isChecked() && composite.ColumnButton(1, 3)->isChecked())
        << "4 minus 2";
    EXPECT_FALSE(composite.AverageBox(0)->isEnabled());
    composite.ColumnButton(0, 3)->setChecked(true);
    composite.accept();
    composite.AverageButton()->setChecked(true);
    composite.AverageBox(2)->setChecked(true);
    composite.accept();
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"Cannot Subtract an overlay from itself",
                                                        "At least 2 overlays must be selected for averaging"}));
    EXPECT_EQ(setup, (CompositeSetup{1, {}, 3, 1})) << "refused: the caller's copy is untouched";
    EXPECT_FALSE(overlay_checks::CheckComposite({0, {0, 1, 0, 0, 0, 0, 1}, 0, 0}).empty())
        << "the seventh flag does not count";
}

} // namespace
