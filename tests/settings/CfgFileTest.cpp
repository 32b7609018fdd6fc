// The .cfg file as written: its sections, keys and formats, the round trip
// through the reader, and the values the reader fixes or derives; how the
// reader treats what it finds: the lookup rules files rely on, line ends,
// number forms, limits and damaged input.

#include <clocale>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "platform/ZeroFilledArray.h"
#include "settings/CfgSettingsFile.h"
#include "settings/CfgTable.h"
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

class CfgFileTest : public CfgTextTest {};
class CfgReaderTest : public CfgTextTest {};

TEST_F(CfgFileTest, DefaultsAreWrittenInTheFileFormatsEveryFieldSurvivesAReadAndAnyLocaleWritesTheSame)
{
    FrameSettings settings;
    SetTextField(settings.Print.Comment[9], "last comment");
    const std::string text = FormatCfgSettings(settings);

    EXPECT_EQ(text.substr(0, text.find("Comment1=")),
              "[Device]\r\nSoundCardDriverMode=1\r\nDAQ_InputGain=16\r\nDAQ_IEPE_Left=1\r\nDAQ_IEPE_Right=1\r\n"
              "DAQ_PowerDownFlag=1\r\n[Toolbars]\r\nMain=1\r\nButtons=0\r\nStatusbar=1\r\n[PrintOpts]\r\n"
              "Annotation1=\r\nAnnotation2=\r\nMarginLeft=1.000000\r\nMarginRight=1.000000\r\n"
              "MarginTop=1.000000\r\nMarginBottom=1.000000\r\nEnableCommentBlock=0\r\n");
    EXPECT_NE(text.find("Comment10=last comment\r\n[Mode]\r\nOpMode=1\r\n[Settings]\r\nFFTsize=65536\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[ViewStatus]\r\nMain=1\r\nSignalGenerator=0\r\nPeak Freq=0\r\nPeak Amp=0\r\nTotal Pwr=0\r\n"
                        "Recorder=0\r\n[Placement]\r\nMain=\r\nSignal Generator=\r\n"),
              std::string::npos);
    const std::string tail = "[DTMF_R]\r\nKeyString=1234567890*#ABCD\r\nPulseWidthMsec=100\r\nPulseSpacingMsec=100\r\n"
                             "TwistDB=3.000000\r\nRepeatFlag=0\r\n";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);

    // Every stored field survives a write and a read, and any locale writes the same file.
    const FrameSettings written = LoadedScrambledSettings();
    ASSERT_TRUE(SaveCfgSettings(path, written));
    FrameSettings read;
    ASSERT_TRUE(LoadCfgSettings(path, read, [] { return 3; }));
    ExpectSameSettings(read, written);

    const std::string inC = FormatCfgSettings(written);
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (package locales-all)";
    EXPECT_EQ(FormatCfgSettings(written), inC);
    ASSERT_TRUE(LoadCfgSettings(path, read, [] { return 3; }));
    EXPECT_EQ(FormatCfgSettings(read), inC);
    std::setlocale(LC_ALL, previous.c_str());
}

TEST_F(CfgFileTest, ReadingSetsFixedDerivedAndDefaultValuesAndAFileThatCannotBeOpenedChangesNothing)
{
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

    EXPECT_EQ(std::pair(s.m_InputDevice, s.m_OutputDevice), std::pair(2, 2));
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

    // Missing keys take the file defaults (the tool bar's "1", then fixed at
    // 0); a file that cannot be opened changes nothing.
    EXPECT_EQ(CfgMissingKeyValues().m_ShowToolbar, 1);
    const FrameSettings read = Load("[Device]\nDAQ_InputGain=64\n");
    EXPECT_EQ(read.m_ShowToolbar, 0);
    ExpectWritten(read, "Device/DAQ_InputGain=64 PrintOpts/MarginLeft=0.5 Calibration/PctFullScaleLeft=-1 "
                        "CalibrationR/RightChannelName=Accelerometer");
    EXPECT_EQ(read.m_InputDevice, 0);

    FrameSettings untouched;
    untouched.RunControl.LimitFFT = 500;
    EXPECT_FALSE(LoadCfgSettings(folder.Path("absent.cfg"), untouched, [] { return 9; }));
    ExpectSameSettings(untouched, FrameSettings());

    WriteText(folder.Path("present.cfg"), "[Device]\nDAQ_InputGain=1\n");
    platform::FailNextAllocations(1);
    EXPECT_FALSE(LoadCfgSettings(folder.Path("present.cfg"), untouched, {}));
    platform::FailNextAllocations(0);
    ExpectSameSettings(untouched, FrameSettings());

    EXPECT_FALSE(SaveCfgSettings(folder.Path("no/such/folder.cfg"), untouched));
}

