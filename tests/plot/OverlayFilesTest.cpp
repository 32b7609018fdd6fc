// Slot files kept whole and bad files reported once: Overlay Options' OK
// changes only a file's title line, Load... and Save... say which file
// failed and why and never write beside the program, a bad slot file gives
// one message naming it and never holds the plot, however often the
// plot-top spinner steps.
#include "QuarnPlotTestSupport.h"
#include "plot/TLimitScroll.h"
#include "plot/TOverlayDialog.h"
#include "plot/overlay/OverlaySlots.h"
#include "plot/overlay/OverlayText.h"
#include "settings/DataPaths.h"
#include "tests/support/ModalDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace quarn_test;

// count rows "f<TAB>v" with CRLF, frequencies from first in steps of step.
std::string Rows(int count, double first, double step)
{
    std::string text;
    char line[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "%.3f\t%d.25\r\n", first + step * i, -(i % 90));
        text += line;
    }
    return text;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

struct Folder {
    QTemporaryDir dir;
    std::string Path(const std::string& name = {}) const
    {
        return dir.path().toStdString() + (name.empty() ? "" : "/" + name);
    }
};

TEST(OverlayFiles, ANewTitleReplacesTheTitleLineOnly)
{
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"title, CRLF", ";Old\r\n1 2\r\n", ";New\r\n1 2\r\n"},
        {"no title, LF", "1 2\n3 4\n", ";New\n1 2\n3 4\n"},
        {"no title, CRLF", "1 2\r\n", ";New\r\n1 2\r\n"},
        {"empty file", "", ";New\r\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF;Old\n1 2\n", "\xEF\xBB\xBF;New\n1 2\n"},
        {"spline line kept, last title replaced", ";SPLINE OFF\n;A\n;B\n1 2\n;C\n", ";SPLINE OFF\n;A\n;New\n1 2\n;C\n"},
        {"no line end at the end", ";Old", ";New"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(overlay_text::WithTitle(c.before, "New"), c.after) << c.name;
    EXPECT_EQ(overlay_text::WithTitle(";Old\n", "A\r\nB"), ";A\n") << "a typed line end cannot split the file";
}

// OK in Overlay Options with a new legend for each slot: every file is the
// same bytes apart from its title line, a file whose legend was left alone
// is not written at all, and one that cannot be kept whole is left and named.
TEST(OverlayFiles, OverlayOptionsOkChangesOnlyTitleLines)
{
    Folder folder;
    MessageLog messages;
    const std::string big = Rows(600000, 20.0, 0.04);
    const std::string octave = Rows(2000, 60000.0, 1.0);
    std::string outOfOrder = Rows(150, 100.0, 100.0);
    outOfOrder.insert(outOfOrder.find("12000.000"), "5.000\t0\r\n");
    const std::string untouched = ";Keep\n" + Rows(100, 10.0, 10.0);
    WriteText(folder.Path("L1.ovl"), ";Big\r\n" + big);
    WriteText(folder.Path("L2.ovl"), ";Order\r\n" + outOfOrder);
    WriteText(folder.Path("L3.ovl"), ";Octave\r\n;SPLINE OFF\r\n" + octave);
    WriteText(folder.Path("L4.ovl"), untouched);
    std::filesystem::create_directory(folder.Path("L5.ovl"));
    const overlay_slots::FileStamp before = overlay_slots::StampOf(folder.Path("L4.ovl"));

    SpectrumOpts options;
    // Fractional-octave tables, as the cut one was read.
    TOverlayDialog dialog(nullptr, &options, folder.Path(), 0, 2, 1, nullptr, {});
    EXPECT_EQ(dialog.LegendEdit(0)->text(), QStringLiteral("Big"));
    dialog.LegendEdit(0)->setText(QStringLiteral("Big renamed"));
    dialog.LegendEdit(1)->setText(QStringLiteral("Order renamed"));
    dialog.LegendEdit(2)->setText(QStringLiteral("Octave renamed"));
    dialog.LegendEdit(4)->setText(QStringLiteral("Folder"));
    dialog.accept();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ReadText(folder.Path("L1.ovl")), ";Big renamed\r\n" + big) << "600,000 rows, all kept";
    EXPECT_EQ(ReadText(folder.Path("L2.ovl")), ";Order renamed\r\n" + outOfOrder);
    EXPECT_EQ(ReadText(folder.Path("L3.ovl")), ";Octave renamed\r\n;SPLINE OFF\r\n" + octave);
    EXPECT_EQ(ReadText(folder.Path("L4.ovl")), untouched);
    EXPECT_EQ(overlay_slots::StampOf(folder.Path("L4.ovl")), before) << "an unchanged legend writes nothing";
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("L5.ovl")));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_TRUE(Contains(messages.texts[0], folder.Path("L5.ovl") + "\" was left as it was: it is not a regular file"))
        << messages.texts[0];
}

