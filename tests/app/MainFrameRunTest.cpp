// Run and Stop against the simulated module, device changes around a run,
// and closing while running.

#include "tests/app/FrameTestSupport.h"
#include "tests/support/Screenshot.h"

#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/SidebarButtons.h"
#include "app/core/FrameCommandIds.h"
#include "app/core/TRunControl.h"
#include "widgets/CToolBtn.h"
#include "audio/TASIOSoundPort.h"
#include "plot/TQuarnPlot.h"
#include "settings/CfgSettingsFile.h"
#include "platform/MessageBox.h"
#include "utilities/CSigGen.h"

#include <cmath>

#include <QTest>

#include <gtest/gtest.h>

using frame_test::FrameHarness;
using frame_test::WaitFor;

namespace {

// A quicker analysis than the defaults' 192 kHz mono: 48 kHz, both channels,
// each plot from 100 Hz to 20 kHz; the generator plays 1 kHz at −6 dBFS.
void WriteStereoSettings(FrameHarness& h)
{
    FrameSettings s;
    s.Processing.Format.Set(48000, 2, 3);
    for (int c = 0; c < 2; ++c) {
        s.Spectrum[c].StartFreq = 100.0f;
        s.Spectrum[c].StopFreq = 20000.0f;
        s.SigGenChannel[c].SigType = kSigTone1kHz;
    }
    s.SigGenOutput.OutputLevel = -6.0f;
    s.SigGenOutput.OutputLevelR = -6.0f;
    ASSERT_TRUE(SaveCfgSettings(h.folder.CfgPath(), s));
}

// −6 dBFS is 0.501 of full scale; at the default range and calibration full
// scale reads 1 Pa (left) or 1 g (right) peak, shown as rms.
constexpr double kToneRms = 0.50119 / 1.41421356;

bool Running(const CMainFrame& frame)
{
    return frame.IsRunning();
}

} // namespace

TEST(MainFrameRun, RunShowsLiveSpectraInThePlotsAndStopStops)
{
    FrameHarness h(false);
    WriteStereoSettings(h);
    h.Start();
    CMainFrame& frame = *h.frame;
    ASSERT_NE(frame.Plot(0), nullptr);
    ASSERT_NE(frame.Plot(1), nullptr);
    EXPECT_TRUE(frame.Plot(0)->IsIdle());
    frame.OnCommand(frame_command::kSignalGenerator);
    ASSERT_NE(frame.SignalGenerator(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return !frame.SignalGenerator()->IsBuilding(); }));

    // The side bar's Run lamp, as the operator presses it.
    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_RUN), Qt::LeftButton);
    ASSERT_TRUE(Running(frame));
    EXPECT_TRUE(frame.Sidebar()->Button(SidebarButtons::IDC_RUN)->IsLatched());
    EXPECT_FALSE(frame.Plot(0)->IsIdle());

    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 5; })) << "blocks flow from the module";
    // Each plot draws the generator's tone, heard through the loopback, where
    // and as loud as it was played: 85.0 dB SPL on the left, 0.354 g on the right.
    for (int c = 0; c < 2; ++c) {
        const SpectrumOpts& shown = frame.Settings().Spectrum[c];
        const double expected = c == 0 ? 20.0 * std::log10(kToneRms / 20e-6) : kToneRms;
        EXPECT_TRUE(frame_test::TraceShowsTone(*frame.Plot(c), 0, frame.Settings().Scaling[c].AmpScaleType,
                                               shown.PlotTop, shown.PlotRange, 1000.0f, float(expected)))
            << "plot " << c + 1;
    }
    EXPECT_EQ(frame.Statusbar()->StatusText(), "Running...");
    SaveScreenshot(frame, "main_frame_running");

    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_STOP), Qt::LeftButton);
    EXPECT_FALSE(Running(frame));
    EXPECT_EQ(frame.Statusbar()->StatusText(), "Stopped");
    EXPECT_TRUE(frame.Plot(0)->IsIdle());
    const std::uint32_t stopped = frame.GetFrameCounter();
    QTest::qWait(300);
    EXPECT_EQ(frame.GetFrameCounter(), stopped) << "nothing is processed after Stop";
}

TEST(MainFrameRun, AFirstRunRemindsThatTheMicrophoneIsNotCalibrated)
{
    FrameHarness h;
    h.frame->OnStart();
    EXPECT_TRUE(h.frame->IsRunning());
    ASSERT_FALSE(h.messages.texts.empty());
    EXPECT_EQ(h.messages.texts.front(), "WARNING the microphone has not yet been calibrated!");
    h.frame->OnStop();
}

