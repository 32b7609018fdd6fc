// The signal generator window in the running program: opened and closed
// through the frame, re-opened at start-up where it stood, played with the
// analysis on the simulated module (whose inputs hear its outputs), and
// taken down cleanly when the program closes.

#include "tests/app/FrameTestSupport.h"
#include "tests/support/Screenshot.h"

#include "app/CSidebar.h"
#include "app/CToolbar2.h"
#include "app/SidebarButtons.h"
#include "app/ToolbarButtons.h"
#include "app/core/FrameCommandIds.h"
#include "app/core/TProcessingObjects.h"
#include "widgets/CToolBtn.h"
#include "audio/TASIOSoundPort.h"
#include "engine/SpectralData.h"
#include "settings/CfgSettingsFile.h"
#include "utilities/CSigGen.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using frame_test::FrameHarness;
using frame_test::WaitFor;
using namespace frame_command;

namespace {

// A quicker analysis than the defaults' 192 kHz mono: 48 kHz stereo,
// linear lines; the generator plays a 1 kHz tone at -6 dBFS unless told
// otherwise.
void WriteQuickSettings(FrameHarness& h, std::int32_t leftType = kSigTone1kHz, std::uint32_t rate = 48000)
{
    FrameSettings s = frame_test::ToneSettings(rate);
    s.SigGenChannel[0].SigType = leftType;
    ASSERT_TRUE(SaveCfgSettings(h.folder.CfgPath(), s));
}

// The generator's first build has ended and left a signal.
bool BuildDone(const CMainFrame& frame)
{
    CSigGen* window = frame.SignalGenerator();
    return window != nullptr && !window->IsBuilding() && window->GetWaveData() != nullptr;
}

QPoint Corner(const CSigGen& window)
{
    return window.frameGeometry().topLeft();
}

// Accepts the next modal dialog once it has opened (from inside its exec).
void AcceptNextDialog()
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            dialog->accept();
        }
    });
    poll->start(20);
}

// The main window with the generator's tool window drawn where it stands.
void SaveFrameWithGenerator(CMainFrame& frame, CSigGen& window, const std::string& name)
{
    QPixmap shot = frame.grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(window.frameGeometry().topLeft() - frame.geometry().topLeft(), window.grab());
    }
    QLabel picture;
    picture.setPixmap(shot);
    picture.resize(shot.size());
    EXPECT_FALSE(SaveScreenshot(picture, name).empty());
}

} // namespace

