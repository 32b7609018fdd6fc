// The program as a user starts it, on a real X server (Xvfb): the splash,
// the main window, Run pressed on the side bar, a few seconds of live
// spectra, and a PNG of the whole window as the screen shows it.

#include "app/CQuarnApp.h"
#include "app/CSidebar.h"
#include "app/SidebarButtons.h"
#include "widgets/CToolBtn.h"
#include "plot/TQuarnPlot.h"
#include "tests/app/FrameTestSupport.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

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

    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_RUN), Qt::LeftButton);
    ASSERT_TRUE(frame.IsRunning());
    ASSERT_TRUE(frame_test::WaitFor([&] { return frame.GetFrameCounter() >= 8; }));
    ASSERT_NE(frame.Plot(0), nullptr);
    EXPECT_FALSE(frame.Plot(0)->LivePoints(0).empty());
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