TEST(MainFrameRun, ClosingWhileRunningStopsFirstAndWritesTheSettings)
{
    FrameHarness h(false);
    WriteStereoSettings(h);
    h.Start();
    h.frame->OnStart();
    ASSERT_TRUE(WaitFor([&] { return h.frame->GetFrameCounter() >= 2; }));
    h.frame->Settings().Spectrum[0].PlotTop = 77.0f;

    EXPECT_TRUE(h.frame->close());
    EXPECT_FALSE(h.frame->IsRunning()) << "the close stopped the run before anything went";
    EXPECT_EQ(h.frame->Plot(0), nullptr);
    h.frame.reset();

    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
    FrameSettings reread;
    ASSERT_TRUE(LoadCfgSettings(h.folder.CfgPath(), reread, [] { return 0; }));
    EXPECT_FLOAT_EQ(reread.Spectrum[0].PlotTop, 77.0f);
}

TEST(MainFrameRun, ADeviceChangeWhileStoppedRefreshesOnceAfterTheBurst)
{
    FrameHarness h;
    CMainFrame& frame = *h.frame;
    ASSERT_TRUE(frame.HasInputPort());
    EXPECT_TRUE(frame.OnDeviceChange());
    QTest::qWait(200);
    EXPECT_TRUE(frame.OnDeviceChange());
    EXPECT_TRUE(frame.IsDeviceRefreshPending());
    ASSERT_TRUE(WaitFor([&] { return frame.DeviceRefreshCount() == 1; }));
    EXPECT_FALSE(frame.HasInputPort()) << "the next Run makes a new one";
    QTest::qWait(300);
    EXPECT_EQ(frame.DeviceRefreshCount(), 1);

    // The next Run finds the module again.
    frame.OnStart();
    EXPECT_TRUE(frame.IsRunning());
    EXPECT_TRUE(frame.HasInputPort());
    frame.OnStop();
}

TEST(MainFrameRun, ANoticeDuringTheStartsWarningBoxLeavesTheRunItsPortAndOneAfterStopRefreshes)
{
    FrameHarness h;
    CMainFrame& frame = *h.frame;
    // The device watcher's notice arrives while the "not calibrated" box is
    // open, and the box is answered at once, well within the debounce.
    platform::SetMessageBoxHook([&](const platform::MessageBoxRequest& request) {
        h.messages.texts.push_back(request.text);
        frame.OnDeviceChange();
        return platform::MessageResult::Ok;
    });
    frame.OnStart();
    ASSERT_TRUE(frame.IsRunning());
    ASSERT_EQ(h.messages.texts.size(), 1u) << "the warning box was shown";
    EXPECT_FALSE(frame.IsDeviceRefreshPending());

    QTest::qWait(static_cast<int>(DeviceChangeDebounce::kDebounceMs) + 500);
    EXPECT_EQ(frame.DeviceRefreshCount(), 0);
    ASSERT_TRUE(frame.HasInputPort()) << "the run keeps the port it started with";
    const std::uint32_t before = frame.GetFrameCounter();
    EXPECT_TRUE(WaitFor([&] { return frame.GetFrameCounter() > before + 2; })) << "the run is analysed";

    frame.OnStop();
    EXPECT_TRUE(frame.OnDeviceChange());
    EXPECT_TRUE(WaitFor([&] { return frame.DeviceRefreshCount() == 1; })) << "a notice after Stop refreshes";
    EXPECT_FALSE(frame.HasInputPort());
}

TEST(MainFrameRun, RunCancelsARefreshSoTheNewRunKeepsItsPort)
{
    FrameHarness h(false);
    WriteStereoSettings(h);
    h.Start();
    CMainFrame& frame = *h.frame;
    frame.OnDeviceChange();
    frame.OnStart();
    EXPECT_FALSE(frame.IsDeviceRefreshPending());
    // Notices during the run are ignored too.
    EXPECT_TRUE(frame.OnDeviceChange());
    EXPECT_FALSE(frame.IsDeviceRefreshPending());

    QTest::qWait(2000);
    EXPECT_EQ(frame.DeviceRefreshCount(), 0);
    ASSERT_TRUE(frame.HasInputPort());
    const std::uint32_t before = frame.GetFrameCounter();
    EXPECT_TRUE(WaitFor([&] { return frame.GetFrameCounter() > before + 2; })) << "the run goes on";
    frame.OnStop();
}