TEST(MainFrameGenerator, TheToggleOpensTheWindowItsCloseBoxClosesItAndTheSlotKeepsWhereItStood)
{
    FrameHarness h;
    CMainFrame& frame = *h.frame;
    ASSERT_EQ(frame.SignalGenerator(), nullptr);
    EXPECT_TRUE(frame.ActionFor(kSignalGenerator)->isEnabled());
    EXPECT_FALSE(frame.ActionFor(kSaveGeneratorWave)->isEnabled()) << "no window, nothing to save";

    // The hidden tool bar's Generate button, as the operator shows and presses it.
    frame.OnCommand(kToggleToolbar);
    CToolBtn* generate = frame.Toolbar()->Button(ToolbarButtons::IDC_GENERATE);
    ASSERT_TRUE(generate->isEnabled());
    QTest::mouseClick(generate, Qt::LeftButton, {}, QPoint(14, 14));
    CSigGen* window = frame.SignalGenerator();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), &frame) << "a tool window that stays above the frame";
    EXPECT_EQ(Corner(*window), QPoint(696, 444)) << "the generator's default corner";
    EXPECT_TRUE(generate->IsLatched());
    EXPECT_TRUE(frame.ActionFor(kSignalGenerator)->isChecked());
    EXPECT_TRUE(frame.ActionFor(kSaveGeneratorWave)->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return BuildDone(frame); }));

    // The lock refreshes the open window: one signal for both channels.
    frame.OnCommand(kLockGeneratorChannels);
    EXPECT_EQ(frame.Settings().LockSignalGeneratorChannels, 1);
    EXPECT_TRUE(frame.ActionFor(kLockGeneratorChannels)->isChecked());
    EXPECT_TRUE(WaitFor([&] { return BuildDone(frame); }));
    frame.OnCommand(kLockGeneratorChannels);
    // A new analysis format reaches the open window: it plays in it.
    ASSERT_EQ(window->GetChannels(), 1u);
    frame.SetAnalysisFormat(TWaveFormat(48000, 2, 3));
    frame.ReinitInput();
    ASSERT_TRUE(WaitFor([&] { return BuildDone(frame); }));
    EXPECT_EQ(window->GetChannels(), 2u);

    // Its own close box: the window asks, the frame stores and deletes it.
    window->move(150, 100);
    window->close();
    EXPECT_EQ(frame.SignalGenerator(), window) << "not deleted inside its own close handler";
    ASSERT_TRUE(WaitFor([&] { return frame.SignalGenerator() == nullptr; }));
    const WindowSlots& windowSlots = frame.Settings().Windows;
    EXPECT_FALSE(windowSlots.IsOpen(kSlotSignalGenerator)) << "closed: the next start does not re-open it";
    const PlacementRect stored = windowSlots.GetSavedWindowRect(kSlotSignalGenerator, {}, {800, 600});
    EXPECT_EQ(stored.left, 150);
    EXPECT_EQ(stored.top, 100);
    EXPECT_FALSE(generate->IsLatched());
    EXPECT_FALSE(frame.ActionFor(kSignalGenerator)->isChecked());
    EXPECT_FALSE(frame.ActionFor(kSaveGeneratorWave)->isEnabled());

    // Opened again where it stood; Close All Utilities closes it.
    frame.OnCommand(kSignalGenerator);
    ASSERT_NE(frame.SignalGenerator(), nullptr);
    EXPECT_EQ(Corner(*frame.SignalGenerator()), QPoint(150, 100));
    frame.OnCommand(kCloseAllUtilities);
    EXPECT_EQ(frame.SignalGenerator(), nullptr);
}

TEST(MainFrameGenerator, AGeneratorOpenAtTheLastExitReopensWhereItStood)
{
    FrameHarness h;
    h.frame->OnCommand(kSignalGenerator);
    ASSERT_NE(h.frame->SignalGenerator(), nullptr);
    h.frame->SignalGenerator()->move(120, 90);
    h.Finish();

    h.Start();
    CSigGen* window = h.frame->SignalGenerator();
    ASSERT_NE(window, nullptr) << "slot 6 was open at the last exit";
    EXPECT_EQ(Corner(*window), QPoint(120, 90));
    EXPECT_TRUE(h.frame->Toolbar()->Button(ToolbarButtons::IDC_GENERATE)->IsLatched());

    // A configuration saved with the window open re-opens it when loaded.
    const std::string cfg = h.folder.Root() + "with-generator.cfg";
    ASSERT_TRUE(h.frame->SaveConfigurationTo(cfg));
    h.frame->OnCommand(kSignalGenerator);
    ASSERT_EQ(h.frame->SignalGenerator(), nullptr);
    ASSERT_TRUE(h.frame->OpenConfigurationFrom(cfg));
    ASSERT_NE(h.frame->SignalGenerator(), nullptr);
    EXPECT_EQ(Corner(*h.frame->SignalGenerator()), QPoint(120, 90));

    // Closed before the exit: the start after stays without it.
    h.frame->OnCommand(kSignalGenerator);
    h.Finish();
    h.Start();
    EXPECT_EQ(h.frame->SignalGenerator(), nullptr);
}

