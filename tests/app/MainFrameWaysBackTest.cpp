// What a new user meets in the first hour: the data folders in place at the
// first start, a way back from Close All Plots, a tool bar without dead
// buttons that leaves the lamps in sight, help usable over a modal sheet,
// desktop launches that say when nothing opens them, the log folder buttons
// following Set Paths, and viewers whose text fits and which do not overlap.

#include "tests/app/FrameTestSupport.h"

#include "app/CDataLoggingMainDlg.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "settings/TextField.h"
#include "settings/dialogs/COptionsMain.h"
#include "settings/dialogs/CSetPathsDlg.h"
#include "utilities/CAnalysisView.h"
#include "utilities/CDataGrid.h"
#include "utilities/recorderlogic/AnalysisViewText.h"
#include "utilities/recorderlogic/DataGridMetrics.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <cstdlib>
#include <fstream>

namespace {

bool HasText(const std::vector<std::string>& texts, const std::string& part)
{
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& text) { return text.find(part) != std::string::npos; });
}

// The frame's View menu.
QMenu* ViewMenu(CMainFrame& frame)
{
    for (QAction* title : frame.menuBar()->actions())
        if (title->menu() != nullptr && title->menu()->objectName() == QStringLiteral("ViewMenu"))
            return title->menu();
    return nullptr;
}

} // namespace

// A data root that does not exist yet: the first start makes its Wave, Cal,
// Overlay and Log folders, and Set 1 stores an overlay there at once,
// without a message sending the user to a menu.
TEST(MainFrameWaysBack, AFreshDataRootGetsItsFourFoldersAtTheFirstStartAndSet1StoresAnOverlay)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    for (const char* folder : {"Wave", "Cal", "Overlay", "Log"})
        EXPECT_TRUE(std::filesystem::is_directory(h.folder.Root() + folder)) << folder;

    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    frame.OnStart();
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 4; }));
    OnModal<TOverlaySourceSelectDialog>([](TOverlaySourceSelectDialog& dialog) {
        dialog.SpectralButton()->setChecked(true);
        dialog.accept();
    });
    h.messages.texts.clear();
    QTest::mouseClick(frame.Plot(0)->OverlayStoreButton(0, 0), Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(h.folder.Root() + "Overlay/L1.ovl"));
    EXPECT_FALSE(HasText(h.messages.texts, "does not exist")) << h.messages.texts.front();
    frame.OnStop();
}

// Close All Plots in the View menu has its way back beside it, greyed while
// nothing is closed; the tool bar's View Spectrum Plot button does the
// same. With the tool bar shown, its buttons without a command are greyed
// and the side bar's Run and Stop lamps stay in sight below it.
TEST(MainFrameWaysBack, CloseAllPlotsIsUndoneFromTheViewMenuOrTheToolBarWhoseDeadButtonsAreGreyed)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    QMenu* view = ViewMenu(frame);
    ASSERT_NE(view, nullptr);
    QAction* close = frame.ActionFor(kCloseAllPlots);
    QAction* reopen = frame.ActionFor(kReopenPlots);
    ASSERT_TRUE(close != nullptr && reopen != nullptr);
    EXPECT_TRUE(view->actions().contains(close) && view->actions().contains(reopen));
    EXPECT_FALSE(reopen->isEnabled()) << "both plots are open";

    close->trigger();
    ASSERT_TRUE(frame.Plot(0) == nullptr && frame.Plot(1) == nullptr);
    EXPECT_TRUE(reopen->isEnabled());
    reopen->trigger();
    ASSERT_TRUE(frame.Plot(0) != nullptr && frame.Plot(1) != nullptr);
    EXPECT_FALSE(frame.Plot(0)->geometry().isEmpty() || frame.Plot(1)->geometry().isEmpty());
    EXPECT_LT(frame.Plot(0)->geometry().top(), frame.Plot(1)->geometry().top());
    EXPECT_FALSE(reopen->isEnabled());

    frame.OnCommand(kToggleToolbar);
    ASSERT_TRUE(frame.Toolbar()->isVisible());
    close->trigger();
    CToolBtn* spectrum = frame.Toolbar()->Button(ToolbarButtons::IDC_SPECTRUM);
    EXPECT_FALSE(spectrum->IsLatched());
    QTest::mouseClick(spectrum, Qt::LeftButton, {}, QPoint(14, 14));
    ASSERT_TRUE(frame.Plot(0) != nullptr && frame.Plot(1) != nullptr);
    EXPECT_TRUE(spectrum->IsLatched());

    int greyed = 0;
    for (const ToolbarButtonEntry& entry : ToolbarButtons::kButtons) {
        const bool enabled = frame.Toolbar()->Button(entry.id)->isEnabled();
        EXPECT_EQ(enabled, entry.command.has_value()) << entry.tip;
        greyed += enabled ? 0 : 1;
    }
    EXPECT_GT(greyed, 0);
    // Whatever stands at the middle of each lamp is the lamp.
    for (std::uint32_t id : {SidebarButtons::IDC_RUN, SidebarButtons::IDC_STOP}) {
        CToolBtn* lamp = frame.Sidebar()->Button(id);
        const QPoint middle = lamp->mapTo(frame.ClientArea(), lamp->rect().center());
        QWidget* seen = frame.ClientArea()->childAt(middle);
        EXPECT_TRUE(seen == lamp || lamp->isAncestorOf(seen)) << id;
    }
    EXPECT_GE(frame.Sidebar()->geometry().top(), frame.Toolbar()->geometry().bottom());
    SaveScreenshot(frame, "main_frame_tool_bar");
}

