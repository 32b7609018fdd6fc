// The generator window against a fake frame: its lists and buttons, Run and
// Stop with the analyzer's coupling, one-shot signals, builds reported from
// the worker, closing, the commands' dialogs, and saving.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <tuple>

#include "audio/TWaveFile.h"
#include "tests/utilities/SigGenWindowTestSupport.h"
#include "utilities/CSigGen.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"

using namespace siggen_window_test;
namespace fs = std::filesystem;

namespace {

class SigGenWindowTest : public ::testing::Test {
protected:
    // Creates the window and waits for its first build.
    CSigGen& Open()
    {
        window = std::make_unique<CSigGen>(&frame, nullptr);
        frame.window = window.get();
        EXPECT_TRUE(window->Create(QPoint(40, 60)));
        EXPECT_TRUE(WaitForBuildShown(*window));
        return *window;
    }
    void TearDown() override
    {
        window.reset();
        QApplication::processEvents();
    }

    template <typename T>
    T* Control(int id)
    {
        return window->findChild<T*>(QString::number(id));
    }

    FakeSigGenFrame frame;
    MessageCapture capture;
    std::unique_ptr<CSigGen> window;
};

} // namespace

TEST_F(SigGenWindowTest, OpensWithItsSignalBuiltThenRunPlaysItInALoopAtTheAnalyzerRateAndStopEndsIt)
{
    frame.settings.Processing.Format = TWaveFormat(24000, 2, 2);
    QSignalSpy shows(&frame.progress, &ProgressSignals::ProgressShow);
    QSignalSpy hides(&frame.progress, &ProgressSignals::ProgressHide);
    CSigGen& w = Open();
    EXPECT_EQ(Control<QComboBox>(CSigGen::kLeftTypeId)->currentText(), "1 kHz Tone");
    // The tone has nothing to set.
    EXPECT_FALSE(Control<QPushButton>(CSigGen::kLeftDetailsId)->isEnabled());
    ASSERT_NE(w.GetWaveData(), nullptr);
    EXPECT_EQ(std::tuple(w.GetWaveData()->GetNumFrames(), w.GetChannels(), shows.count(), hides.count()),
              std::tuple(480000u, 2u, 1, 1));
    EXPECT_TRUE(capture.messages.empty());

    // Built at the ASIO minimum, played at the analyzer's rate.
    EXPECT_EQ(w.GetSampleRate(), 48000u);
    frame.ports.calls.clear();
    Control<QPushButton>(CSigGen::kRunId)->click();
    EXPECT_EQ(std::tuple(w.IsPlaying(), w.GetOneShotTimer().isActive()), std::tuple(true, false));
    const std::vector<std::string> expected = {"create 3/1", "open 24000/2/2", "prepare loop -1 -1", "start"};
    EXPECT_EQ(frame.ports.calls, expected);
    Control<QPushButton>(CSigGen::kStopId)->click();
    EXPECT_EQ(std::tuple(w.IsPlaying(), frame.ports.calls.back(), frame.analyzerStops),
              std::tuple(false, "deleted", 0));

    // Played by the analyzer's start, Stop stops the analyzer as well.
    w.StartGenerator();
    ASSERT_TRUE(w.IsPlaying());
    frame.running = true;
    Control<QPushButton>(CSigGen::kStopId)->click();
    EXPECT_EQ(std::tuple(frame.analyzerStops, frame.running, w.IsPlaying()), std::tuple(1, false, false));

    // Run is refused while the analyzer runs, without a port.
    frame.running = true;
    frame.ports.calls.clear();
    w.OnRunButton();
    EXPECT_EQ(std::tuple(w.IsPlaying(), frame.ports.calls.size()), std::tuple(false, 0u));
    // An output that will not open is reported.
    frame.running = false;
    frame.ports.openOk = false;
    w.StartGenerator();
    EXPECT_FALSE(w.IsPlaying());
    EXPECT_EQ(capture.messages,
              (std::vector<std::string>{TSigGenPlayRules::kAsioRunningMessage, "Failure opening sound card."}));
}

