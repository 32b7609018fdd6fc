// The calibration page of the processing-settings sheet on the running frame
// with the simulated module.

#include "tests/app/FrameTestSupport.h"

#include "audio/TSoundOutput.h"
#include "audio/TWaveData.h"
#include "settings/dialogs/CCalibrationDlgSPL.h"
#include "settings/dialogs/COptionsMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>


TEST(MainFrameSettings, ACalibratorToneCalibratesTheChannelTo94dBSpl)
{
    // Levels to 0.05 dB: the simulated room would add to the tone.
    setenv("TALVENOR_DAQSIM_AMBIENT", "0", 1);
    // Mono, the generator's level in dBFS.
    FrameSettings mono = frame_test::ToneSettings();
    mono.Processing.Format.Set(48000, 1, 3);
    mono.SigGenOutput.OutputUnits = 0;
    FrameHarness h(mono);
    CMainFrame& frame = *h.frame;
    const TWaveFormat format = frame.Settings().Processing.Format;
    const int output = frame.Settings().m_OutputDevice;
    const std::string history = frame.Paths().DataRoot + "MicCalibrationHistory.txt";

    // The calibrator: a 1 kHz tone at 5 % of full scale through the loop,
    // ready to play with the next start of the shared stream.
    TWaveData wave(format.SamplingRate, format);
    for (std::uint64_t i = 0; i < format.SamplingRate; ++i) {
        const double v = 0.05 * format.MaxValue * std::sin(2.0 * M_PI * 1000.0 * double(i) / format.SamplingRate);
        wave.PutSample(static_cast<std::int32_t>(std::lround(v)), i, 0);
    }
    TSoundOutput calibrator(static_cast<std::uint32_t>(output), 1);
    ASSERT_TRUE(calibrator.Open(format) && calibrator.PreparePlayback(&wave, true, 0, -1));
    OnModal<COptionsMain>([&](COptionsMain& sheet) {
        CCalibrationDlgSPL& page = sheet.CalibrationPage();
        page.findChild<QRadioButton*>("id2279")->click();
        page.findChild<QLineEdit*>("id2300")->setText("94.0");
        QTest::mouseClick(page.findChild<QPushButton*>("id1657"), Qt::LeftButton);
        ASSERT_TRUE(page.IsRecording());
        ASSERT_TRUE(WaitFor([&] { return !page.IsRecording(); }, 60000));
        sheet.accept();
    });
    frame.OnProcessingSettings(-1);
    ASSERT_FALSE(h.messages.texts.empty());
    EXPECT_EQ(h.messages.texts.back().rfind("The calibration was successful!", 0), 0u) << h.messages.texts.back();
    EXPECT_NEAR(frame.Settings().Calibration[0].PctFullScale, 0.05f, 0.002f);

    const std::string written = ReadText(history);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << written;

    // The generator's 1 kHz tone at the calibrator's level then reads 94 dB
    // SPL, and 20 dB less 74 dB SPL.
    for (const auto& [dBFS, expected] : {std::pair{-26.0206f, 94.0f}, std::pair{-46.0206f, 74.0f}}) {
        frame.Settings().SigGenOutput.OutputLevel = dBFS;
        ASSERT_TRUE(frame_test::OpenGenerator(frame));
        frame.OnStart();
        ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 12; }));
        EXPECT_NEAR(frame_test::DisplayPeak(frame, 0, 800.0f, 1200.0f).level, expected, 0.05f) << dBFS;
        frame.OnStop();
        frame.OnSignalGenerator();
    }

    // The level under the cursor as the 0 dB reference.
    const SpectralData* left = frame.Processing().GetDisplayData(0);
    float frequency = 0.0f;
    left->FindPeak(left->FrequencyToBin(800.0f), left->FrequencyToBin(1200.0f), &frequency, nullptr);
    ASSERT_TRUE(frame.SetRelativeCalibration(0, static_cast<int>(left->FrequencyToBin(frequency)), false));
    EXPECT_NEAR(frame_test::DisplayPeak(frame, 0, 800.0f, 1200.0f).level, 0.0f, 0.05f);
    EXPECT_STREQ(frame.Settings().Calibration[0].LabelLog, "dBr");
    unsetenv("TALVENOR_DAQSIM_AMBIENT");
}

TEST(MainFrameSettings, ACalibrationWithNoToneIsRefusedAndTheCalibrationIsKept)
{
    // A fresh install (192 kHz mono), nothing playing: the room alone, whose
    // strongest line near 1 kHz measures above the 1 mV minimum.
    FrameHarness h;
    CMainFrame& frame = *h.frame;
    const TChannelCalibration before = frame.Settings().Calibration[0];
    const std::string history = frame.Paths().DataRoot + "MicCalibrationHistory.txt";
    OnModal<COptionsMain>([&](COptionsMain& sheet) {
        CCalibrationDlgSPL& page = sheet.CalibrationPage();
        page.findChild<QRadioButton*>("id2279")->click();
        QTest::mouseClick(page.findChild<QPushButton*>("id1657"), Qt::LeftButton);
        ASSERT_TRUE(page.IsRecording());
        ASSERT_TRUE(WaitFor([&] { return !page.IsRecording(); }, 60000));
        sheet.accept();
    });
    frame.OnProcessingSettings(-1);
    ASSERT_FALSE(h.messages.texts.empty());
    EXPECT_EQ(h.messages.texts.back().rfind("No calibration tone was found between 800 and 1200 Hz", 0), 0u)
        << h.messages.texts.back();
    const TChannelCalibration& after = frame.Settings().Calibration[0];
    EXPECT_EQ(after.PctFullScale, before.PctFullScale);
    EXPECT_FLOAT_EQ(after.CalRatio, before.CalRatio);
    EXPECT_FALSE(std::filesystem::exists(history)) << "a refused calibration leaves no history line";
}
