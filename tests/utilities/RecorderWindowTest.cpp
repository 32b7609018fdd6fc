// The recorder window against a fake frame: its layout under the menu, the
// position bar's steps over a one-second file (the cursor reads back as the
// step that placed it, the bar's ends included), and the transport buttons'
// calls into the frame.

#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QMenuBar>
#include <QScrollBar>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/TWaveFile.h"
#include "settings/FrameSettings.h"
#include "tests/support/PlatformTestSupport.h"
#include "tests/support/Screenshot.h"
#include "utilities/RecorderFrame.h"
#include "utilities/TRecorder.h"
#include "widgets/CToolBtn.h"

namespace {

struct FakeFrame final : RecorderFrame {
    FrameSettings& GetSettings() override { return settings; }
    bool IsAnalyzerRunning() const override { return analyzerRunning; }
    void StopAnalyzer() override
    {
        calls.push_back("stop analyzer");
        analyzerRunning = false;
    }
    bool IsPlaybackRunning() const override { return playbackRunning; }
    void StopPlayback() override
    {
        calls.push_back("stop playback");
        playbackRunning = analyzerRunning = false;
    }
    bool StartRecordingInput() override
    {
        calls.push_back("record");
        return true;
    }
    // Playback runs through the analysis: the analyzer runs too.
    bool StartPlayback() override
    {
        calls.push_back("play");
        playbackRunning = analyzerRunning = true;
        return true;
    }
    void ReinitInput() override { calls.push_back("reinit"); }
    std::optional<float> CurrentInputRange() override { return std::nullopt; }

    FrameSettings settings;
    bool analyzerRunning = false;
    bool playbackRunning = false;
    std::vector<std::string> calls;
};

std::string Seconds(int barValue)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", barValue / 1000.0);
    return text;
}

} // namespace

