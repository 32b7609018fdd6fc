// The .cfg file as written: its sections, keys and formats, the round trip
// through the reader, and the values the reader fixes or derives.

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "platform/ZeroFilledArray.h"
#include "settings/CfgSettingsFile.h"
#include "settings/CfgVisitor.h"
#include "settings/FloatFieldBounds.h"
#include "settings/SettingsLimits.h"
#include "settings/TextField.h"

namespace {

// Gives every field a value of its own, different from its default, so
// that a key read into the wrong field or written in the wrong form shows.
class ScrambleVisitor : public CfgVisitor {
    using Name = std::string_view;

public:
    void Int32(Name, Name, std::int32_t& field, Name) override { field = 1 + Next() % 2; }
    void UInt32(Name, Name, std::uint32_t& field, Name) override
    {
        field = Next() % 5 == 0 ? 0xFFFFFFF0u : 7000 + Next();
    }
    void UInt16(Name, Name, std::uint16_t& field, Name) override { field = static_cast<std::uint16_t>(1 + Next() % 2); }
    void Flag(Name, Name, std::uint8_t& field, Name) override { field = static_cast<std::uint8_t>(Next() % 2); }
    void Float(Name, Name, float& field, Name) override
    {
        const unsigned n = Next();
        field = (n % 3 == 0 ? -0.125f : 0.375f) * static_cast<float>(1 + n % 64);
    }
    void Text(Name, Name, char* field, std::size_t size, Name) override
    {
        // Fills the field to its last character: every text must survive whole.
        std::string text = "text " + std::to_string(Next()) + " ";
        text.resize(size - 1, 'x');
        std::memcpy(field, text.c_str(), size);
    }
    void Format(Name, TWaveFormat& format) override { format.Set(96000, 2, 2); }
    void WriteOnlyFlag(Name, Name, std::uint8_t) override {}

private:
    unsigned Next() { return m_Counter++; }
    unsigned m_Counter = 0;
};

// A state the reader leaves unchanged: scrambled, then fixed, limited and
// derived as any load would.
FrameSettings LoadedScrambledSettings()
{
    FrameSettings settings;
    ScrambleVisitor scramble;
    VisitCfgKeys(settings, scramble);
    BoundFloatFields(settings, CfgMissingKeyValues());
    ApplyFixedCfgValues(settings);
    ApplySettingsLimits(settings);
    settings.m_InputDevice = settings.m_OutputDevice = 3;
    for (SigGenChannelSettings& channel : settings.SigGenChannel)
        channel.UpdateToneAmplitudes();
    return settings;
}

TEST(CfgFileTest, DefaultsAreWrittenInTheFileFormats)
{
    FrameSettings settings;
    SetTextField(settings.Print.Comment[9], "last comment");
    settings.Markers[1].MarkerFreq[7] = 12345.678f;
    SetTextField(settings.Markers[1].CustomLabel[7], "Hum");
    const std::string text = FormatCfgSettings(settings);

    EXPECT_EQ(text.substr(0, text.find("Comment1=")),
              "[Device]\r\nSoundCardDriverMode=1\r\nDAQ_InputGain=16\r\nDAQ_IEPE_Left=1\r\nDAQ_IEPE_Right=1\r\n"
              "DAQ_PowerDownFlag=1\r\n[Toolbars]\r\nMain=1\r\nButtons=0\r\nStatusbar=1\r\n[PrintOpts]\r\n"
              "Annotation1=\r\nAnnotation2=\r\nMarginLeft=1.000000\r\nMarginRight=1.000000\r\n"
              "MarginTop=1.000000\r\nMarginBottom=1.000000\r\nEnableCommentBlock=0\r\n");
    EXPECT_NE(text.find("Comment10=last comment\r\n[Mode]\r\nOpMode=1\r\n[Settings]\r\nFFTsize=65536\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("MarkerEnable7=0\r\nMarkerFreq7=12345.677734\r\nLabelType7=2\r\nCustomLabel7=Hum\r\n"
                        "PeakHoldFlag=0\r\n[SeriesOpts]\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("PlotRange=0.000100\r\nStartFreq=1.000000\r\n"), std::string::npos);
    EXPECT_NE(text.find("[ViewStatus]\r\nMain=1\r\nSignalGenerator=0\r\nPeak Freq=0\r\nPeak Amp=0\r\nTotal Pwr=0\r\n"
                        "Recorder=0\r\n[Placement]\r\nMain=\r\nSignal Generator=\r\n"),
              std::string::npos);
    const std::string tail = "[DTMF_R]\r\nKeyString=1234567890*#ABCD\r\nPulseWidthMsec=100\r\nPulseSpacingMsec=100\r\n"
                             "TwistDB=3.000000\r\nRepeatFlag=0\r\n";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(CfgFileTest, EveryStoredFieldSurvivesAWriteAndARead)
{
    TempFolder folder;
    const std::string path = folder.Path("round.cfg");
    const FrameSettings written = LoadedScrambledSettings();
    ASSERT_TRUE(SaveCfgSettings(path, written));

    FrameSettings read;
    ASSERT_TRUE(LoadCfgSettings(path, read, [] { return 3; }));
    ExpectSameSettings(read, written);
}

TEST(CfgFileTest, TheFileIsTheSameUnderACommaDecimalLocale)
{
    const FrameSettings settings = LoadedScrambledSettings();
    const std::string inC = FormatCfgSettings(settings);

    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (package locales-all)";
    TempFolder folder;
    const std::string path = folder.Path("de.cfg");
    EXPECT_EQ(FormatCfgSettings(settings), inC);
    ASSERT_TRUE(SaveCfgSettings(path, settings));
    FrameSettings read;
    ASSERT_TRUE(LoadCfgSettings(path, read, [] { return 3; }));
    EXPECT_EQ(FormatCfgSettings(read), inC);
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(CfgFileTest, ReadingSetsTheFixedAndDerivedValues)
{
    TempFolder folder;
    const std::string path = folder.Path("fixed.cfg");
    WriteText(path, "[Device]\nSoundCardDriverMode=0\n"
                    "[Toolbars]\nMain=0\nButtons=1\nStatusbar=0\n"
                    "[Mode]\nOpMode=4\n"
                    "[Settings]\nFFTsize=1024\nAverageMode=0\nAverageModeR=0\nDecimationRatio=4\n"
                    "ApplyLowPassFilter=1\nSmoothingWindow=7\nOverlapPercent=10\nDelayChannel=1\n"
                    "DelayTimeMsec=3.5\nEnableOverloadDetection=0\nExcludeOverloadFlag=1\n"
                    "IndependentScalingAndCalibration=1\nChannelProcessing=3\n"
                    "[Scaling2]\nSpectralDensityFlag=1\nSpectralDensityType=1\nMicCompEnable=1\n"
                    "[Calibration]\nLeftChannelName=\n"
                    "[CalibrationR]\nRightChannelName=\n"
                    "[Trigger]\nEnable=1\nThreshold=40.0\n"
                    "[RunControl]\nMode=2\nLimitFFT=7\nLimitSeconds=3\nbEnableRunDelay=1\nRunDelaySeconds=9\n"
                    "bUpdateIntervalFlag=1\nUpdateIntervalMilliseconds=5\nbStartMultipleInstances=1\n"
                    "[TonesR]\nToneEnable3=1\nPwrDB3=-6.0\n");
    FrameSettings s;
    s.DataLog.Active = 1;
    ASSERT_TRUE(LoadCfgSettings(path, s, [] { return 2; }));

    EXPECT_EQ(s.m_InputDevice, 2);
    EXPECT_EQ(s.m_OutputDevice, 2);
    // The start-up fix-ups (ChannelProcessing) are the frame's, not the reader's.
    ExpectWritten(s, "Device/SoundCardDriverMode=1 Toolbars/Main=1 Toolbars/Buttons=0 Toolbars/Statusbar=1 "
                     "Mode/OpMode=1 Settings/FFTsize=65536 Settings/AverageMode=1 Settings/AverageModeR=1 "
                     "Settings/DecimationRatio=1 Settings/ApplyLowPassFilter=0 Settings/SmoothingWindow=2 "
                     "Settings/OverlapPercent=50 Settings/DelayChannel=0 Settings/DelayTimeMsec=0 "
                     "Settings/EnableOverloadDetection=1 Settings/ExcludeOverloadFlag=0 "
                     "Settings/IndependentScalingAndCalibration=0 Settings/ChannelProcessing=3 "
                     "Scaling2/SpectralDensityFlag=0 Scaling2/SpectralDensityType=0 Scaling2/MicCompEnable=0 "
                     "Trigger/Enable=0 Trigger/Threshold=40 Calibration/LeftChannelName=Microphone "
                     "CalibrationR/RightChannelName=Acceleration");
    RunControlOpts fixed;
    fixed.LimitFFT = 100;
    fixed.RunDelaySeconds = 1.0f;
    EXPECT_EQ(s.RunControl, fixed);
    EXPECT_EQ(s.DataLog.Active, 0);
    EXPECT_NEAR(s.SigGenChannel[1].Tones[3].ToneLinearAmplitude, 0.501f, 0.001f);
    EXPECT_EQ(s.SigGenChannel[1].Tones[0].ToneLinearAmplitude, 1.0f);

    s.ApplyStartupFixups();
    ExpectWritten(s, "Settings/FFTsize=65536 Settings/ChannelProcessing=2");
}

TEST(CfgFileTest, MissingKeysTakeTheFileDefaultsNotTheFrameDefaults)
{
    TempFolder folder;
    const std::string path = folder.Path("sparse.cfg");
    WriteText(path, "[Device]\nDAQ_InputGain=64\n");
    FrameSettings s;
    ASSERT_TRUE(LoadCfgSettings(path, s, {}));
    ExpectWritten(s, "Device/DAQ_InputGain=64 PrintOpts/MarginLeft=0.5 Calibration/PctFullScaleLeft=-1 "
                     "CalibrationR/RightChannelName=Accelerometer");
    EXPECT_EQ(s.m_InputDevice, 0);
}

TEST(CfgFileTest, AFileThatCannotBeOpenedChangesNothing)
{
    TempFolder folder;
    FrameSettings s;
    s.RunControl.LimitFFT = 500;
    EXPECT_FALSE(LoadCfgSettings(folder.Path("absent.cfg"), s, [] { return 9; }));
    ExpectSameSettings(s, FrameSettings());

    WriteText(folder.Path("present.cfg"), "[Device]\nDAQ_InputGain=1\n");
    platform::FailNextAllocations(1);
    EXPECT_FALSE(LoadCfgSettings(folder.Path("present.cfg"), s, {}));
    platform::FailNextAllocations(0);
    ExpectSameSettings(s, FrameSettings());

    EXPECT_FALSE(SaveCfgSettings(folder.Path("no/such/folder.cfg"), s));
}

} // namespace

TEST(CfgFileTest, AFuzzedFileOfHostileNumbersLoadsFiniteAndSavesWhatItReads)
{
    // Kept from fuzzing: an infinite voltage range and sweep start, NaN and
    // 1e39 plot limits were kept as read.
    FrameSettings loaded;
    ASSERT_TRUE(LoadCfgSettings(TALVENOR_FUZZ_SEEDS "/cfg/hostile-values.cfg", loaded, {}));
    EXPECT_EQ(loaded.Calibration[0].DAQVoltageRange, 0.625f) << "-inf reads as the missing key";
    EXPECT_EQ(loaded.SigGenChannel[0].FreqSweep.FStartHz, 1000.0f);
    EXPECT_EQ(loaded.SigGenChannel[0].FreqSweep.FStopHz, 2000.0f);
    EXPECT_TRUE(std::isfinite(loaded.Series.PlotTop));
    EXPECT_TRUE(std::isfinite(loaded.Series.PlotRange));
    EXPECT_EQ(std::strlen(loaded.Calibration[0].ChannelName), TChannelCalibration::kChannelNameSize - 1)
        << "a 400-character name is cut to its field";

    TempFolder folder;
    ASSERT_TRUE(SaveCfgSettings(folder.Path("saved.cfg"), loaded));
    FrameSettings again;
    ASSERT_TRUE(LoadCfgSettings(folder.Path("saved.cfg"), again, {}));
    EXPECT_EQ(FormatCfgSettings(again), FormatCfgSettings(loaded));
}
