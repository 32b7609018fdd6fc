// Run and Stop against the simulated module with the generator playing into
// it, device changes around a run, data logging set up in the sheet from the
// side bar, written while the analyzer runs, closed by Stop and read back as
// CSV by Python's csv module, and closing while running.

#include "tests/app/FrameTestSupport.h"

#include "app/CDataLoggingMainDlg.h"
#include "app/core/TDataLog.h"
#include "app/core/TRunControl.h"
#include "plot/AmplitudeMapping.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"

#include "settings/TextField.h"

#include <QPushButton>

#include <chrono>
#include <fstream>

namespace {

// A quicker analysis than the defaults' 192 kHz mono: 48 kHz, both channels,
// each plot from 100 Hz to 20 kHz on its default scales; the generator plays
// 1 kHz at −6 dBFS.
FrameSettings StereoSettings()
{
    FrameSettings s = frame_test::ToneSettings();
    for (int c = 0; c < 2; ++c) {
        s.Scaling[c] = FrameSettings().Scaling[c];
        s.Spectrum[c].StartFreq = 100.0f;
        s.Spectrum[c].StopFreq = 20000.0f;
    }
    return s;
}

// −6 dBFS is 0.501 of full scale; at the default range and calibration full
// scale reads 1 Pa (left) or 1 g (right) peak, shown as rms.
constexpr double kToneRms = 0.50119 / 1.41421356;

} // namespace