// LF and CR LF lines read alike, and the last line counts without an end;
// only the first section of a name and the first key in it count.
TEST_F(CfgReaderTest, NamesMatchWithoutRegardToCaseOnlyTheFirstCountsAndNumbersAndTextsReadInEveryForm)
{
    const FrameSettings s = Load("MarginBottom=0.1\r\n"
                                 "[PRINTOPTS]\r\nmarginleft = 0.75\r\nMarginRight= 0.25\r\nmargintop=0.125\r\n"
                                 "MarginTop=0.3\r\n[device]\r\ndaq_inputgain=4\r\n"
                                 "[Device]\nDAQ_IEPE_Left=0\n[PrintOpts]\nMarginBottom=0.4\n"
                                 "[Calibration]\r\nLeftChannelName=Probe A\r\n[CalibrationR]\nRightChannelName=Probe B\n"
                                 "RefLevel=114.0");
    EXPECT_EQ(std::string(s.Calibration[0].ChannelName) + "," + s.Calibration[1].ChannelName,
              "Probe A,Probe B");
    // "marginleft " ends with a blank, so it is not MarginLeft; a blank before a number is skipped.
    ExpectWritten(s, "CalibrationR/RefLevel=114 Device/DAQ_InputGain=4 PrintOpts/MarginLeft=0.5 "
                     "PrintOpts/MarginRight=0.25 PrintOpts/MarginTop=0.125 PrintOpts/MarginBottom=0.5 "
                     "Device/DAQ_IEPE_Left=1");

    // Numbers read in every form, long lines stay whole and every text ends within its field.
    const std::string path259(259, 'p'), overlong(5000, 'q');
    const FrameSettings n = Load("[PrintOpts]\nMarginLeft=7.5e-1\nMarginRight=2\nMarginTop=junk\n"
                                 "[Device]\nDAQ_InputGain=-1\nDAQ_IEPE_Left=5\n"
                                 "[SpectrumOpts]\nLineColor=4294967295\nPeakColor=-2\n"
                                 "[Scaling]\nMicCompFilenameLeft=" + path259 + "\n"
                                 "[Calibration]\nLabelLinear=" + overlong + "\nRefLevel=100.0\n"
                                 "[Markers]\nCustomLabel0=" + overlong + "\n"
                                 "[User DefinedR]\nWaveFileName=/w/" + path259 + "\n"
                                 "[" + overlong + "]\nx=1\n"
                                 "[Settings]\nAverageBlocks=  12\n" + overlong + "=1\nAverageBlocksR=3.9\nAverageSpeed=65540\n");
    // 16-bit fields keep the low bits; colours are read as 32-bit integers;
    // each long line was read as one line.
    ExpectWritten(n, "PrintOpts/MarginLeft=0.75 PrintOpts/MarginRight=2 PrintOpts/MarginTop=0 "
                     "Settings/AverageBlocks=12 Settings/AverageBlocksR=3 Settings/AverageSpeed=4 "
                     "Device/DAQ_InputGain=65535 Device/DAQ_IEPE_Left=1 SpectrumOpts/LineColor=2147483647 "
                     "SpectrumOpts/PeakColor=-2 Calibration/RefLevel=100");
    EXPECT_EQ(std::string(n.Scaling[0].MicCompFilename), path259);
    EXPECT_EQ(std::string(n.Calibration[0].LabelLinear), std::string(59, 'q'));
    EXPECT_EQ(std::string(n.Markers[0].CustomLabel[0]), std::string(29, 'q'));
    EXPECT_EQ(std::string(n.SigGenChannel[1].UserDefined.WaveFileName), ("/w/" + path259).substr(0, 259));
}

