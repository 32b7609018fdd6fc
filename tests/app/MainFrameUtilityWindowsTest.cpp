// The utility windows in the running program, on the simulated module whose
// inputs hear the generator's outputs (the frame's command test opens and
// closes the generator, its start-up test closes it while it builds): a recording of its tone,
// saved with the calibration, read back by us and by sox, played through the
// analysis; the viewers' live readouts and their copy; and all of them
// re-opened at start-up where they stood.

#include "tests/app/FrameTestSupport.h"

#include "audio/TWaveFile.h"
#include "utilities/CAnalysisView.h"
#include "utilities/CDataGrid.h"
#include "utilities/TRecorder.h"

#include <QAction>
#include <QClipboard>
#include <QScrollBar>

using frame_test::DisplayPeak;
using frame_test::Peak;

namespace {

constexpr std::uint32_t kRate = 48000;

// 48 kHz stereo 24-bit, dB lines; the generator plays 1 kHz at -6 dBFS on
// both channels, uncalibrated (levels in dB below full scale); the viewers
// read 500 Hz to 2 kHz.
FrameSettings RecorderSettings()
{
    FrameSettings s = frame_test::ToneSettings(kRate);
    for (int c = 0; c < 2; ++c) {
        s.Scaling[c].UtilityFreqSpanType = 2;
        s.Scaling[c].UtilityFreqCustomStart = 500.0f;
        s.Scaling[c].UtilityFreqCustomStop = 2000.0f;
        s.Calibration[c].IsEnabled = 0;
    }
    return s;
}

} // namespace