TEST(MainFrameRun, RunShowsLiveSpectraPlaysTheGeneratorStopStopsBothNoticesWaitLogsAreWrittenAndCloseStopsFirst)
{
    FrameHarness h(StereoSettings());
    CMainFrame& frame = *h.frame;
    ASSERT_TRUE(frame.Plot(0) != nullptr && frame.Plot(1) != nullptr);
    EXPECT_TRUE(frame.Plot(0)->IsIdle());
    ASSERT_TRUE(frame_test::OpenGenerator(frame));

    // The side bar's Run lamp, as the operator presses it.
    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_RUN), Qt::LeftButton);
    ASSERT_TRUE(frame.IsRunning());
    EXPECT_TRUE(frame.Sidebar()->Button(SidebarButtons::IDC_RUN)->IsLatched());
    EXPECT_FALSE(frame.Sidebar()->Button(SidebarButtons::IDC_STOP)->IsLatched());
    EXPECT_FALSE(frame.Plot(0)->IsIdle());

    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 5; })) << "blocks flow from the module";
    // Each plot's highest point stands on the tone's column, as loud as it was
    // played (read back through the pane's own axis): 85.0 dB SPL on the left,
    // 0.354 g (within 1.5 dB) on the right.
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        const TQuarnPlot& plot = *frame.Plot(c);
        const SpectrumOpts& shown = frame.Settings().Spectrum[c];
        const std::vector<PlotPoint>& points = plot.LivePoints(0);
        ASSERT_FALSE(points.empty());
        const PlotPoint top = frame_test::TopPoint(points);
        const PlotRect rect = plot.PaneRect(0);
        EXPECT_NEAR(top.x, rect.left + plot.FrequencyToColumn(1000.0f), 1);
        const AmplitudeMapping axis(frame.Settings().Scaling[c].AmpScaleType, shown.PlotTop, shown.PlotRange, false);
        const float reads = axis.ValueAt(rect.bottom - top.y, rect.Height());
        EXPECT_NEAR(reads, c == 0 ? 20.0 * std::log10(kToneRms / 20e-6) : kToneRms, c == 0 ? 1.5 : 0.16 * kToneRms);
    }
    // Everywhere else the room's floor stands clear of the plot's bottom.
    std::vector<int> rows;
    for (const PlotPoint& point : frame.Plot(0)->LivePoints(0))
        rows.push_back(point.y);
    std::nth_element(rows.begin(), rows.begin() + rows.size() / 2, rows.end());
    const PlotRect pane = frame.Plot(0)->PaneRect(0);
    EXPECT_LT(rows[rows.size() / 2], pane.bottom - pane.Height() / 20) << "the floor is drawn above the bottom";
    EXPECT_EQ(frame.Statusbar()->StatusText(), "Running...");
    SaveScreenshot(frame, "main_frame_running");

    // The generator's own Run is refused while the analyzer runs; its Stop
    // stops the analyzer as well.
    CSigGen& generator = *frame.SignalGenerator();
    EXPECT_TRUE(generator.IsPlaying());
    generator.StopOutput();
    h.messages.texts.clear();
    generator.OnRunButton();
    EXPECT_FALSE(generator.IsPlaying());
    EXPECT_EQ(h.messages.texts, std::vector<std::string>{TSigGenPlayRules::kAsioRunningMessage});
    EXPECT_TRUE(frame.IsRunning());
    generator.StartGenerator();
    generator.StopGenerator();
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_FALSE(frame.Sidebar()->Button(SidebarButtons::IDC_RUN)->IsLatched());

    // The frame's Stop stops the output.
    frame.OnStart();
    ASSERT_TRUE(generator.IsPlaying());
    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_STOP), Qt::LeftButton);
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_TRUE(frame.Sidebar()->Button(SidebarButtons::IDC_STOP)->IsLatched());
    EXPECT_FALSE(frame.Sidebar()->Button(SidebarButtons::IDC_RUN)->IsLatched());
    EXPECT_FALSE(generator.IsPlaying());
    EXPECT_EQ(frame.Statusbar()->StatusText(), "Stopped");
    EXPECT_TRUE(frame.Plot(0)->IsIdle());
    const std::uint32_t stopped = frame.GetFrameCounter();
    QTest::qWait(300);
    EXPECT_EQ(frame.GetFrameCounter(), stopped) << "nothing is processed after Stop";

    // A device notice arrives while the start's "not calibrated" box is open,
    // and the box is answered at once, well within the debounce: the run
    // keeps the port it started with.
    h.messages.texts.clear();
    h.messages.whileShown = [&] { frame.OnDeviceChange(); };
    frame.OnStart();
    h.messages.whileShown = nullptr;
    ASSERT_TRUE(frame.IsRunning());
    EXPECT_EQ(h.messages.texts, std::vector<std::string>{"WARNING the microphone has not yet been calibrated!"});
    EXPECT_FALSE(frame.IsDeviceRefreshPending());
    QTest::qWait(static_cast<int>(DeviceChangeDebounce::kDebounceMs) + 500);
    EXPECT_EQ(frame.DeviceRefreshCount(), 0);
    ASSERT_TRUE(frame.HasInputPort());
    const std::uint32_t before = frame.GetFrameCounter();
    EXPECT_TRUE(WaitFor([&] { return frame.GetFrameCounter() > before + 2; })) << "the run is analysed";
    // A notice after Stop refreshes; the next Run finds the module again and
    // cancels a refresh still pending.
    frame.OnStop();
    EXPECT_TRUE(frame.OnDeviceChange());
    EXPECT_TRUE(WaitFor([&] { return frame.DeviceRefreshCount() == 1; })) << "a notice after Stop refreshes";
    EXPECT_FALSE(frame.HasInputPort());
    EXPECT_TRUE(frame.OnDeviceChange());
    frame.OnStart();
    EXPECT_TRUE(frame.IsRunning());
    EXPECT_TRUE(frame.HasInputPort());
    EXPECT_FALSE(frame.IsDeviceRefreshPending());

    // The side bar's Data Logging... stops a run before the sheet opens; its
    // OK takes what it shows: the left channel's peak frequency, peak level
    // and band power from 100 Hz to 20 kHz every second, without threshold,
    // into files named "Tone_…".
    LoggingOpts& opts = frame.Settings().DataLog.Channel[0];
    opts.Enable = 1;
    opts.bApplyThreshold = 0;
    opts.StartFreq = 100.0f;
    opts.StopFreq = 20000.0f;
    opts.DataItem[0] = opts.DataItem[1] = opts.DataItem[25] = 1;
    SetTextField(opts.LogFileName, "Tone");
    bool filled = false;
    OnModal<CDataLoggingMainDlg>([&filled](CDataLoggingMainDlg& sheet) {
        sheet.findChild<QPushButton*>("1")->click();
        filled = true;
    });
    CToolBtn* dataLog = frame.Sidebar()->Button(SidebarButtons::IDC_DATA_LOG);
    QTest::mouseClick(dataLog, Qt::LeftButton);
    ASSERT_TRUE(filled);
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_FALSE(dataLog->IsLatched()) << "logging shows only while the analyzer runs";
    // Run: the folder, made at the first start, takes the file; records follow.
    h.messages.texts.clear();
    frame.OnStart();
    ASSERT_TRUE(frame.IsRunning());
    EXPECT_EQ(std::count_if(h.messages.texts.begin(), h.messages.texts.end(), [](const std::string& text) {
                  return text.find("The data logging folder does not exist") != std::string::npos;
              }),
              0);
    EXPECT_TRUE(dataLog->IsLatched());
    const std::string log = frame.DataLog().OpenFilePath(0);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(std::filesystem::path(log).parent_path(), std::filesystem::path(h.folder.Root() + "Log"));
    // Header and two records: each line is on disk as soon as it is written.
    ASSERT_TRUE(WaitFor([&] {
        const std::string text = ReadText(log);
        return std::count(text.begin(), text.end(), '\n') >= 5;
    }));
    EXPECT_EQ(frame.Statusbar()->StatusText(), "Logging...");
    const float spacing = frame.Processing().GetLoggingData(0)->GetLineSpacing();
    frame.OnStop();
    EXPECT_FALSE(dataLog->IsLatched());
    const std::size_t messages = h.messages.texts.size();
    QTest::qWait(50);
    EXPECT_EQ(h.messages.texts.size(), messages) << "no failure or question came: " << h.messages.texts.back();
    // Python's csv module reads it: every record has the header's fields and
    // the peak frequency within one line of 1 kHz.
    const std::string script = h.folder.Root() + "check_log.py";
    std::ofstream(script)
        << "import csv, sys\n"
           "rows = list(csv.reader(open(sys.argv[1], newline='')))\n"
           "assert rows[0][0].startswith('Logging Start Time: ') and rows[1][0].startswith('Frequency Span: ')\n"
           "assert rows[2] == ['Time', 'Peak Freq', 'Peak Level', 'RMS Total Power Flat'], rows[2]\n"
           "assert rows[-1][0].startswith('Logging Stop Time: ') and len(rows) >= 6, rows[-1]\n"
           "for r in rows[3:-1]:\n"
           "    assert len(r) == 4 and abs(float(r[1]) - 1000.0) <= float(sys.argv[2]), r\n"
           "    float(r[2]); float(r[3])\n";
    const std::string command = "python3 " + script + " '" + log + "' " + std::to_string(spacing);
    EXPECT_EQ(std::system(command.c_str()), 0) << command;

    // Saving the signal stops a run first, then writes the file.
    frame.OnStart();
    ASSERT_TRUE(generator.IsPlaying());
    const std::string saved = h.folder.Root() + "tone.wav";
    generator.SetSaveFileChooser([&](QWidget*, const QString&) { return QString::fromStdString(saved); });
    OnModal<QDialog>([](QDialog& dialog) { dialog.accept(); });
    frame.OnCommand(frame_command::kSaveGeneratorWave);
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_FALSE(generator.IsPlaying());
    ASSERT_TRUE(std::filesystem::exists(saved));
    EXPECT_GT(std::filesystem::file_size(saved), 44u);

    // Closing while running stops first, then writes the settings.
    frame.OnStart();
    ASSERT_TRUE(generator.IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= stopped + 2; }));
    frame.Settings().Spectrum[0].PlotTop = 77.0f;
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(frame.IsRunning()) << "the close stopped the run before anything went";
    EXPECT_EQ(frame.Plot(0), nullptr);
    EXPECT_EQ(frame.SignalGenerator(), nullptr);
    h.frame.reset();
    EXPECT_EQ(TASIOSoundPort::GetReferenceCount(), 0);
    FrameSettings reread;
    ASSERT_TRUE(LoadCfgSettings(h.folder.CfgPath(), reread, [] { return 0; }));
    EXPECT_FLOAT_EQ(reread.Spectrum[0].PlotTop, 77.0f);
}