TEST_F(SigGenWindowTest, AMonoOrLockedAnalyzerHasNoRightChannelAndSaysWhy)
{
    frame.settings.Processing.Format = TWaveFormat(48000, 1, 2);
    frame.settings.SigGenChannel[0].SigType = kSigSquare;
    frame.settings.SigGenChannel[1].SigType = kSigSquare;
    CSigGen& w = Open();
    // A type from the settings file that the quick list lacks: no selection, but details.
    EXPECT_EQ(Control<QComboBox>(CSigGen::kLeftTypeId)->currentIndex(), -1);
    EXPECT_TRUE(Control<QPushButton>(CSigGen::kLeftDetailsId)->isEnabled());
    QComboBox* right = Control<QComboBox>(CSigGen::kRightTypeId);
    ASSERT_EQ(right->count(), 1);
    EXPECT_EQ(right->currentText(), "N/A");
    EXPECT_FALSE(Control<QPushButton>(CSigGen::kRightDetailsId)->isEnabled());

    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(right, &focus);
    EXPECT_EQ(capture.messages, std::vector<std::string>{TSigGenPlayRules::kMonoMessage});

    // Focus that returns when the notice closes must not raise it again.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(right, &back);
    EXPECT_EQ(capture.messages.size(), 1u);

    // Choosing "N/A" changes nothing.
    w.OnSelChangeRightType(0);
    EXPECT_EQ(frame.settings.SigGenChannel[1].SigType, kSigSquare);

    // Locked stereo channels: the same list, and the lock is named.
    frame.settings.Processing.Format = TWaveFormat(48000, 2, 2);
    frame.settings.LockSignalGeneratorChannels = 1;
    capture.messages.clear();
    Open();
    EXPECT_EQ(Control<QComboBox>(CSigGen::kRightTypeId)->currentText(), "N/A");
    EXPECT_EQ(window->GetChannels(), 1u);
    QApplication::sendEvent(Control<QComboBox>(CSigGen::kRightTypeId), &focus);
    EXPECT_EQ(capture.messages, std::vector<std::string>{TSigGenPlayRules::kLockedMessage});
}

// Real clicks on an active window. Run hides the button that has the focus,
// and Qt passes the focus down the chain onto the right list: that is the
// window rearranging itself, not the operator, and raises no notice; nor may
// it leave the focus there, or the operator's own click would raise none.
TEST_F(SigGenWindowTest, OnlyTheOperatorMovingIntoTheRightListRaisesItsNotice)
{
    const struct {
        int channels;
        bool locked;
        int runStops;      // Run and Stop clicked this many times first
        bool clickRight;   // then a click on the right list
        std::vector<std::string> expected;
    } cases[] = {
        {1, false, 2, false, {}},
        {1, false, 2, true, {TSigGenPlayRules::kMonoMessage}},
        {2, true, 2, false, {}},
        {2, true, 1, true, {TSigGenPlayRules::kLockedMessage}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " channel(s), " << c.runStops << " Run/Stop");
        frame.settings.Processing.Format = TWaveFormat(48000, static_cast<std::uint16_t>(c.channels), 2);
        frame.settings.LockSignalGeneratorChannels = c.locked ? 1 : 0;
        CSigGen& w = Open();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        auto* run = Control<QPushButton>(CSigGen::kRunId);
        run->setFocus(Qt::OtherFocusReason);
        capture.messages.clear();
        for (int round = 0; round < c.runStops; ++round) {
            QTest::mouseClick(run, Qt::LeftButton);
            ASSERT_TRUE(w.IsPlaying());
            QTest::mouseClick(Control<QPushButton>(CSigGen::kStopId), Qt::LeftButton);
        }
        if (c.clickRight) {
            QTest::mouseClick(Control<QComboBox>(CSigGen::kRightTypeId), Qt::LeftButton);
            Control<QComboBox>(CSigGen::kRightTypeId)->hidePopup();
        }
        EXPECT_EQ(capture.messages, c.expected);
        window.reset();
    }
}

TEST_F(SigGenWindowTest, ASingleSweepOnTheLeftPlaysOnceAndStopsAfterItsLengthAndATenth)
{
    SigGenChannelSettings& left = frame.settings.SigGenChannel[0];
    left.SigType = kSigFreqSweep;
    left.FreqSweep.SingleSweepFlag = 1;
    left.FreqSweep.TimeMSec = 2000;
    frame.settings.Processing.Format = TWaveFormat(48000, 1, 2);
    CSigGen& w = Open();
    w.StartGenerator();
    ASSERT_TRUE(w.IsPlaying());
    EXPECT_FALSE(frame.ports.lastLoop);
    EXPECT_EQ(std::tuple(w.GetOneShotTimer().isActive(), w.GetOneShotTimer().interval()), std::tuple(true, 2100));

    w.OnTimer();
    EXPECT_EQ(std::tuple(w.IsPlaying(), w.GetOneShotTimer().isActive()), std::tuple(false, false));

    // The left channel decides: the same sweep on the right alone loops.
    frame.settings.Processing.Format = TWaveFormat(48000, 2, 2);
    frame.settings.SigGenChannel[1] = left;
    left.SigType = kSigTone1kHz;
    Open().StartGenerator();
    EXPECT_EQ(std::tuple(frame.ports.lastLoop, window->GetOneShotTimer().isActive()), std::tuple(true, false));
}