// Five seconds of the generator's tone are recorded, saved, read back and
// played through the analysis; the viewers show the live readouts, copy them,
// and re-open with the recorder where they stood.
TEST(MainFrameRecorder, TheToneIsRecordedSavedReadBackAndPlayedTheViewersReadItAndAllReopenWhereTheyStood)
{
    FrameHarness h(RecorderSettings());
    CMainFrame& frame = *h.frame;
    // The longest recording, as the File I/O options would set it: the
    // recording ends itself after exactly five seconds.
    frame.Settings().FileIO.MaxRamRecordingTimeSecs = 5;
    TChannelCalibration& left = frame.Settings().Calibration[0];
    TChannelCalibration& right = frame.Settings().Calibration[1];
    TChannelCalibration::SetText(left.ChannelName, "Left microphone");
    TChannelCalibration::SetText(right.ChannelName, "Right hydrophone");
    right.CalRatio = 3.5f;
    const TChannelCalibration recordedLeft = left;
    const TChannelCalibration recordedRight = right;
    ASSERT_TRUE(frame_test::OpenGenerator(frame));

    frame.OnCommand(kToggleToolbar);
    for (std::uint32_t id : {ToolbarButtons::IDC_PEAK_FREQ, ToolbarButtons::IDC_PEAK_AMP, ToolbarButtons::IDC_TOTAL_PWR})
        QTest::mouseClick(frame.Toolbar()->Button(id), Qt::LeftButton, {}, QPoint(14, 14));
    for (int kind : {7, 8, 9}) {
        ASSERT_NE(frame.Viewer(kind), nullptr) << kind;
        EXPECT_TRUE(frame.ActionFor(kPeakFrequency + static_cast<std::uint32_t>(kind - 7))->isChecked());
    }
    EXPECT_TRUE(frame.Toolbar()->Button(ToolbarButtons::IDC_TOTAL_PWR)->IsLatched());

    frame.OnCommand(kRecorder);
    TRecorder* recorder = frame.Recorder();
    ASSERT_NE(recorder, nullptr);

    QTest::mouseClick(recorder->Button(TRecorder::kRecordId), Qt::LeftButton, {}, QPoint(20, 16));
    ASSERT_EQ(recorder->GetState(), TRecorder::kRecording);
    EXPECT_TRUE(frame.IsRunning());
    EXPECT_TRUE(frame.SignalGenerator()->IsPlaying()) << "the run plays the open generator";
    ASSERT_TRUE(WaitFor([&] { return recorder->GetState() == TRecorder::kStopped; }));
    EXPECT_FALSE(frame.IsRunning());
    ASSERT_FALSE(h.messages.texts.empty());
    EXPECT_EQ(h.messages.texts.back(),
              "The recording has stopped at its longest length of 5 seconds. What was recorded is kept.");
    const Peak live[2] = {DisplayPeak(frame, 0), DisplayPeak(frame, 1)};
    const float spacing = frame.Processing().GetDisplayData(0)->GetLineSpacing();
    for (int row = 0; row < 2; ++row) {
        const std::string frequency(frame.Viewer(7)->Grid()->Cells().CellText(row, 0));
        const std::string level(frame.Viewer(8)->Grid()->Cells().CellText(row, 0));
        const std::string power(frame.Viewer(9)->Grid()->Cells().CellText(row, 0));
        EXPECT_NEAR(std::stof(frequency), 1000.0f, spacing) << frequency;
        EXPECT_NEAR(std::stof(level), -6.0f, 0.3f) << level;
        EXPECT_NEAR(std::stof(power), -6.0f, 1.0f) << power;
        EXPECT_EQ(frequency.substr(frequency.size() - 3) + level.substr(level.size() - 4), " Hz dBr");
    }
    {
        // A viewer paints its grid again only when something in it changed:
        // the stopped run's spectra give the same texts; a new layout
        // paints the whole grid.
        struct PaintCounter : QObject {
            bool eventFilter(QObject*, QEvent* event) override
            {
                paints += event->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
            int paints = 0;
        } counter;
        CAnalysisView& viewer = *frame.Viewer(7);
        QApplication::processEvents();
        viewer.Grid()->installEventFilter(&counter);
        viewer.UpdateResults();
        QApplication::processEvents();
        EXPECT_EQ(counter.paints, 0);
        viewer.Refresh();
        QApplication::processEvents();
        EXPECT_GT(counter.paints, 0);
        viewer.Grid()->removeEventFilter(&counter);
    }
    TWaveFile* recording = recorder->GetWaveFile();
    ASSERT_NE(recording, nullptr);
    EXPECT_EQ(recording->GetDataFrames(), 5 * kRate);
    EXPECT_TRUE(recorder->Button(TRecorder::kStopId)->IsLatched());
    EXPECT_EQ(recorder->TotalText().toStdString(), "5.000");
    SaveScreenshot(*recorder, "recorder_after_recording");

    // A changed recording: Cancel keeps the recorder and the program open.
    h.messages.answer = platform::MessageResult::Cancel;
    EXPECT_FALSE(frame.close());
    recorder->close();
    QTest::qWait(50);
    h.messages.answer = platform::MessageResult::Yes;
    EXPECT_TRUE(frame.isVisible());
    ASSERT_EQ(frame.Recorder(), recorder);
    EXPECT_TRUE(recorder->Document().IsChanged());

    const std::string path = h.folder.Root() + "tone.wav";
    recorder->SetFileChooser([&](QWidget*, TRecorder::FileDialog, const QString&) { return QString::fromStdString(path); });
    recorder->OnCommand(TRecorder::kFileSaveAs);
    EXPECT_EQ(recorder->windowTitle(), "tone.wav");
    EXPECT_FALSE(recorder->Document().IsChanged());

    // The position bar moves the file's cursor: a page is a tenth of it;
    // stepping back below 0 stops at 0.
    recorder->OnRewind();
    QScrollBar& bar = *recorder->PositionBar();
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.value(), 100);
    EXPECT_EQ(recording->GetPosition(), kRate / 2);
    EXPECT_EQ(recorder->ElapsedText().toStdString(), "0.500");
    for (int i = 0; i < 11; ++i)
        bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(std::pair(bar.value(), recording->GetPosition()), std::pair(0, std::uint64_t{0}));
    recorder->OnFastForward();
    EXPECT_EQ(bar.value(), 1000);

    // sox reads its rate, channels, sample width and samples.
    const std::string info = h.folder.Root() + "sox.txt";
    const std::string sox = "for o in r c b s; do sox --i -$o '" + path + "'; done > '" + info + "'";
    EXPECT_EQ(std::system(sox.c_str()), 0);
    EXPECT_EQ(ReadText(info), "48000\n2\n24\n" + std::to_string(5 * kRate) + "\n");

    // Opened again it brings its calibration back, and played through the
    // analysis it shows the peak the live run showed.
    left = TChannelCalibration{};
    right = TChannelCalibration{};
    recorder->OnCommand(TRecorder::kFileClose);
    EXPECT_EQ(recorder->GetWaveFile(), nullptr);
    recorder->OpenFile(QString::fromStdString(path));
    ASSERT_NE(recorder->GetWaveFile(), nullptr);
    EXPECT_EQ(frame.Settings().Calibration[0], recordedLeft);
    // The right record's ratio is derived again from its method: the
    // accelerometer's 0.1 V/g over the input range it holds, not the 3.5
    // written into it by hand.
    TChannelCalibration expectedRight = recordedRight;
    expectedRight.CalRatio = recordedRight.DAQVoltageRange / 0.1f;
    EXPECT_EQ(frame.Settings().Calibration[1], expectedRight) << frame.Settings().Calibration[1].CalRatio;
    EXPECT_EQ(frame.Settings().Processing.ChannelProcessing, 2);

    QTest::mouseClick(recorder->Button(TRecorder::kPlayId), Qt::LeftButton, {}, QPoint(20, 16));
    ASSERT_EQ(recorder->GetState(), TRecorder::kPlaying);
    EXPECT_TRUE(frame.IsPlaybackOn());
    EXPECT_TRUE(frame.Sidebar()->Button(SidebarButtons::IDC_RUN)->IsLatched());
    ASSERT_TRUE(WaitFor([&] { return !frame.IsPlaybackOn(); }));
    EXPECT_GT(frame.GetFrameCounter(), 0u);
    // The end of the file stops the run: the Run lamp goes out, Stop lights.
    EXPECT_FALSE(frame.Sidebar()->Button(SidebarButtons::IDC_RUN)->IsLatched());
    EXPECT_TRUE(frame.Sidebar()->Button(SidebarButtons::IDC_STOP)->IsLatched());
    for (int channel = 0; channel < 2; ++channel) {
        const Peak played = DisplayPeak(frame, channel);
        const float spacing = frame.Processing().GetDisplayData(channel)->GetLineSpacing();
        EXPECT_NEAR(played.frequency, live[channel].frequency, spacing) << channel;
        EXPECT_NEAR(played.level, live[channel].level, 0.2f) << channel;
    }
    EXPECT_EQ(recorder->GetState(), TRecorder::kPlaying) << "at the end it waits for Stop";
    recorder->OnStop();
    EXPECT_TRUE(recorder->Button(TRecorder::kStopId)->IsLatched());

    // Two rows shown, three lines copied: the last from the row below them.
    frame.Viewer(8)->CopyToClipboard();
    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].toStdString(), frame.Viewer(8)->Grid()->Cells().CellText(0, 0));
    EXPECT_EQ(lines[2], QString());

    // Its own close box: the frame stores it as closed and unchecks it.
    frame.Viewer(8)->close();
    ASSERT_TRUE(WaitFor([&] { return frame.Viewer(8) == nullptr; }));
    EXPECT_FALSE(frame.ActionFor(kPeakAmplitude)->isChecked());
    EXPECT_FALSE(frame.Toolbar()->Button(ToolbarButtons::IDC_PEAK_AMP)->IsLatched());

    // Open ones re-open where they stood; Close All Utilities closes each,
    // and the start after has none of them.
    frame.Viewer(7)->move(300, 220);
    recorder->move(250, 180);
    frame.SignalGenerator()->move(120, 90);
    h.Finish();
    h.Start();
    ASSERT_NE(h.frame->Viewer(7), nullptr) << "open at the last exit";
    EXPECT_EQ(h.frame->Viewer(7)->frameGeometry().topLeft(), QPoint(300, 220));
    EXPECT_NE(h.frame->Viewer(9), nullptr);
    EXPECT_EQ(h.frame->Viewer(8), nullptr) << "closed before the exit";
    ASSERT_NE(h.frame->Recorder(), nullptr);
    EXPECT_EQ(h.frame->Recorder()->frameGeometry().topLeft(), QPoint(250, 180));
    ASSERT_NE(h.frame->SignalGenerator(), nullptr);
    EXPECT_TRUE(h.frame->Toolbar()->Button(ToolbarButtons::IDC_GENERATE)->IsLatched());

    // A configuration saved with the generator open re-opens it where it stood when loaded.
    const std::string cfg = h.folder.Root() + "with-generator.cfg";
    ASSERT_TRUE(h.frame->SaveConfigurationTo(cfg));
    h.frame->OnCommand(kSignalGenerator);
    ASSERT_EQ(h.frame->SignalGenerator(), nullptr);
    ASSERT_TRUE(h.frame->OpenConfigurationFrom(cfg));
    ASSERT_NE(h.frame->SignalGenerator(), nullptr);
    EXPECT_EQ(h.frame->SignalGenerator()->frameGeometry().topLeft(), QPoint(120, 90));
    h.frame->OnCommand(kCloseAllUtilities);
    for (int kind : {7, 8, 9})
        EXPECT_EQ(h.frame->Viewer(kind), nullptr);
    EXPECT_EQ(h.frame->Recorder(), nullptr);
    h.Finish();
    h.Start();
    EXPECT_EQ(h.frame->Viewer(7), nullptr);
    EXPECT_EQ(h.frame->Recorder(), nullptr);
}