// The plot windows keep no placement: "Plot 1" and "Plot 2" in [Placement],
// as an earlier version wrote them, are unknown keys, read as if absent and
// not written back.
TEST_F(CfgReaderTest, PlotPlacementKeysOfAnEarlierVersionAreIgnored)
{
    FrameSettings settings;
    settings.Windows.Find(kSlotRecorder)->Open = 1;
    SetTextField(settings.Windows.Find(kSlotRecorder)->Placement, "0, 1, {-1,-1}, {-1,-1}, {10,20,310,220}");
    std::string text = FormatCfgSettings(settings);
    const FrameSettings plain = Load(text);

    const std::string section = "[Placement]\r\n";
    ASSERT_NE(text.find(section), std::string::npos);
    text.insert(text.find(section) + section.size(), "Plot 1=0, 3, {-1,-1}, {-1,-1}, {90,32,1190,432}\r\n");
    text.insert(text.find("Recorder=0, 1,"), "Plot 2=0, 1, {-1,-1}, {-1,-1}, {90,432,1190,832}\r\n");
    const FrameSettings withKeys = Load(text);
    ExpectSameSettings(withKeys, plain);
    EXPECT_EQ(withKeys.Windows, plain.Windows);
    EXPECT_STREQ(withKeys.Windows.Find(kSlotRecorder)->Placement, "0, 1, {-1,-1}, {-1,-1}, {10,20,310,220}");
    EXPECT_EQ(FormatCfgSettings(withKeys).find("Plot "), std::string::npos);
}

TEST_F(CfgReaderTest, OnlyTheFirstTenThousandLinesAreReadAndDamagedFilesGiveDefaultsAndStayUntouched)
{
    std::string text = "[PrintOpts]\nMarginLeft=0.25\n";
    for (int i = 0; i < 12000 - 3; ++i)
        text += i % 2 == 0 ? "\n" : "filler line without equals\n";
    text += "MarginRight=0.25\n";
    const FrameSettings s = Load(text);
    ExpectWritten(s, "PrintOpts/MarginLeft=0.25 PrintOpts/MarginRight=0.5");

    CfgTable table;
    ASSERT_TRUE(table.Read(path));
    EXPECT_EQ(table.RowCount(), CfgTable::kMaxRows);

    // Damaged files give defaults and stay untouched.
    FrameSettings saved;
    saved.Print.MarginTop = 0.75f;
    saved.Markers[0].MarkerFreq[3] = 777.0f;
    const std::string full = FormatCfgSettings(saved);

    // Cut inside the markers: what comes before is read, the rest defaults.
    const std::size_t cut = full.find("MarkerFreq3=") + 14;
    const std::string truncated = full.substr(0, cut);
    const FrameSettings t = Load(truncated);
    ExpectWritten(t, "PrintOpts/MarginTop=0.75 Markers/MarkerFreq3=77 MarkersR/MarkerFreq0=1000 DTMF/TwistDB=3");
    EXPECT_EQ(ReadText(path), truncated);

    std::mt19937 random(7);
    std::string garbage(20000, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    EXPECT_EQ(FormatCfgSettings(Load(garbage)), FormatCfgSettings(Load("")));
    // A bare name without "=" is no entry: the name's first real line counts.
    EXPECT_EQ(std::string(Load("[LoggingOpts_0]\nLogFileName\nLogFileName=daily\n").DataLog.Channel[0].LogFileName),
              "daily");
}

} // namespace

TEST_F(CfgFileTest, AFuzzedFileOfHostileNumbersLoadsFiniteAndSavesWhatItReads)
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

    ASSERT_TRUE(SaveCfgSettings(path, loaded));
    FrameSettings again;
    ASSERT_TRUE(LoadCfgSettings(path, again, {}));
    EXPECT_EQ(FormatCfgSettings(again), FormatCfgSettings(loaded));
}
