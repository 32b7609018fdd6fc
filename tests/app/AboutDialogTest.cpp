// The About box and the start-up splash.

#include "app/CAboutDialog.h"
#include "widgets/CToolBtn.h"
#include "tests/app/FrameTestSupport.h"
#include "tests/support/Screenshot.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(AboutDialog, ShowsTheLogoVersionAndTheInstallFilesNames)
{
    frame_test::DataFolder folder;
    const std::string install = folder.Root() + "bin/talvenorInstall.ini";
    folder.WriteFile(install, "[UserInfo]\r\nUser=Ann Example\r\nCompany=Example Acoustics\r\n");
    CAboutDialog about(nullptr, install, false, {});
    EXPECT_EQ(about.windowTitle(), "About Talvenor");
    EXPECT_EQ(about.UserName()->text(), "Ann Example");
    EXPECT_EQ(about.CompanyName()->text(), "Example Acoustics");
    EXPECT_EQ(about.VersionText()->text().split('\n').size(), 3);
    EXPECT_TRUE(about.VersionText()->text().startsWith("Talvenor Mobile\nVersion "));
    EXPECT_EQ(about.Logo()->BitmapSize(), QSize(500, 140)) << "the SPLASH_SCREEN_LOGO bitmap is there";

    about.show();
    EXPECT_FALSE(about.OkButton()->isVisible()) << "the buttons come 100 ms later";
    ASSERT_TRUE(frame_test::WaitFor([&] { return about.OkButton()->isVisible(); }, 5000));
    EXPECT_TRUE(about.GettingStartedButton()->isVisible());
    EXPECT_FALSE(about.IsCloseTimerArmed()) << "the About box stays until closed";
    SaveScreenshot(about, "about_box");
    QTest::qWait(50);
    EXPECT_TRUE(about.isVisible());
}

// The splash arms its close once start-up has finished; the close, or
// Getting Started (which opens topic 880), ends it at once.
TEST(AboutDialog, TheSplashEndsOnItsCloseTimerOrOnGettingStarted)
{
    for (const bool gettingStarted : {false, true}) {
        SCOPED_TRACE(gettingStarted ? "Getting Started" : "close timer");
        std::vector<int> topics;
        CAboutDialog splash(nullptr, "", true, [&](int id) { topics.push_back(id); });
        splash.show();
        EXPECT_FALSE(splash.IsCloseTimerArmed());
        splash.OnTimer(CAboutDialog::IDT_FINISH_INIT);
        EXPECT_TRUE(splash.IsCloseTimerArmed());
        if (gettingStarted)
            QTest::mouseClick(splash.GettingStartedButton(), Qt::LeftButton);
        else
            splash.OnTimer(CAboutDialog::IDT_SPLASH_CLOSE);
        EXPECT_EQ(topics, gettingStarted ? std::vector<int>{880} : std::vector<int>{});
        EXPECT_FALSE(splash.isVisible());
        EXPECT_FALSE(splash.IsCloseTimerArmed());
        EXPECT_EQ(splash.result(), QDialog::Accepted);
    }
}
