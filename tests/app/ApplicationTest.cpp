// The application object: locale-independent numbers from start-up on, and
// the frame it creates and shows; its About box and start-up splash; and the
// device watcher, one notice per change of what is present.

#include "app/CAboutDialog.h"
#include "app/CQuarnApp.h"
#include "app/DeviceWatcher.h"
#include "platform/Paths.h"
#include "tests/app/FrameTestSupport.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>

#include <clocale>

TEST(Application, NumbersStayInTheCFormatWhateverTheDesktopLocale)
{
    // A desktop with decimal commas, when this system has one installed.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    CQuarnApp::UseCNumbers();
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(std::to_string(1.5), "1.500000");
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 1), "1234.5");
    EXPECT_EQ(QLocale().toDouble(QStringLiteral("2.25")), 2.25);
}

// The program lies in <root>/<name that is not UTF-8>/bin and runs from
// another folder: it reads and writes its settings in <that name>/. The
// test runs this binary there, in the child role below.
TEST(Application, AProgramInAFolderWhoseNameIsNotUtf8KeepsItsSettingsBesideItself)
{
    constexpr const char* kRole = "TALVENOR_TEST_ROLE";
    if (const char* role = std::getenv(kRole); role != nullptr && std::string(role) == "non-utf8-program") {
        frame_test::MessageLog messages;
        CQuarnApp application;
        CMainFrame::Options options;
        options.documentsFolder = std::string();
        options.showSplash = false;
        options.watchDevices = false;
        ASSERT_TRUE(application.InitInstance(options));
        QApplication::processEvents();
        EXPECT_EQ(application.ExitInstance(), 0);
        return;
    }

    namespace fs = std::filesystem;
    const fs::path self = RunningProgramPath();
    ASSERT_FALSE(self.empty());
    // Beside the binary, so that a hard link needs no copy.
    const fs::path root = self.parent_path() / ("non_utf8_" + std::to_string(::getpid()));
    const fs::path data = root / std::string("caf\xe9 \xff\xfe");
    fs::remove_all(root);
    fs::create_directories(data / "bin");
    fs::create_directories(root / "elsewhere");
    const fs::path program = data / "bin" / self.filename();
    std::error_code linked;
    fs::create_hard_link(self, program, linked);
    if (linked)
        fs::copy_file(self, program);
    const std::string stem = self.stem().string();
    const fs::path cfg = data / (stem + ".cfg");
    WriteText(cfg, "[Settings]\r\nSamplingRate=48000\r\n");

    const std::string command = "cd '" + (root / "elsewhere").string() + "' && " + kRole + "=non-utf8-program '" +
                                program.string() + "' --gtest_filter='Application.AProgramInAFolderWhose*'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string written = ReadText(cfg);
    EXPECT_NE(written.find("[Device]"), std::string::npos) << "the exit wrote the whole file beside the program";
    EXPECT_NE(written.find("SamplingRate=48000"), std::string::npos) << "the start read the file there";
    EXPECT_TRUE(fs::exists(data / (stem + ".ini")));
    EXPECT_TRUE(fs::is_empty(root / "elsewhere")) << "nothing in the current folder";
    fs::remove_all(root);
}

// The About box shows the logo, the version and the install file's names,
// its buttons a moment later, and stays until closed. The splash arms its
// close once start-up has finished; the close, or Getting Started (which
// opens topic 880), ends it at once.
TEST(AboutDialog, ShowsTheInstallFilesNamesAndStaysTheSplashEndsOnItsCloseTimerOrOnGettingStarted)
{
    frame_test::DataFolder folder;
    const std::string install = folder.Root() + "bin/talvenorInstall.ini";
    WriteText(install, "[UserInfo]\r\nUser=Ann Example\r\nCompany=Example Acoustics\r\n");
    CAboutDialog about(nullptr, install, false, {});
    EXPECT_EQ(about.UserName()->text() + "/" + about.CompanyName()->text(), "Ann Example/Example Acoustics");
    about.show();
    EXPECT_FALSE(about.OkButton()->isVisible()) << "the buttons come 100 ms later";
    const auto buttons = [&] { return about.OkButton()->isVisible() && about.GettingStartedButton()->isVisible(); };
    ASSERT_TRUE(WaitFor(buttons, 5000));
    EXPECT_FALSE(about.IsCloseTimerArmed()) << "the About box stays until closed";
    SaveScreenshot(about, "about_box");

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
        EXPECT_FALSE(splash.isVisible() || splash.IsCloseTimerArmed());
        EXPECT_EQ(splash.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(about.isVisible());
}

TEST(DeviceWatcher, ASoundServerSocketComingAndGoingIsNoticedOtherFilesAreNot)
{
    frame_test::DataFolder folder;
    const std::filesystem::path shm = folder.Root() + "shm";
    const std::filesystem::path snd = folder.Root() + "snd";
    std::filesystem::create_directories(shm);
    DeviceWatcher watcher({{shm.string(), {"jack"}}, {snd.string(), {}}});
    QSignalSpy notices(&watcher, &DeviceWatcher::DeviceChanged);

    std::ofstream(shm / "browser-cache") << "x";
    QTest::qWait(300);
    EXPECT_EQ(notices.count(), 0) << "not a sound server's file";

    // Such files coming every 10 ms for 0.3 s are read once per settling
    // time (0.15 s), not once per file.
    const int readings = watcher.Readings();
    for (int n = 0; n < 30; ++n) {
        std::ofstream(shm / ("browser-" + std::to_string(n))) << "x";
        QTest::qWait(10);
    }
    QTest::qWait(DeviceWatcher::kSettleMs * 2);
    EXPECT_GE(watcher.Readings(), readings + 1);
    EXPECT_LE(watcher.Readings(), readings + 5) << "not a reading per file";
    EXPECT_EQ(notices.count(), 0);

    std::ofstream(shm / "jack_default_0_0") << "x";
    EXPECT_TRUE(WaitFor([&] { return notices.count() == 1; }, 10000));
    std::filesystem::remove(shm / "jack_default_0_0");
    EXPECT_TRUE(WaitFor([&] { return notices.count() == 2; }, 10000));

    // A sound folder that appears later (the first card plugged in) is seen
    // through its parent, and watched itself from then on.
    std::filesystem::create_directories(snd);
    EXPECT_TRUE(WaitFor([&] { return notices.count() >= 2; }, 10000));
    const int before = notices.count();
    std::ofstream(snd / "pcmC0D0c") << "";
    EXPECT_TRUE(WaitFor([&] { return notices.count() == before + 1; }, 10000));
}