TEST(OverlayFiles, LoadAndSaveNameTheFailureAndAskBeforeReplacing)
{
    Folder folder;
    MessageLog messages;
    WriteText(folder.Path("mic.mic"), ";Mic\n20\t0\n1000\t0.5\n20000\t-2\n");
    std::string chosen = folder.Path("mic.mic");
    int asked = 0;
    std::vector<bool> saving;  // what each file dialog was opened for
    TOverlayDialog::SetFileChooser([&](QWidget*, bool save, const QString&) {
        ++asked;
        saving.push_back(save);
        return QString::fromStdString(chosen);
    });
    SpectrumOpts options;

    // A folder that does not exist: the write fails, and the message says where and why.
    {
        TOverlayDialog dialog(nullptr, &options, folder.Path("missing"), 0, 0, 1, nullptr, {});
        dialog.LoadButton(1)->click();
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_TRUE(Contains(messages.texts[0], "\"" + folder.Path("missing/L2.ovl") +
                                                    "\" could not be written: No such file or directory."))
            << messages.texts[0];
        EXPECT_TRUE(dialog.LegendEdit(1)->text().isEmpty());
    }

    // A named pipe chosen for Load... is refused, never opened.
    messages.texts.clear();
    {
        const std::string pipe = folder.Path("pipe.ovl");
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        chosen = pipe;
        TOverlayDialog dialog(nullptr, &options, folder.Path(), 0, 0, 1, nullptr, {});
        dialog.LoadButton(3)->click();
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_TRUE(Contains(messages.texts[0], "\"" + pipe + "\" could not be read: it is not a regular file."));
        EXPECT_FALSE(std::filesystem::exists(folder.Path("L4.ovl")));
        chosen = folder.Path("mic.mic");
        asked = 0;
    }

    // No folder at all: refused before any file dialog, with the folder
    // message a store gives, and nothing beside the program.
    messages.texts.clear();
    {
        TOverlayDialog dialog(nullptr, &options, "", 0, 0, 1, nullptr, {});
        dialog.LoadButton(1)->click();
        dialog.SaveButton(1)->click();
    }
    EXPECT_EQ(asked, 0) << "no file dialog without a folder";
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_TRUE(Contains(messages.texts[0], "The file folder \"\" does not exist"));
    EXPECT_EQ(messages.texts[1], messages.texts[0]);
    {
        TOverlayDialog dialog(nullptr, &options, "", 0, 0, 1, nullptr, {});
        dialog.LegendEdit(1)->setText(QStringLiteral("Typed"));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << "the offsets and colours are kept";
    }
    ASSERT_EQ(messages.texts.size(), 3u);
    EXPECT_EQ(messages.texts[2], messages.texts[0]);
    EXPECT_FALSE(std::filesystem::exists("L2.ovl"));

    // Save... as "x" when x.ovl exists: ".ovl" is added after the file
    // dialog's own question, so the question comes again.
    WriteText(folder.Path("L3.ovl"), ";Three\n100 1\n200 2\n300 3\n");
    WriteText(folder.Path("x.ovl"), "keep me");
    chosen = folder.Path("x");
    messages.texts.clear();
    messages.requests.clear();
    TOverlayDialog dialog(nullptr, &options, folder.Path(), 0, 0, 1, nullptr, {});
    messages.answer = platform::MessageResult::No;
    dialog.SaveButton(2)->click();
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_EQ(messages.requests.back().buttons, platform::MessageButtons::YesNo);
    EXPECT_TRUE(Contains(messages.texts.back(), folder.Path("x.ovl")));
    EXPECT_EQ(ReadText(folder.Path("x.ovl")), "keep me");
    messages.answer = platform::MessageResult::Yes;
    dialog.SaveButton(2)->click();
    EXPECT_EQ(ReadText(folder.Path("x.ovl")), ";Three\n100 1\n200 2\n300 3\n");
    // Load... opened an open dialog, Save... a save dialog.
    EXPECT_EQ(saving, std::vector<bool>({false, false, true, true}));
    TOverlayDialog::SetFileChooser({});
}