TEST_F(SigGenWindowTest, CommandsOpenTheirDialogsAndStoreWhatIsChosen)
{
    // Saving: the chosen number of copies, in the chosen folder, after the
    // analyzer and the output have stopped.
    const fs::path folder = fs::temp_directory_path() / ("siggen_window_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    frame.settings.m_DataPathsInUse.Set(DataPaths::kWave, "/nonexistent");
    frame.settings.SigGenChannel[1].SigType = kSigSquare;
    CSigGen& w = Open();
    w.StartGenerator();
    QString startedIn;
    w.SetSaveFileChooser([&](QWidget*, const QString& start) {
        startedIn = start;
        return QString::fromStdString((folder / "tone").string());
    });
    OnModal<QDialog>([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Signal Length Options");
        dialog.findChild<QComboBox*>("2099")->setCurrentIndex(2);
        EXPECT_EQ(dialog.findChild<QLabel*>("2100")->text(), " 30.00") << "the total of three copies";
        dialog.accept();
    });
    w.SaveSignalCommand();
    EXPECT_EQ(std::tuple(frame.analyzerStops, w.IsPlaying(), startedIn.toStdString()),
              std::tuple(1, false, "/nonexistent"));
    EXPECT_EQ(frame.settings.m_DataPathsInUse.Get(DataPaths::kWave), folder.string());
    // Three whole copies in order, and nothing else left in the folder.
    TWaveFile saved((folder / "tone.wav").string(), TWaveFile::kMemoryMode, false);
    const TWaveData& wave = *w.GetWaveData();
    ASSERT_EQ(saved.GetNumFrames(), 3u * wave.GetNumFrames());
    for (std::uint64_t copy = 0; copy < 3; ++copy)
        EXPECT_EQ(std::memcmp(saved.GetBuffer() + copy * wave.GetSizeBytes(), wave.GetBuffer(), wave.GetSizeBytes()),
                  0);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);

    // Details restart a playing generator and offer help.
    frame.ports.calls.clear();
    w.StartGenerator();
    OnModal<QDialog>([](QDialog& dialog) {
        dialog.findChild<QPushButton*>("1001")->click();
        dialog.findChild<QLineEdit*>("1940")->setText("25");
        dialog.accept();
    });
    w.OnDetailsRight();
    EXPECT_EQ(frame.help, std::vector<int>{460});
    EXPECT_EQ(frame.settings.SigGenChannel[1].Square.DutyCyclePct, 25);
    EXPECT_TRUE(w.IsPlaying()) << "a details change restarts what was playing";
    EXPECT_EQ(std::count(frame.ports.calls.begin(), frame.ports.calls.end(), "start"), 2);
    w.StopOutput();
    ASSERT_TRUE(WaitForBuildShown(w));

    // The level dialog on the DAQ module stores volts.
    frame.ports.isDaq = true;
    OnModal<QDialog>([](QDialog& dialog) { dialog.accept(); });
    w.OnLevel();
    const SigGenOutputSettings& levels = frame.settings.SigGenOutput;
    EXPECT_EQ(std::tuple(levels.OutputUnits, levels.OutputLevel, levels.FSVoltage), std::tuple(2, 0.5f, 1.0f));
    ASSERT_TRUE(WaitForBuildShown(w));

    // Choosing a type edits its parameters and rebuilds.
    QComboBox* left = Control<QComboBox>(CSigGen::kLeftTypeId);
    QString opened;
    OnModal<QDialog>([&](QDialog& dialog) { opened = dialog.windowTitle(); });
    w.OnSelChangeLeftType(left->findText("Multiple Tones"));
    EXPECT_EQ(opened, "Tone Settings");
    EXPECT_EQ(frame.settings.SigGenChannel[0].SigType, kSigMultipleTones);
    EXPECT_TRUE(Control<QPushButton>(CSigGen::kLeftDetailsId)->isEnabled());
    ASSERT_TRUE(WaitForBuildShown(w));
    // Noise has no dialog: the type changes and the buffer is rebuilt.
    w.OnSelChangeLeftType(left->findText("White Noise"));
    ASSERT_TRUE(WaitForBuildShown(w));
    EXPECT_EQ(frame.settings.SigGenChannel[0].SigType, kSigWhiteNoise);
    EXPECT_EQ(w.GetWaveData()->GetNumFrames(), 60u * 48000u);
}

// Two channels, not locked: the right list sets the right channel's type
// alone; locked, the same choice changes nothing.
TEST_F(SigGenWindowTest, TheRightListSetsTheRightTypeOnlyWhenTheChannelsAreNotLocked)
{
    frame.settings.SigGenChannel[0].SigType = kSigSquare;
    frame.settings.SigGenChannel[1].SigType = kSigSquare;
    CSigGen& w = Open();
    QComboBox* right = Control<QComboBox>(CSigGen::kRightTypeId);
    ASSERT_GE(right->findText("White Noise"), 0);
    w.OnSelChangeRightType(right->findText("White Noise"));
    ASSERT_TRUE(WaitForBuildShown(w));
    EXPECT_EQ(frame.settings.SigGenChannel[1].SigType, kSigWhiteNoise);
    EXPECT_EQ(frame.settings.SigGenChannel[0].SigType, kSigSquare) << "the left channel keeps its type";

    frame.settings.LockSignalGeneratorChannels = 1;
    frame.settings.SigGenChannel[1].SigType = kSigSquare;
    w.OnSelChangeRightType(right->findText("White Noise"));
    EXPECT_EQ(frame.settings.SigGenChannel[1].SigType, kSigSquare) << "locked: the left channel's type rules";
}