// Help asked for inside a modal sheet comes up over the sheet (the sheet
// blocks every window that is not its own), fits the screen, and stays
// open, back with the frame, once the sheet closes.
TEST(MainFrameWaysBack, HelpFromAModalSheetComesUpOverItFitsTheScreenAndOutlivesIt)
{
    FrameHarness h;
    CMainFrame& frame = *h.frame;
    bool checked = false;
    OnModal<COptionsMain>([&](COptionsMain& sheet) {
        sheet.findChild<QPushButton*>(QStringLiteral("id302"))->click();
        CHelpWindow* help = frame.HelpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->parentWidget(), &sheet) << "owned by the modal sheet, so not blocked by it";
        EXPECT_TRUE(help->isWindow());
        const QRect screen = help->screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(help->frameGeometry())) << "fits the screen at its default size";
        EXPECT_LE(help->width(), CHelpWindow::kDefaultWidth);
        SaveScreenshot(*help, "help_over_modal_sheet");
        // A dialog over the sheet takes the help over; closing it hands the
        // help back to the sheet, still modal, not to the blocked frame.
        QDialog inner(&sheet);
        OnModal<QDialog>([&](QDialog& shown) {
            EXPECT_EQ(&shown, &inner);
            frame.ShowHelp(750);
            EXPECT_EQ(help->parentWidget(), &inner);
        });
        inner.exec();
        EXPECT_EQ(help->parentWidget(), &sheet);
        EXPECT_TRUE(help->isVisible());
        checked = true;
    });
    frame.OnCommand(kProcessingSettings);
    ASSERT_TRUE(checked);
    CHelpWindow* help = frame.HelpWindow();
    ASSERT_NE(help, nullptr) << "not deleted with the sheet";
    EXPECT_EQ(help->parentWidget(), &frame);
    EXPECT_TRUE(help->isVisible());
    // From the frame itself it opens where it stood.
    const QPoint where = help->pos();
    frame.OnCommand(kHelpContents);
    EXPECT_EQ(help->pos(), where);
}

// Release Notes, License Agreement, Go to Website and the data-logging
// folder: when the desktop has nothing to open them with, a message in the
// program says so, with the desktop's own reason when it gave one.
TEST(MainFrameWaysBack, LaunchesWithoutADesktopHandlerAreToldInTheProgram)
{
    {
        FrameHarness h;
        h.externalOpens = false;
        WriteText(h.folder.Root() + "bin/readme.txt", "notes\n");
        h.frame->OnCommand(kReleaseNotes);
        ASSERT_EQ(h.messages.texts.size(), 1u);
        EXPECT_NE(h.messages.texts[0].find("no program that opens"), std::string::npos);
        EXPECT_NE(h.messages.texts[0].find(h.folder.Root() + "bin/readme.txt"), std::string::npos);
        // A document that is not there is named as missing, not blamed on the desktop.
        h.frame->OnCommand(kShowDisclaimer);
        ASSERT_EQ(h.messages.texts.size(), 2u);
        EXPECT_EQ(h.messages.texts[1], "This file or folder cannot be found:\n\n     " + h.folder.Root() + "bin/disclaim.txt");
    }

    // The desktop's opener started but found no handler: its exit code and
    // its words reach the user.
    FrameHarness h(false);
    const std::string opener = h.folder.Root() + "bin/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\necho \"xdg-open: no method available for opening '$1'\" >&2\nexit 3\n";
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", (h.folder.Root() + "bin:" + path).c_str(), 1);
    h.hookExternal = false;
    h.Start();
    h.frame->OnCommand(kGoToWebsite);
    const bool told = WaitFor([&] { return HasText(h.messages.texts, "no method available"); }, 10000);
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(told);
    EXPECT_TRUE(HasText(h.messages.texts, "https://"));
}

