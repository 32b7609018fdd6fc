// Overlay tables and their text files: reading every kind of line, the
// ordering rules, stepped tables, lookups, composites, saving, and the slot
// files of a plot, with the values worked out by hand.
#include "QuarnPlotTestSupport.h"

#include "plot/overlay/OverlayChecks.h"
#include "plot/overlay/OverlaySlots.h"
#include "plot/overlay/TOverlayData.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include <clocale>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
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
        EXPECT_EQ(messages.texts.size(), c.orderingMessage ? 1u : 0u);
        if (!c.ok) {
            EXPECT_EQ(table->GetValueAt(150.0f), 0.0f);
        }
    }
    // Reading the title alone skips spline lines and stops at the first row.
    EXPECT_EQ(overlay_text::ReadTitle(";SPLINE OFF\n;SPLINEX\n;Legend\n100 1\n;Later\n"), "Legend");
    EXPECT_EQ(overlay_text::ReadTitle("100 1\n;Late\n"), "");
    EXPECT_EQ(overlay_text::FormatHeader("Two\nlines", true), ";Two\r\n;SPLINE OFF\r\n") << "no typed line end splits a file";
}

// Saved as one raw row each: the save-and-reload test below.
TEST(OverlayData, SteppedRowsAreThreePoints)
{
    auto table = Read(";Bands\n500\t-20\n1000\t-10\n2000\t-30\n", 2, 6.0f);
    ASSERT_EQ(table->GetNumPoints(), 9u);
    const float* p = table->GetPoints();
    EXPECT_THAT(std::vector(p + 6, p + 12),
                Pointwise(FloatEq(), std::vector{999.99f, -10.0f, 1000.0f, -10.0f, 1000.01f, -10.0f}));
    EXPECT_FLOAT_EQ(table->GetValueAt(1000.0f), -4.0f) << "value plus offset";
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

TEST(OverlayData, LookupsAtTheEndsAndBetweenPoints)
{
    auto table = Read("100\t-10\n200\t-20\n300\t-30\n400\t-40\n", 0, 1.0f);
    EXPECT_FLOAT_EQ(table->GetValueAt(50.0f), -9.0f);
    EXPECT_FLOAT_EQ(table->GetValueAt(500.0f), -39.0f);
    EXPECT_FLOAT_EQ(table->GetBandValue(150.0f, 350.0f), -19.0f) << "largest of 200 and 300";
    // No point strictly inside: the value at the upper edge. The cubic
    // through a straight line is the line: -25 at 250 Hz.
    EXPECT_NEAR(table->GetBandValue(210.0f, 250.0f), -24.0f, 1e-3f);
    EXPECT_FLOAT_EQ(table->GetBandValue(50.0f, 150.0f), -9.0f) << "below the first point";
    EXPECT_FLOAT_EQ(table->GetBandValue(350.0f, 450.0f), -39.0f) << "beyond the last point";
}

TEST(OverlayData, EachTableKeepsItsOwnBandScan)
{
    // One plot asks two tables in turn, column by column; a scan position
    // shared between them would skip the first table's early points.
    auto coarse = Read(Rows(50));
    auto fine = Read(Rows(3000));
    for (float low = 100.0f; low < 4500.0f; low += 100.0f) {
        EXPECT_FLOAT_EQ(fine->GetBandValue(low + 1.0f, low + 150.0f), -(low / 100.0f) - 1.0f) << low;
        EXPECT_FLOAT_EQ(coarse->GetBandValue(low + 1.0f, low + 150.0f), -(low / 100.0f) - 1.0f) << low;
    }
}

struct CompositeCase {
    const char* name;
    CompositeSetup setup;
    bool ok;
    float value;
};

TEST(OverlayData, CompositesCountOnlyValidInputs)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    auto data = MakeData(records);
    SetKnownSpectrum(*data, 1000.0f, -3.0f, -50.0f);
    MessageLog messages;
    auto minus10 = Read(Rows(0) + "100 -10\n200 -10\n300 -10\n");
    auto minus30 = Read("100 -30\n200 -30\n300 -30\n");
    auto plus150 = Read("100 150\n200 150\n300 150\n");
    TOverlayData missing("/nonexistent/L3.ovl", 0, 0.0f, false, false);
    const TOverlayData::Inputs inputs{minus10.get(), minus30.get(), &missing, nullptr, plus150.get(), nullptr};

    const CompositeCase cases[] = {
        // 20·log10((10^-0.5 + 10^-1.5) / 2)
        {"average of -10 and -30 dB", {0, {1, 1, 0, 0, 0, 0, 0}, 0, 0}, true, -15.1927f},
        {"a missing and an absent input do not count", {0, {1, 1, 1, 1, 0, 0, 0}, 0, 0}, true, -15.1927f},
        {"one valid input is not an average", {0, {1, 0, 1, 1, 0, 0, 0}, 0, 0}, false, 0.0f},
        {"difference -30 - 150 is limited to -200", {1, {}, 1, 4}, true, -180.0f},
        {"difference 150 - (-30)", {1, {}, 4, 1}, true, 180.0f},
        {"difference of itself", {1, {}, 1, 1}, false, 0.0f},
        {"difference with a missing input", {1, {}, 0, 2}, false, 0.0f},
        {"difference beyond slot 6", {1, {}, 0, 6}, false, 0.0f},
        {"another type keeps the live values", {7, {}, 0, 0}, true, -50.0f},
    };
    for (const CompositeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TOverlayData composite(data.get(), inputs, c.setup);
        EXPECT_EQ(!composite.IsError(), c.ok);
        EXPECT_NEAR(composite.GetValueAt(5000.0f), c.value, 1e-3f);
        EXPECT_EQ(composite.GetNumPoints(), data->GetEndBin() - data->GetStartBin() + 1);
    }
    auto plus350 = Read("100 350\n200 350\n300 350\n");
    TOverlayData clamped(data.get(), {plus350.get(), minus30.get()}, {1, {}, 0, 1});
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

    // Storing keeps the title; failures leave files as they were.
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    auto data = MakeData(records);
    SetKnownSpectrum(*data, 1000.0f, -3.0f, -50.0f);

    WriteText(folder.Path("L3.ovl"), ";Reference\n");
    ASSERT_TRUE(overlay_slots::StoreSpectrum(dir, 0, 1, 2, *data, 0.0f, false));
    EXPECT_EQ(overlay_slots::ReadTitle(folder.Path("L3.ovl")), "Reference");
    ASSERT_TRUE(overlay_slots::StoreSpectrum(dir, 0, 1, 3, *data, 0.0f, false));
    EXPECT_EQ(overlay_slots::ReadTitle(folder.Path("L4.ovl")), "Overlay 4");

    // Retitling what is not a table loses nothing. (A failed composite or
    // import is checked through the plot's buttons and the overlay dialog.)
    WriteText(folder.Path("L5.ovl"), "garbage\n100 1\n200 2\n300 3\n");
    EXPECT_FALSE(overlay_slots::Retitle(dir, 0, 1, 4, 0, "New"));
    EXPECT_EQ(ReadText(folder.Path("L5.ovl")), "garbage\n100 1\n200 2\n300 3\n");
    ASSERT_TRUE(overlay_slots::Retitle(dir, 0, 1, 5, 0, "Empty slot"));
    EXPECT_EQ(ReadText(folder.Path("L6.ovl")), ";Empty slot\r\n");
}

TEST(OverlayChecks, LimitsAndCompositeRules)
{
    for (const auto& [size, ok] : {std::pair{3, false}, {4, true}, {24, true}, {25, false}})
        EXPECT_EQ(overlay_checks::CheckLegendSize(size).empty(), ok) << size;
    for (const auto& [text, ok] : {std::pair{"-100", true}, {"+100", true}, {"100.5", false}, {" 12,5", true}})
        EXPECT_EQ(overlay_checks::CheckOffset(overlay_checks::OffsetOf(text)).empty(), ok) << text;
    EXPECT_FALSE(overlay_checks::CheckComposite({0, {0, 1, 0, 0, 0, 0, 1}, 0, 0}).empty())
        << "the seventh flag does not count";
    EXPECT_TRUE(overlay_checks::CheckComposite({0, {1, 0, 0, 0, 0, 1, 0}, 0, 0}).empty());
}

} // namespace