TEST(MainFrameGenerator, RunPlaysTheOpenGeneratorIntoTheAnalysisAndTheCouplingHolds)
{
    FrameHarness h(false);
    WriteQuickSettings(h);
    h.Start();
    CMainFrame& frame = *h.frame;
    frame.OnCommand(kSignalGenerator);
    CSigGen* window = frame.SignalGenerator();
    ASSERT_NE(window, nullptr);
    window->move(420, 250);
    ASSERT_TRUE(WaitFor([&] { return BuildDone(frame); }));
    SaveFrameWithGenerator(frame, *window, "main_frame_with_generator");

    // The side bar's Run: the analysis starts, and with it the generator.
    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_RUN), Qt::LeftButton);
    ASSERT_TRUE(frame.IsRunning());
    EXPECT_TRUE(window->IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 6; }));
    for (int channel = 0; channel < 2; ++channel) {
        const SpectralData& shown = *frame.Processing().GetDisplayData(channel);
        float frequency = 0.0f;
        float level = 0.0f;
        shown.FindPeak(shown.GetStartBin(), shown.GetEndBin(), &frequency, &level);
        EXPECT_NEAR(frequency, 1000.0f, shown.GetLineSpacing()) << "the module hears the tone on channel " << channel;
    }
    SaveFrameWithGenerator(frame, *window, "main_frame_with_generator_playing");

    // The generator's own Run is refused while the analyzer runs.
    window->StopOutput();
    h.messages.texts.clear();
    window->OnRunButton();
    EXPECT_FALSE(window->IsPlaying());
    ASSERT_FALSE(h.messages.texts.empty());
    EXPECT_EQ(h.messages.texts.back(), TSigGenPlayRules::kAsioRunningMessage);
    EXPECT_TRUE(frame.IsRunning());

    // The generator's Stop stops the analyzer as well.
    window->StartGenerator();
    window->StopGenerator();
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_FALSE(window->IsPlaying());
    EXPECT_FALSE(frame.Sidebar()->Button(SidebarButtons::IDC_RUN)->IsLatched());

    // The frame's Stop stops the output.
    frame.OnStart();
    ASSERT_TRUE(window->IsPlaying());
    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_STOP), Qt::LeftButton);
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_FALSE(window->IsPlaying());

    // Saving the signal (57812) stops a run first, then writes the file.
    frame.OnStart();
    ASSERT_TRUE(window->IsPlaying());
    const std::string saved = h.folder.Root() + "tone.wav";
    window->SetSaveFileChooser([&](QWidget*, const QString&) { return QString::fromStdString(saved); });
    AcceptNextDialog();
    frame.OnCommand(kSaveGeneratorWave);
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_FALSE(window->IsPlaying());
    ASSERT_TRUE(std::filesystem::exists(saved));
    EXPECT_GT(std::filesystem::file_size(saved), 44u);
}

TEST(MainFrameGenerator, ClosingTheProgramWhileTheGeneratorBuildsOrPlaysIsClean)
{
    {
        // A ten-second sweep at 192 kHz takes a while to build: the close
        // comes while it does.
        FrameHarness h(false);
        WriteQuickSettings(h, kSigFreqSweep, 192000);
        h.Start();
        h.frame->OnCommand(kSignalGenerator);
        ASSERT_NE(h.frame->SignalGenerator(), nullptr);
        EXPECT_TRUE(h.frame->close());
        EXPECT_EQ(h.frame->SignalGenerator(), nullptr);
        EXPECT_TRUE(h.frame->Settings().Windows.IsOpen(kSlotSignalGenerator)) << "re-opened at the next start";
        h.frame.reset();
        EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
    }
    {
        FrameHarness h(false);
        WriteQuickSettings(h);
        h.Start();
        h.frame->OnCommand(kSignalGenerator);
        ASSERT_TRUE(WaitFor([&] { return BuildDone(*h.frame); }));
        h.frame->OnStart();
        ASSERT_TRUE(h.frame->SignalGenerator()->IsPlaying());
        ASSERT_TRUE(WaitFor([&] { return h.frame->GetFrameCounter() >= 2; }));
        EXPECT_TRUE(h.frame->close());
        EXPECT_FALSE(h.frame->IsRunning());
        EXPECT_EQ(h.frame->SignalGenerator(), nullptr);
        h.frame.reset();
        EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
    }
}
