// The program as a user starts it, on a real X server (Xvfb): the splash,
// the main window, Utilities → Signal Generator and Run pressed on the side
// bar as the getting-started notes say, live spectra of the generator's tone
// over the simulated room's floor, and a PNG of the whole window as the
// screen shows it.

#include "app/CQuarnApp.h"
#include "app/CSidebar.h"
#include "app/SidebarButtons.h"
#include "widgets/CToolBtn.h"
#include "plot/TQuarnPlot.h"
#include "utilities/CSigGen.h"
#include "tests/app/FrameTestSupport.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(MainFrameUnderXvfb, RunShowsSpectraAndTheWindowIsSavedAsAPicture)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run through xvfb-run";
    frame_test::DataFolder folder;
    CQuarnApp application;
    frame_test::MessageLog messages;
    CMainFrame::Options options;
    options.programPath = folder.ProgramPath();
    options.documentsFolder = folder.Root() + "docs";
    options.watchDevices = false;
    ASSERT_TRUE(application.InitInstance(options)) << "with its splash, as the program starts";
    CMainFrame& frame = *application.MainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    QAction* generator = nullptr;
    for (QAction* title : frame.menuBar()->actions())
        if (title->text() == QStringLiteral("&Utilities"))
            for (QAction* item : title->menu()->actions())
                if (item->text() == QStringLiteral("Signal &Generator"))
                    generator = item;
    ASSERT_NE(generator, nullptr);
    generator->trigger();
    ASSERT_NE(frame.SignalGenerator(), nullptr);
    ASSERT_TRUE(frame_test::WaitFor([&] { return !frame.SignalGenerator()->IsBuilding(); }));

    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_RUN), Qt::LeftButton);
    ASSERT_TRUE(frame.IsRunning());
    ASSERT_TRUE(frame_test::WaitFor([&] { return frame.GetFrameCounter() >= 8; }));
    TQuarnPlot* plot = frame.Plot(0);
    ASSERT_NE(plot, nullptr);
    // The default 1 kHz tone at −6 dBFS reads 85.0 dB SPL at the default
    // calibration (full scale 1 Pa peak); the default plot starts at 1 kHz.
    const SpectrumOpts& shown = frame.Settings().Spectrum[0];
    EXPECT_TRUE(frame_test::TraceShowsTone(*plot, 0, frame.Settings().Scaling[0].AmpScaleType, shown.PlotTop,
                                           shown.PlotRange, 1000.0f, 84.97f));
    // Everywhere else the room's floor stands clear of the plot's bottom.
    std::vector<int> rows;
    for (const PlotPoint& point : plot->LivePoints(0))
        rows.push_back(point.y);
    ASSERT_FALSE(rows.empty());
    std::nth_element(rows.begin(), rows.begin() + rows.size() / 2, rows.end());
    const PlotRect pane = plot->PaneRect(0);
    EXPECT_LT(rows[rows.size() / 2], pane.bottom - pane.Height() / 20) << "the floor is drawn above the bottom";
    QTest::qWait(200);

    const QString folderPath = QStringLiteral(SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folderPath));
    const QPixmap shot = frame.screen()->grabWindow(frame.winId());
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), frame.size());
    const QString file = folderPath + "/xvfb_main_window_running.png";
    EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();

    frame.close();
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_EQ(application.ExitInstance(), 0);
}
