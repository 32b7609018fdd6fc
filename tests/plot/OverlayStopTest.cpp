// Where an overlay file's table ends before its text does: the rows before
// the stop are the table, the stop is told once per version of the file by
// the file's name and line, and lines ended by a lone CR are lines.
#include "plot/overlay/OverlayTables.h"
#include "plot/overlay/OverlayText.h"
#include "plot/overlay/TOverlayData.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// rows lines "f<TAB>v" (f = 10 i Hz, v = -i dB for i = 1 … rows), each
// ended by end; row bad (from 1) reads "nan" or, when descending, 5 Hz.
std::string Rows(int rows, const std::string& end = "\n", int bad = 0, bool descending = false)
{
    std::string text;
    for (int i = 1; i <= rows; ++i) {
        const std::string f = i == bad ? (descending ? "5" : "nan") : std::to_string(10 * i);
        text += f + "\t" + std::to_string(-i) + end;
    }
    return text;
}

struct StopCase {
    const char* name;
    std::string text;
    bool stepped;
    std::uint32_t points;
    std::uint32_t stopLine;
    overlay_text::Stop cause;
};

TEST(OverlayStop, TheTableEndsAtTheFirstLineItCannotReadAndSaysWhichLine)
{
    using overlay_text::Stop;
    const StopCase cases[] = {
        {"NaN at row 101 of 200, after a title", ";Title\n" + Rows(200, "\n", 101), false, 100, 102, Stop::NotARow},
        {"NaN at row 101 of 200", Rows(200, "\r\n", 101), false, 100, 101, Stop::NotARow},
        {"NaN in the last row", Rows(5, "\n", 5), false, 4, 5, Stop::NotARow},
        {"CR-only: every row", ";Old Mac\r;SPLINE OFF\r" + Rows(200, "\r"), false, 200, 0, Stop::None},
        {"CR-only, NaN at row 4", Rows(6, "\r", 4), false, 3, 4, Stop::NotARow},
        {"CR CR LF is one line end", Rows(5, "\r\r\n"), false, 5, 0, Stop::None},
        {"blank lines at the end lose nothing", Rows(10) + "\n \t\n\n", false, 10, 0, Stop::None},
        {"a blank line before more rows", Rows(10) + "\n" + Rows(5), false, 10, 11, Stop::NotARow},
        {"a note after a blank line", Rows(3) + "\n;note\n", false, 3, 4, Stop::NotARow},
        {"150 rows, the 120th below the one before", Rows(150, "\n", 120, true), false, 119, 120, Stop::OutOfOrder},
        {"stepped: the same, three points a row", ";T\n" + Rows(150, "\n", 120, true), true, 357, 121,
         Stop::OutOfOrder},
        {"a byte-order mark is not a line", "\xEF\xBB\xBF" + Rows(5, "\r", 4), false, 3, 4, Stop::NotARow},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> table(2 * 1000);
        std::string title;
        bool splineOff = false;
        const overlay_text::ReadResult read =
            overlay_text::ReadPoints(c.text, c.stepped, table.data(), 1000, title, splineOff);
        EXPECT_EQ(read.Count, c.points);
        EXPECT_EQ(read.StopLine, c.stopLine);
        EXPECT_EQ(read.StopCause, c.cause);
    }

    // The table keeps the rows before the stop, exactly as they stand.
    const auto nan = TOverlayData::FromText(";Title\n" + Rows(200, "\n", 101), 0, 0.0f, false, false);
    ASSERT_FALSE(nan->IsError());
    ASSERT_EQ(nan->GetNumPoints(), 100u);
    EXPECT_EQ(nan->GetRows(), 100u);
    EXPECT_EQ(nan->GetPoints()[2 * 99], 1000.0f);
    EXPECT_EQ(nan->GetPoints()[2 * 99 + 1], -100.0f);
    EXPECT_EQ(nan->GetStopLine(), 102u);
    EXPECT_EQ(nan->GetStop(), "reading stopped at line 102, which is not a row of frequency and value");
    EXPECT_TRUE(nan->GetProblem().empty()) << "a table that loads is drawn";

    const auto cr = TOverlayData::FromText(";Old Mac\r" + Rows(200, "\r"), 0, 0.0f, false, false);
    EXPECT_EQ(cr->GetNumPoints(), 200u);
    EXPECT_STREQ(cr->GetTitle(), "Old Mac");
    EXPECT_EQ(cr->GetValueAt(2000.0f), -200.0f);
    EXPECT_TRUE(cr->GetStop().empty());

    // A full table stops too: 4 points hold 4 rows, and a fifth is lost.
    float four[2 * 4] = {};
    std::string title;
    bool splineOff = false;
    overlay_text::ReadResult full = overlay_text::ReadPoints(Rows(5), false, four, 4, title, splineOff);
    EXPECT_EQ(full.Count, 4u);
    EXPECT_EQ(full.StopLine, 5u);
    EXPECT_EQ(full.StopCause, Stop::Full);
    full = overlay_text::ReadPoints(Rows(4) + "\n", false, four, 4, title, splineOff);
    EXPECT_EQ(full.StopCause, Stop::None);
    // A whole table: 524288 points, and the row after them is told.
    const auto whole = TOverlayData::FromText(Rows(524289), 0, 0.0f, false, false);
    EXPECT_EQ(whole->GetNumPoints(), 524288u);
    EXPECT_EQ(whole->GetStop(), "reading stopped at line 524289: the table is full at 524288 points");
}