// Loading a file into a slot: a table is copied byte for byte into the
// pane's slot file and gives its title; anything else leaves the slot alone
// with the reason, the ordering and "no rows" cases in plain words.
TEST(OverlayFiles, ImportCopiesATableIntoThePanesSlotAndNamesWhyAnythingElseIsRefused)
{
    Folder folder;
    const std::string source = folder.Path("in.txt");
    const std::string prefix = "The file \"" + source + "\" could not be loaded as an overlay: ";
    const std::string plain = "it needs at least 3 rows of frequency and value in rising frequency order.";
    struct Case {
        const char* what;
        std::string bytes;
        std::string reason;
    } cases[] = {
        {"falling frequencies", ";Down\n300\t1\n200\t2\n100\t3\n", prefix + plain},
        {"titles only", ";Only a title\n", prefix + plain},
        {"two rows", ";Short\n100\t1\n200\t2\n", prefix + "it holds no table of at least 3 rows of frequency and value."},
        {"a table", ";Mic\r\n20\t0\r\n1000\t0.5\r\n20000\t-2\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteText(folder.Path("L3_2.ovl"), "old");
        WriteText(source, c.bytes);
        std::string title = "untouched", reason;
        const bool ok = overlay_slots::ImportFile(source, folder.Path(), 0, 2, 2, 0, title, reason);
        EXPECT_EQ(ok, c.reason.empty());
        EXPECT_EQ(reason, c.reason);
        EXPECT_EQ(ReadText(folder.Path("L3_2.ovl")), ok ? c.bytes : "old");
        EXPECT_EQ(title, ok ? "Mic" : "untouched");
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("L3.ovl"))) << "the upper pane's slot is another file";
}

// Change... takes the colour chosen into its row (the record keeps
// 0x00BBGGRR) and paints the row's swatch; Cancel keeps the colour.
TEST(OverlayFiles, ChangeTakesTheChosenColourIntoItsRowAndCancelKeepsIt)
{
    Folder folder;
    SpectrumOpts options;
    const SpectrumOpts before = options;
    TOverlayDialog dialog(nullptr, &options, folder.Path(), 0, 0, 1, nullptr, {});
    std::vector<QPushButton*> change;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Change..."))
            change.push_back(button);
    ASSERT_EQ(change.size(), 7u);
    OnModal<QColorDialog>([](QColorDialog& chooser) {
        chooser.setCurrentColor(QColor(0x11, 0x22, 0x33));
        chooser.accept();
    });
    change[2]->click();
    SpectrumOpts expected = before;
    expected.Overlay[2].Color = 0x332211;
    EXPECT_EQ(options, expected);
    EXPECT_EQ(dialog.Swatch(2)->palette().color(QPalette::Window), QColor(0x11, 0x22, 0x33));
    OnModal<QColorDialog>([](QColorDialog& chooser) { chooser.reject(); });
    change[4]->click();
    EXPECT_EQ(options, expected);
}

// A legend's title is read from the file's first 64 KiB: a last line
// without its line end counts, a line the limit cuts does not.
TEST(OverlayFiles, ATitleIsReadFromTheFilesHeadWithoutALineTheLimitCuts)
{
    Folder folder;
    const std::size_t head = 64u << 10;
    const struct {
        const char* what;
        std::string bytes;
        std::string title;
    } cases[] = {
        {"no line end", ";Legend", "Legend"},
        {"a later title cut by the limit", ";First\n;" + std::string(head, 'B'), "First"},
        {"a later title within the limit", ";First\n;Second\n" + std::string(head, ' '), "Second"},
        {"CR-only lines, a later title cut by the limit", ";First\r;" + std::string(head, 'B'), "First"},
        {"CR-only lines within the limit", ";First\r;Second\r" + std::string(head, ' '), "Second"},
    };
    for (const auto& c : cases) {
        WriteText(folder.Path("t.ovl"), c.bytes);
        EXPECT_EQ(overlay_slots::ReadTitle(folder.Path("t.ovl")), c.title) << c.what;
    }
}