// Plots that redraw every 2 s do not hold the analysis back: at 48 kHz a
// step follows every 80 ms of new sound, while each plot draws at most once
// per 2 s of its own clock.
TEST(MainFrameRun, ThePlotsDisplayIntervalThinsTheirDrawingOnlyNotTheAnalysis)
{
    FrameSettings settings = StereoSettings();
    for (int c = 0; c < 2; ++c) {
        settings.Spectrum[c].IntervalFlag = 1;
        settings.Spectrum[c].IntervalSecs = 2.0f;
    }
    FrameHarness h(settings);
    CMainFrame& frame = *h.frame;
    ASSERT_TRUE(frame.Plot(0) != nullptr && frame.Plot(1) != nullptr);
    const std::uint64_t drawnBefore[2] = {frame.Plot(0)->GetTraceFrameCount(), frame.Plot(1)->GetTraceFrameCount()};
    const auto start = std::chrono::steady_clock::now();
    frame.OnStart();
    ASSERT_TRUE(frame.IsRunning());
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 24; }));
    const std::uint32_t steps = frame.GetFrameCounter();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    frame.OnStop();
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        const std::uint64_t drawn = frame.Plot(c)->GetTraceFrameCount() - drawnBefore[c];
        EXPECT_GE(drawn, 1u) << "the first step draws";
        EXPECT_LE(double(drawn), std::floor(seconds / 2.0) + 1.0) << steps << " steps in " << seconds << " s";
        EXPECT_GE(steps, drawn + 15) << "the steps between redraws are analysed";
    }
}