TEST(RecorderWindow, ButtonsSitInARowUnderTheMenuAndTheBarMovesTheFilesCursorByItsSteps)
{
    TempFolder folder;
    MessageLog messages;
    FakeFrame frame;
    frame.settings.m_DataPaths.Set(DataPaths::kWave, folder.folder.string());
    frame.settings.m_DataPathsInUse.Set(DataPaths::kWave, folder.folder.string());
    frame.settings.Processing.Format.Set(8000, 2, 2);
    frame.settings.Calibration[0].IsEnabled = 0;
    TRecorder recorder(&frame, nullptr);
    recorder.SetCalibrationQuestion([](QWidget*) {
        ADD_FAILURE() << "no question without calibration";
        return false;
    });
    ASSERT_TRUE(recorder.Create(QPoint(0, 0)));

    // Five 40 x 32 buttons 2 pixels apart, one pixel under the menu; the bar
    // beside the elapsed time, 38 pixels under it.
    const int menu = recorder.Menu()->geometry().bottom() + 1;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(recorder.Button(TRecorder::kRecordId + i)->geometry(), QRect(2 + 42 * i, menu + 1, 40, 32)) << i;
    EXPECT_EQ(recorder.Button(TRecorder::kRecordId - 1), nullptr);
    EXPECT_EQ(recorder.Button(TRecorder::kFastForwardId + 1), nullptr);
    EXPECT_EQ(recorder.PositionBar()->geometry(), QRect(53, menu + 38, 112, 16));
    EXPECT_EQ(recorder.height(), menu + 56);
    SaveScreenshot(recorder, "recorder_window");

    // Play without a file says so and plays nothing.
    recorder.OnPlay();
    EXPECT_EQ(messages.texts, std::vector<std::string>{TRecorder::kNoFileMessage});
    EXPECT_TRUE(frame.calls.empty());

    // A second at 8 kHz: a bar step of 1/1000 is 8 frames.
    const std::string path = folder.Path("second.wav");
    {
        TWaveFile second(8000, TWaveFormat(8000, 2, 2));
        for (std::uint64_t j = 0; j < 8000; ++j) {
            second.PutSample(0, j, 0);
            second.PutSample(0, j, 1);
        }
        second.SetFileName(path);
        ASSERT_TRUE(second.Save());
    }
    recorder.OpenFile(QString::fromStdString(path));
    TWaveFile* file = recorder.GetWaveFile();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(recorder.TotalText().toStdString(), "1.000");
    QScrollBar& bar = *recorder.PositionBar();
    const struct {
        int from;
        QAbstractSlider::SliderAction action;
        int to;
    } steps[] = {
        {500, QAbstractSlider::SliderSingleStepSub, 490}, {500, QAbstractSlider::SliderSingleStepAdd, 510},
        {500, QAbstractSlider::SliderPageStepSub, 400},   {500, QAbstractSlider::SliderPageStepAdd, 600},
        {5, QAbstractSlider::SliderSingleStepSub, 0},     {95, QAbstractSlider::SliderPageStepSub, 0},
        {995, QAbstractSlider::SliderSingleStepAdd, 1000}, {950, QAbstractSlider::SliderPageStepAdd, 1000},
        {500, QAbstractSlider::SliderToMinimum, 0},     {500, QAbstractSlider::SliderToMaximum, 1000},
    };
    for (const auto& s : steps) {
        recorder.OnScroll(QAbstractSlider::SliderMove, s.from);
        ASSERT_EQ(bar.value(), s.from);
        bar.triggerAction(s.action);
        EXPECT_EQ(bar.value(), s.to) << s.from << " by " << s.action;
        EXPECT_EQ(file->GetPosition(), std::uint64_t(8 * s.to)) << s.from << " by " << s.action;
        EXPECT_EQ(recorder.ElapsedText().toStdString(), Seconds(s.to)) << s.from << " by " << s.action;
    }
    recorder.OnRewind();
    EXPECT_EQ(std::pair(bar.value(), file->GetPosition()), std::pair(0, std::uint64_t{0}));
    recorder.OnFastForward();
    EXPECT_EQ(std::pair(bar.value(), file->GetPosition()), std::pair(1000, std::uint64_t{8000}));

    // Play and Stop: the frame plays the file, and Stop stops its playback;
    // a running analysis is stopped before recording starts.
    recorder.OnRewind();
    recorder.OnPlay();
    EXPECT_EQ(recorder.GetState(), std::uint32_t{TRecorder::kPlaying});
    EXPECT_TRUE(recorder.Button(TRecorder::kPlayId)->IsLatched());
    recorder.OnStop();
    EXPECT_EQ(recorder.GetState(), std::uint32_t{TRecorder::kStopped});
    // Rewind and Fast Forward stop a playing file first.
    for (void (TRecorder::*move)() : {&TRecorder::OnRewind, &TRecorder::OnFastForward}) {
        recorder.OnPlay();
        (recorder.*move)();
        EXPECT_EQ(recorder.GetState(), std::uint32_t{TRecorder::kStopped});
        EXPECT_FALSE(frame.playbackRunning);
    }
    frame.analyzerRunning = true;
    recorder.OnRecord();
    EXPECT_EQ(recorder.GetState(), std::uint32_t{TRecorder::kRecording});
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"reinit", "play", "stop playback", "play", "stop playback",
                                                     "play", "stop playback", "stop analyzer", "record"}))
        << "opening the file set the input up for its format; a playback is stopped as a playback";
    recorder.OnStop();
    recorder.SetState(TRecorder::kStopped);
    messages.answer = platform::MessageResult::No;  // the changed recording is not saved
    EXPECT_TRUE(recorder.CloseFile());

    // A file without calibration while calibration is on: the question is
    // asked, and a No keeps calibration on.
    frame.settings.Calibration[0].IsEnabled = 1;
    int asked = 0;
    recorder.SetCalibrationQuestion([&asked](QWidget*) {
        ++asked;
        return false;
    });
    recorder.OpenFile(QString::fromStdString(path));
    ASSERT_NE(recorder.GetWaveFile(), nullptr);
    EXPECT_EQ(std::pair(asked, frame.settings.Calibration[0].IsEnabled), std::pair(1, 1u));
}
