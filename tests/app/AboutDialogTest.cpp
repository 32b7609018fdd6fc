// The About box and the start-up splash.

#include "app/CAboutDialog.h"
#include "widgets/CToolBtn.h"
#include "tests/app/FrameTestSupport.h"
#include "tests/support/Screenshot.h"

#include <QElapsedTimer>
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
    EXPECT_EQ(about.Logo()->geometry(), QRect(24, 12, 500, 140));
    EXPECT_EQ(about.Logo()->GetId(), 102u);
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

TEST(AboutDialog, TheSplashClosesItselfAboutTwoSecondsAfterItCameUp)
{
    CAboutDialog splash(nullptr, "/nonexistent/install.ini", true, {});
    QElapsedTimer clock;
    clock.start();
    const int result = splash.exec();
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(result, QDialog::Accepted);
    // Window timers may fire a little early; "about two seconds" is the point.
    EXPECT_GE(elapsed, (CAboutDialog::kFinishInitMs + CAboutDialog::kSplashCloseMs) * 8 / 10);
    EXPECT_LT(elapsed, 30000);
}

TEST(AboutDialog, GettingStartedOpensTopic880AndEndsTheSplashAtOnce)
{
    std::vector<int> topics;
    CAboutDialog splash(nullptr, "", true, [&](int id) { topics.push_back(id); });
    splash.show();
    splash.OnTimer(CAboutDialog::IDT_FINISH_INIT);
    EXPECT_TRUE(splash.IsCloseTimerArmed());
    QTest::mouseClick(splash.GettingStartedButton(), Qt::LeftButton);
    EXPECT_EQ(topics, std::vector<int>{880});
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.IsCloseTimerArmed());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}
