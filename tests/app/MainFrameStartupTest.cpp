// Start-up and exit of the main frame, headless: which settings it starts
// with, what it writes back, and what it makes of a damaged file.

#include "tests/app/FrameTestSupport.h"

#include "app/FormatMenuModel.h"
#include "settings/CfgFileCheck.h"
#include "settings/IniSettingsFile.h"
#include "tests/support/HostileCfg.h"

#include <QComboBox>
#include <QScreen>
#include <QLineEdit>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

TEST(MainFrameStartup, DefaultsWithoutFilesTheirValuesFromAPreviousRunADamagedOneDefaultsAndANote)
{
    FrameHarness h;
    CMainFrame& frame = *h.frame;
    const FrameSettings& s = frame.Settings();
    EXPECT_EQ(frame.Paths().DataRoot, h.folder.Root()) << "the program's bin folder is stepped out of";
    EXPECT_FALSE(frame.StartedWithDamagedCfg());
    EXPECT_TRUE(h.messages.texts.empty());

    // The analysis of a first start (its rate and gain: the damaged file's
    // check below); side bar and status bar shown, tool bar built but hidden.
    EXPECT_EQ(s.Processing.Format.NumChannels, 1);
    EXPECT_EQ(s.Processing.ChannelProcessing, 0) << "one channel: the left alone";
    EXPECT_LT(s.Calibration[0].PctFullScale, 0.0f) << "an uncalibrated microphone";
    EXPECT_TRUE(frame.Sidebar()->isVisible() && frame.Statusbar()->isVisible());
    EXPECT_TRUE(!frame.Toolbar()->isVisible() && frame.Toolbar()->HasButtons());
    EXPECT_TRUE(frame.HasInputPort());
    SaveScreenshot(frame, "main_frame_first_start");

    // Two channels from the status bar's menu: both plots at once, of one height.
    frame.Statusbar()->OnFormatCommand(FormatMenuModel::kCommandStereo);
    EXPECT_EQ(frame.Settings().Processing.ChannelProcessing, 2);
    ASSERT_NE(frame.Plot(1), nullptr);
    EXPECT_EQ(frame.Plot(0)->geometry().height(), frame.Plot(1)->geometry().height());
    frame.Statusbar()->OnFormatCommand(FormatMenuModel::kCommandMono);
    EXPECT_EQ(frame.Plot(1), nullptr);

    // At its smallest the window shows every control of the plot's tool strip whole.
    frame.resize(600, 450);
    QApplication::processEvents();
    TQuarnPlot* plot = frame.Plot(0);
    ASSERT_NE(plot, nullptr);
    std::vector<QWidget*> controls{plot->PlotTopEdit(), plot->PlotRangeEdit(), plot->PeakHoldList()};
    for (std::uint32_t id : {401u, 402u, 471u, 480u})
        controls.push_back(plot->ToolButton(id));
    for (QWidget* control : controls) {
        ASSERT_NE(control, nullptr);
        const QRect where(control->mapTo(frame.ClientArea(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(control->isVisible() && frame.ClientArea()->rect().contains(where))
            << control->metaObject()->className() << " at x " << where.x();
    }

    // Closing the program while the generator builds (a ten-second sweep at
    // 192 kHz takes a while) is clean.
    frame.Settings().SigGenChannel[0].SigType = kSigFreqSweep;
    frame.OnCommand(kSignalGenerator);
    ASSERT_NE(frame.SignalGenerator(), nullptr);
    EXPECT_TRUE(frame.SignalGenerator()->IsBuilding());
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(frame.SignalGenerator(), nullptr);
    EXPECT_TRUE(frame.Settings().Windows.IsOpen(kSlotSignalGenerator)) << "re-opened at the next start";
    h.Finish();
    EXPECT_EQ(CheckCfgFile(h.folder.CfgPath()), CfgFileState::Readable);
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0) << "both ports are gone";

    // Files from a previous run give their values.
    FrameSettings previous;
    previous.Processing.Format.Set(48000, 2, 2);
    previous.Daq.DAQ_InputGain = 4;
    previous.Calibration[1].PctFullScale = 0.25f;
    const WindowPlacement placed{0, WindowPlacement::kShowNormal, -1, -1, -1, -1, {20, 30, 920, 580}};
    previous.Windows.Store(kSlotMainWindow, &placed);
    ASSERT_TRUE(SaveCfgSettings(h.folder.CfgPath(), previous));
    ASSERT_TRUE(SaveIniSettings(h.folder.IniPath(), previous));
    h.Start();
    const FrameSettings& read = h.frame->Settings();
    EXPECT_EQ(read.Processing.Format, TWaveFormat(48000, 2, 2));
    EXPECT_EQ(read.Processing.ChannelProcessing, 2) << "two channels side by side";
    EXPECT_EQ(read.Daq.DAQ_InputGain, 4);
    EXPECT_FLOAT_EQ(read.Calibration[1].PctFullScale, 0.25f);
    // Two channels with their own scaling: two plots, left over right.
    ASSERT_NE(h.frame->Plot(1), nullptr);
    EXPECT_LT(h.frame->Plot(0)->geometry().top(), h.frame->Plot(1)->geometry().top());
    // The stored placement, as far as the screen holds it (the offscreen
    // screen is narrower than 900 pixels), never narrower than the frame's
    // minimum.
    const QRect screen = h.frame->screen()->availableGeometry();
    EXPECT_EQ(h.frame->geometry().size(),
              QSize(std::max(h.frame->minimumWidth(), std::min(900, screen.width())), 550))
        << "the stored placement";
    EXPECT_GE(h.frame->frameGeometry().top(), screen.top()) << "the title bar on the screen";
    SaveScreenshot(*h.frame, "main_frame_two_channels");

    h.Finish();

    // A damaged file: the frame's defaults, a note, and the file kept until exit.
    h.messages.texts.clear();
    std::filesystem::remove(h.folder.IniPath());
    const std::string junk("\x7f" "ELF\x02\x01\x01\0\0\0 not a configuration [Settings", 40);
    WriteText(h.folder.CfgPath(), junk);

    h.Start();
    EXPECT_TRUE(h.frame->StartedWithDamagedCfg());
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find(h.folder.CfgPath()), std::string::npos) << "the note names the file";
    // The frame's own defaults, not the keys' file defaults.
    EXPECT_EQ(h.frame->Settings().Daq.DAQ_InputGain, 16);
    EXPECT_EQ(h.frame->Settings().Processing.Format.SamplingRate, 192000u);

    EXPECT_EQ(ReadText(h.folder.CfgPath()), junk) << "untouched while the program runs";
    h.Finish();
    EXPECT_EQ(CheckCfgFile(h.folder.CfgPath()), CfgFileState::Readable) << "exit wrote a good one";
}

TEST(MainFrameStartup, HostileNumbersInEveryKeyStartInBoundedMemoryAndAreNotWrittenBack)
{
    // Each key in turn gets one of these; the generator window opens too.
    const std::vector<std::vector<std::string>> files = {
        {"nan", "inf", "1e39", "-1e39", "1000000000", "-inf"},
        {"-5", "-1e39", "1000000000", "nan"},
    };
    for (std::size_t n = 0; n <= files.size(); ++n) {
        // Last, "nan" in every key, text keys (the window placements) too.
        const std::vector<std::string> values = n < files.size() ? files[n] : std::vector<std::string>{"nan"};
        SCOPED_TRACE(values.front() + (n < files.size() ? "" : " everywhere"));
        FrameHarness h(false);
        WriteText(h.folder.CfgPath(), hostile_cfg::EveryNumberFrom(values, false, n == files.size()));
        h.Start();
        for (const hostile_cfg::FloatField& field : hostile_cfg::FloatFields(h.frame->Settings()))
            EXPECT_TRUE(std::isfinite(field.Value) && std::fabs(field.Value) <= 1.0e7f) << field.Key;
        EXPECT_TRUE(h.frame->width() >= 400 && h.frame->height() >= 300) << "the window keeps a usable size";
        h.Finish();
        if (n == files.size())
            continue;  // the texts keep their "nan"
        for (const char* written : {"nan", "inf", "e+"})
            EXPECT_EQ(ReadText(h.folder.CfgPath()).find(written), std::string::npos) << written;
    }
}

// A save killed before its rename left its temporary file in the data
// folder: the next start removes it once it is old. A settings file the
// start cannot read is named in a note, and those the exit cannot write in
// one message.
TEST(MainFrameStartup, AStaleSettingsTemporaryFileGoesAtStartAndUnreadableOrUnwritableSettingsFilesAreNamed)
{
    FrameHarness h(false);
    const std::string stale = h.folder.Root() + ".settings-abcd1234.tmp";
    WriteText(stale, "half a settings file");
    std::filesystem::last_write_time(stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    h.Start();
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(h.messages.texts.empty());

    // A folder where the .cfg goes refuses root as well as anyone.
    std::filesystem::create_directories(h.folder.CfgPath());
    h.Finish();
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find(h.folder.CfgPath() + ": " + std::strerror(EISDIR)), std::string::npos)
        << h.messages.texts[0];
    EXPECT_EQ(h.messages.texts[0].find(h.folder.IniPath()), std::string::npos) << "the .ini was saved";

    // A folder where the .ini goes: a note at start names it; with the .cfg's
    // place a folder again by the exit, one message names both.
    h.messages.texts.clear();
    std::filesystem::remove(h.folder.IniPath());
    std::filesystem::create_directories(h.folder.IniPath());
    std::filesystem::remove(h.folder.CfgPath());
    h.Start();
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find("\"" + h.folder.IniPath() + "\" could not be read"), std::string::npos);
    std::filesystem::create_directories(h.folder.CfgPath());
    h.Finish();
    ASSERT_EQ(h.messages.texts.size(), 2u);
    EXPECT_NE(h.messages.texts[1].find(h.folder.IniPath() + ": it could not be read"), std::string::npos);
    EXPECT_NE(h.messages.texts[1].find("default settings: none were saved before"), std::string::npos);
}