// The data-logging sheet's folder buttons follow "Set Data Logging
// Folder...": after it, Open Folder and View Latest Log File look in the
// new folder, not the one the sheet opened with.
TEST(MainFrameWaysBack, TheLogFolderButtonsFollowSetDataLoggingFolderWhileTheSheetIsOpen)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    frame.Settings().DataLog.Channel[0].Enable = 1;
    const std::string moved = h.folder.Root() + "Logs elsewhere";
    bool done = false;
    OnModal<CDataLoggingMainDlg>([&](CDataLoggingMainDlg& sheet) {
        OnModal<CSetPathsDlg>([&](CSetPathsDlg& paths) {
            paths.findChild<QLineEdit*>(QStringLiteral("id1989"))->setText(QString::fromStdString(moved));
            paths.accept();
        });
        sheet.findChild<QPushButton*>(QStringLiteral("4"))->click();
        ASSERT_TRUE(std::filesystem::is_directory(moved));
        h.opened.clear();
        sheet.findChild<QPushButton*>(QStringLiteral("3"))->click();
        ASSERT_EQ(h.opened.size(), 1u);
        EXPECT_EQ(h.opened[0].toLocalFile().toStdString(), moved);
        h.messages.texts.clear();
        sheet.findChild<QPushButton*>(QStringLiteral("ViewLogFile"))->click();
        EXPECT_TRUE(HasText(h.messages.texts, "There is no log file of this channel yet in:\n\n     " + moved));
        done = true;
    });
    frame.OnCommand(kDataLoggingSettings);
    EXPECT_TRUE(done);
}

// The three viewers on two channels before any data: each opens clear of
// the others (title bars included), wide enough for its longest text, and
// says it has no data rather than a measured-looking 0.00 beside -999.00.
TEST(MainFrameWaysBack, ViewersOpenApartWideEnoughForTheirTextAndSayWhenTheyHaveNoData)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    const int kinds[] = {kSlotPeakFrequency, kSlotPeakAmplitude, kSlotTotalPower};
    for (std::uint32_t id : {kPeakFrequency, kPeakAmplitude, kTotalPower})
        frame.OnCommand(id);
    QApplication::processEvents();
    std::vector<QRect> placed;
    for (int kind : kinds) {
        SCOPED_TRACE(kind);
        CAnalysisView* viewer = frame.Viewer(kind);
        ASSERT_NE(viewer, nullptr);
        const DataGridCells& cells = viewer->Grid()->Cells();
        ASSERT_EQ(cells.Rows(), 2);
        const int fontHeight = data_grid::MetricsFor({0, 0, viewer->width(), viewer->height()}, 2, 1)->fontHeight;
        for (int row = 0; row < 2; ++row) {
            const std::string_view text = cells.CellText(row, 0);
            EXPECT_EQ(text, analysis_view::kNoDataText);
        }
        // The longest reading it can show fits the window as it opened.
        const QString widest = QString::fromStdString(
            analysis_view::WidestText(kind, ShownUnitLabel(frame.Processing().GetModeProcessor(0)->GetUnitLabel(true)).c_str(),
                                      frame.Settings().Scaling[0].TotalPowerWeighting));
        EXPECT_LE(CDataGrid::ColumnWidthFor(widest, fontHeight), viewer->width());
        // Room for a title bar between one viewer and the next.
        for (const QRect& other : placed)
            EXPECT_GE(viewer->geometry().top(), other.bottom() + 20) << "clear of the one above";
        placed.push_back(viewer->geometry());
        SaveScreenshot(*viewer, "viewer_" + std::to_string(kind));
    }

    // With data: each shows a reading, not the no-data text.
    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    frame.OnStart();
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 4; }));
    frame.OnStop();
    for (int kind : kinds) {
        const std::string_view text = frame.Viewer(kind)->Grid()->Cells().CellText(0, 0);
        EXPECT_NE(text, analysis_view::kNoDataText) << kind;
        SaveScreenshot(*frame.Viewer(kind), "viewer_running_" + std::to_string(kind));
    }
}