// A plot of the left channel whose overlay folder is a temporary directory.
struct BadSlotPlot : TonePlot {
    BadSlotPlot() : TonePlot(ScalingOpts::kLogarithmic, ScalingOpts::kFftLog, -20.0f, -100.0f)
    {
        records.Spectrum.PeakHold = 0;
        paths.Set(DataPaths::kOverlay, dir.path().toStdString());
    }
    TQuarnPlot& Start(int slot)
    {
        records.Spectrum.Overlay[slot].Show1 = 1;
        TQuarnPlot& made = Make(900, 480);
        made.SetDataPaths(&paths, &paths);
        made.show();
        return made;
    }
    std::string File(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
    QTemporaryDir dir;
    DataPaths paths;
};

// Set with no overlay folder: the folder message, and nothing beside the program.
TEST(OverlayFiles, StoringWithoutAFolderIsRefusedWithTheFolderMessage)
{
    MessageLog messages;
    BadSlotPlot o;
    o.paths.Set(DataPaths::kOverlay, "");
    TQuarnPlot& plot = o.Make(900, 480);
    plot.SetDataPaths(&o.paths, &o.paths);
    QTest::mouseClick(plot.OverlayStoreButton(0, 1), Qt::LeftButton);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_TRUE(Contains(messages.texts[0], "The file folder \"\" does not exist")) << messages.texts[0];
    EXPECT_FALSE(std::filesystem::exists("L2.ovl"));
    EXPECT_EQ(o.records.Spectrum.Overlay[1].Show1, 0);
}

void WaitForMessages(const MessageLog& messages)
{
    EXPECT_TRUE(QTest::qWaitFor([&messages] { return !messages.texts.empty(); }, 5000)) << "no message came";
    // Whatever else was queued.
    QTest::qWait(300);
}

TEST(OverlayFiles, ABadSlotFileIsReportedOnceByNameAndNeverWhileTheSpinnerIsHeld)
{
    MessageLog messages;
    BadSlotPlot o;
    std::string descending = ";Descending\n";
    for (int f : {96000, 48000, 24000, 12000, 6000, 3000, 1000, 400, 100, 20})
        descending += std::to_string(f) + "\t-40\n";
    WriteText(o.File("L2.ovl"), descending);
    TQuarnPlot& plot = o.Start(1);
    TLimitScroll* spin = plot.PlotTopSpin();
    ASSERT_NE(spin, nullptr);
    spin->show();

    // Stepped ten times and then held on its up arrow: the repeat goes on,
    // and no box comes up while it does.
    for (int i = 0; i < 10; ++i)
        spin->StepUp();
    const QString stepped = spin->Buddy()->text();
    QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return spin->Buddy()->text() != stepped; }, 5000)) << "the arrow repeats";
    QTest::qWait(300);
    EXPECT_TRUE(messages.texts.empty()) << "a box inside the repeat would hide the release";
    QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 3));
    WaitForMessages(messages);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_TRUE(Contains(messages.texts[0], "Overlay 2 of the left plot"));
    EXPECT_TRUE(Contains(messages.texts[0], o.File("L2.ovl")));
    EXPECT_TRUE(Contains(messages.texts[0], overlay_text::kOrderingMessage));
    EXPECT_EQ(plot.OverlayFileReads(), 1) << "every step drew from the table read once";
    EXPECT_TRUE(plot.OverlayPoints(0, 1).empty());

    // Unchanged, it is not reported again; a new version of it is.
    for (int i = 0; i < 5; ++i)
        spin->StepDown();
    plot.ResetView();
    QTest::qWait(300);
    EXPECT_EQ(messages.texts.size(), 1u);
    WriteText(o.File("L2.ovl"), descending + "10\t-40\n");
    plot.ResetView();
    WaitForMessages(messages);
    EXPECT_EQ(messages.texts.size(), 2u);
    o.plot.reset();
}

