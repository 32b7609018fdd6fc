// The signal generator window in the running program: opened and closed
// through the frame, re-opened at start-up where it stood, and taken down
// cleanly when the program closes while it builds.

#include "tests/app/FrameTestSupport.h"

#include "app/CToolbar2.h"
#include "app/ToolbarButtons.h"
#include "app/core/FrameCommandIds.h"
#include "widgets/CToolBtn.h"
#include "audio/TASIOSoundPort.h"
#include "utilities/CSigGen.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

using frame_test::FrameHarness;
using frame_test::WaitFor;
using namespace frame_command;

namespace {

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

TEST(MainFrameGenerator, ClosingTheProgramWhileTheGeneratorBuildsIsClean)
{
    // A ten-second sweep at 192 kHz takes a while to build: the close
    // comes while it does.
    FrameSettings sweep = frame_test::ToneSettings(192000);
    sweep.SigGenChannel[0].SigType = kSigFreqSweep;
    FrameHarness h(sweep);
    h.frame->OnCommand(kSignalGenerator);
    ASSERT_NE(h.frame->SignalGenerator(), nullptr);
    EXPECT_TRUE(h.frame->close());
    EXPECT_EQ(h.frame->SignalGenerator(), nullptr);
    EXPECT_TRUE(h.frame->Settings().Windows.IsOpen(kSlotSignalGenerator)) << "re-opened at the next start";
    h.frame.reset();
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
}
