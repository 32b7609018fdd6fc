// The application object: locale-independent numbers from start-up on, and
// the frame it creates and shows.

#include "app/CQuarnApp.h"
#include "tests/app/FrameTestSupport.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

TEST(Application, NumbersStayInTheCFormatWhateverTheDesktopLocale)
{
    // A desktop with decimal commas, when this system has one installed.
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    CQuarnApp::UseCNumbers();
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", 1.5);
    EXPECT_STREQ(text, "1.50");
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 1), "1234.5");
    EXPECT_EQ(QLocale().toDouble(QStringLiteral("2.25")), 2.25);
    if (!german)
        GTEST_LOG_(INFO) << "no de_DE locale here: only Qt's default locale was switched";
}

TEST(Application, InitInstanceShowsTheMainFrameAndExitInstanceWritesTheSettings)
{
    frame_test::DataFolder folder;
    CQuarnApp application;
    // The Qt message box hook is replaced by a recorder: no box may block.
    frame_test::MessageLog messages;
    CMainFrame::Options options;
    options.programPath = folder.ProgramPath();
    options.documentsFolder = folder.Root() + "docs";
    options.showSplash = false;
    options.watchDevices = false;
    ASSERT_TRUE(application.InitInstance(options));
    ASSERT_NE(application.MainFrame(), nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(application.MainFrame()->isVisible());
    EXPECT_EQ(application.MainFrame()->windowTitle().toStdString(), "Talvenor Mobile");

    EXPECT_EQ(application.ExitInstance(), 0);
    EXPECT_EQ(application.MainFrame(), nullptr);
    EXPECT_FALSE(folder.ReadFile(folder.CfgPath()).empty());
}