// Redraws (reset view, plot-top steps) draw from the tables read before:
// only a changed file is read again, and the composite is rebuilt from it.
TEST(OverlayFiles, RedrawsUseTheTablesAlreadyReadUntilAFileChanges)
{
    MessageLog messages;
    BadSlotPlot o;
    WriteText(o.File("L1.ovl"), ";A\n20\t-40\n1000\t-40\n24000\t-40\n");
    WriteText(o.File("L2.ovl"), ";B\n20\t-60\n1000\t-60\n24000\t-60\n");
    o.records.Spectrum.IncludeInAverage1[0] = 1;
    o.records.Spectrum.IncludeInAverage1[1] = 1;
    // Only the composite shown: its hidden inputs are read for it.
    TQuarnPlot& plot = o.Start(6);
    const int reads = plot.OverlayFileReads();
    const std::string composite = ReadText(o.File("L7.ovl"));
    ASSERT_FALSE(plot.OverlayPoints(0, 6).empty());
    for (int i = 0; i < 5; ++i) {
        plot.ResetView();
        plot.PlotTopSpin()->StepUp();
    }
    EXPECT_EQ(plot.OverlayFileReads(), reads);
    EXPECT_EQ(ReadText(o.File("L7.ovl")), composite) << "not rebuilt";

    // Another size too, so the change shows even where file times are coarse.
    WriteText(o.File("L1.ovl"), ";A\n20\t-20.5\n1000\t-20.5\n24000\t-20.5\n");
    plot.ResetView();
    EXPECT_EQ(plot.OverlayFileReads(), reads + 2) << "the changed input and the rebuilt composite";
    EXPECT_NE(ReadText(o.File("L7.ovl")), composite);
    plot.ResetView();
    EXPECT_EQ(plot.OverlayFileReads(), reads + 2);
    EXPECT_TRUE(messages.texts.empty());
}

TEST(OverlayFiles, EachKindOfBadSlotFileGivesOneMessageAndAnEmptySlot)
{
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"descending", [](const std::string& p) { WriteText(p, "300 1\n200 2\n100 3\n"); },
         overlay_text::kOrderingMessage},
        {"binary", [](const std::string& p) { WriteText(p, std::string("\x7F" "ELF\x02\x01\x01\0\0\0\xFF\xFE\n\x01", 15)); },
         "holds no table"},
        {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }, "not a regular file"},
        {"named pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageLog messages;
        BadSlotPlot o;
        c.make(o.File("L3.ovl"));
        TQuarnPlot& plot = o.Start(2);
        WaitForMessages(messages);
        plot.ResetView();
        QTest::qWait(200);
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_TRUE(Contains(messages.texts[0], "Overlay 3 of the left plot is not shown: the file \"" +
                                                    o.File("L3.ovl") + "\""))
            << messages.texts[0];
        EXPECT_TRUE(Contains(messages.texts[0], c.reason)) << messages.texts[0];
        // One end mark: a reason ending in "!" gets no full stop after it.
        const std::string& text = messages.texts[0];
        const std::string ending = c.reason == std::string(overlay_text::kOrderingMessage) ? c.reason
                                   : std::string(c.reason) == "holds no table"
                                       ? "holds no table of at least 3 rows of frequency and value."
                                       : "not a regular file.";
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), ending.size())), ending);
        EXPECT_TRUE(plot.OverlayPoints(0, 2).empty());
        EXPECT_EQ(plot.OverlayTitle(0, 2), "");
    }
}

// A slot file whose table stops before its text does is drawn from the rows
// before the stop; one message names the overlay, the file and the line.
TEST(OverlayFiles, ASlotFileReadInPartIsDrawnAndItsStopReportedOnceWithTheLine)
{
    MessageLog messages;
    BadSlotPlot o;
    WriteText(o.File("L4.ovl"), ";Part\n20\t-40\n1000\t-40\n24000\t-40\nnan\t-40\n30000\t-40\n");
    TQuarnPlot& plot = o.Start(3);
    WaitForMessages(messages);
    plot.ResetView();
    QTest::qWait(200);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "Overlay 4 of the left plot shows only part of the file \"" + o.File("L4.ovl") +
                                     "\": reading stopped at line 5, which is not a row of frequency and value; "
                                     "the 3 rows before it are drawn.");
    EXPECT_FALSE(plot.OverlayPoints(0, 3).empty());
    EXPECT_EQ(plot.OverlayTitle(0, 3), "Part");
    EXPECT_EQ(plot.OverlayFileReads(), 1);
}

} // namespace