// A new title on a file of CR-only lines replaces its title line alone: the
// rows were once taken for part of the title and lost.
TEST(OverlayStop, ANewTitleKeepsTheRowsOfACrOnlyFile)
{
    EXPECT_EQ(overlay_text::WithTitle(";Old\r" + Rows(3, "\r"), "New"), ";New\r" + Rows(3, "\r"));
    EXPECT_EQ(overlay_text::WithTitle(Rows(3, "\r"), "New"), ";New\r" + Rows(3, "\r"));
    EXPECT_EQ(overlay_text::WithTitle(Rows(3, "\n"), "New"), ";New\n" + Rows(3, "\n"));
    EXPECT_EQ(overlay_text::ReadTitle(";SPLINE OFF\r;Legend\r" + Rows(3, "\r")), "Legend");
}

TEST(OverlayStop, AStoppedSlotFileIsReportedOnceByNameAndLineAndDrawnUpToTheStop)
{
    TempFolder folder;
    OverlayTables tables;
    tables.SetFolder(folder.folder.string(), 0);
    const overlay_slots::LoadStyle style;
    const std::string nan = folder.Path("L2.ovl");
    WriteText(nan, ";Title\n" + Rows(200, "\n", 101));
    WriteText(folder.Path("L3.ovl"), ";Old Mac\r" + Rows(200, "\r"));

    TOverlayData* table = tables.Table(1, 1, style, 0.0f);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetNumPoints(), 100u);
    std::vector<std::string> reports = tables.TakeReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Overlay 2 of the left plot shows only part of the file \"" + nan +
                              "\": reading stopped at line 102, which is not a row of frequency and value; the 100 "
                              "rows before it are drawn.");

    // The CR-only file reads whole, and says nothing.
    table = tables.Table(1, 2, style, 0.0f);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetNumPoints(), 200u);
    EXPECT_TRUE(tables.TakeReports().empty());

    // Read again, by this plot or another, the same version is not told again.
    OverlayTables other;
    other.SetFolder(folder.folder.string(), 0);
    ASSERT_NE(other.Table(1, 1, style, 0.0f), nullptr);
    EXPECT_TRUE(other.TakeReports().empty());

    // A new version is; once mended, and then broken again, it is told again.
    WriteText(nan, ";Title\n" + Rows(150, "\n", 120, true));
    ASSERT_NE(tables.Table(1, 1, style, 0.0f), nullptr);
    reports = tables.TakeReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("reading stopped at line 121, whose frequency is below the one before; the 119 rows"),
              std::string::npos)
        << reports[0];
    WriteText(nan, Rows(3));
    ASSERT_NE(tables.Table(1, 1, style, 0.0f), nullptr);
    EXPECT_TRUE(tables.TakeReports().empty());
    WriteText(nan, ";Title\n" + Rows(200, "\n", 101));
    ASSERT_NE(tables.Table(1, 1, style, 0.0f), nullptr);
    EXPECT_EQ(tables.TakeReports().size(), 1u);

    // An octave plot draws a single band (three points): one row is told as one.
    OverlayTables octave;
    octave.SetFolder(folder.folder.string(), 0);
    overlay_slots::LoadStyle bands;
    bands.FreqScaleType = 2;
    const std::string one = folder.Path("L4.ovl");
    WriteText(one, Rows(3, "\n", 2));
    table = octave.Table(1, 3, bands, 0.0f);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetRows(), 1u);
    reports = octave.TakeReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Overlay 4 of the left plot shows only part of the file \"" + one +
                              "\": reading stopped at line 2, which is not a row of frequency and value; the 1 row "
                              "before it is drawn.");
}

} // namespace
