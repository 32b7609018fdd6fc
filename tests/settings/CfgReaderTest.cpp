// How the .cfg reader treats what it finds: the lookup rules files rely
// on, line ends, number forms, limits and damaged input.

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "settings/CfgSettingsFile.h"
#include "settings/CfgTable.h"

namespace {

class CfgReaderTest : public testing::Test {
protected:
    FrameSettings Load(const std::string& text)
    {
        WriteText(path, text);
        FrameSettings settings;
        EXPECT_TRUE(LoadCfgSettings(path, settings, {}));
        return settings;
    }

    TempFolder folder;
    const std::string path = folder.Path("test.cfg");
};

// LF and CR LF lines read alike, and the last line counts without an end.
TEST_F(CfgReaderTest, NamesMatchWithoutRegardToCaseButAreNotTrimmed)
{
    const FrameSettings s = Load("[device]\r\ndaq_inputgain=4\r\n"
                                 "[PRINTOPTS]\r\nmarginleft = 0.75\r\nMarginRight= 0.25\r\nmargintop=0.125\r\n"
                                 "[Calibration]\r\nLeftChannelName=Probe A\r\n[CalibrationR]\nRightChannelName=Probe B\n"
                                 "RefLevel=114.0");
    EXPECT_EQ(std::string(s.Calibration[0].ChannelName) + "," + s.Calibration[1].ChannelName,
              "Probe A,Probe B");
    // "marginleft " ends with a blank, so it is not MarginLeft; a blank before a number is skipped.
    ExpectWritten(s, "CalibrationR/RefLevel=114 Device/DAQ_InputGain=4 PrintOpts/MarginLeft=0.5 "
                     "PrintOpts/MarginRight=0.25 PrintOpts/MarginTop=0.125");
}

TEST_F(CfgReaderTest, OnlyTheFirstSectionAndTheFirstKeyCount)
{
    const FrameSettings s = Load("MarginLeft=0.1\n"
                                 "[PrintOpts]\nMarginTop=0.2\nMarginTop=0.3\n"
                                 "[Device]\nDAQ_InputGain=4\n"
                                 "[PrintOpts]\nMarginBottom=0.4\n"
                                 "[Device]\nDAQ_IEPE_Left=0\n");
    ExpectWritten(s, "PrintOpts/MarginLeft=0.5 PrintOpts/MarginTop=0.2 PrintOpts/MarginBottom=0.5 "
                     "Device/DAQ_InputGain=4 Device/DAQ_IEPE_Left=1");
}

TEST_F(CfgReaderTest, NumbersReadInEveryFormAFileMayHold)
{
    const FrameSettings s = Load("[PrintOpts]\nMarginLeft=7.5e-1\nMarginRight=2\nMarginTop=junk\n"
                                 "[Settings]\nAverageBlocks=  12\nAverageBlocksR=3.9\nAverageSpeed=65540\n"
                                 "[Device]\nDAQ_InputGain=-1\nDAQ_IEPE_Left=5\n"
                                 "[SpectrumOpts]\nLineColor=4294967295\nPeakColor=-2\n");
    // 16-bit fields keep the low bits; colours are read as 32-bit integers.
    ExpectWritten(s, "PrintOpts/MarginLeft=0.75 PrintOpts/MarginRight=2 PrintOpts/MarginTop=0 "
                     "Settings/AverageBlocks=12 Settings/AverageBlocksR=3 Settings/AverageSpeed=4 "
                     "Device/DAQ_InputGain=65535 Device/DAQ_IEPE_Left=1 SpectrumOpts/LineColor=2147483647 "
                     "SpectrumOpts/PeakColor=-2");
}

TEST_F(CfgReaderTest, LongLinesStayWholeAndEveryTextEndsWithinItsField)
{
    const std::string path259(259, 'p');
    const std::string overlong(5000, 'q');
    const FrameSettings s = Load("[Scaling]\nMicCompFilenameLeft=" + path259 + "\n"
                                 "[Calibration]\nLabelLinear=" + overlong + "\nRefLevel=100.0\n"
                                 "[Markers]\nCustomLabel0=" + overlong + "\n"
                                 "[User DefinedR]\nWaveFileName=/w/" + path259 + "\n"
                                 "[" + overlong + "]\nx=1\n"
                                 "[Settings]\n" + overlong + "=1\nAverageSpeed=3\n");
    EXPECT_EQ(std::string(s.Scaling[0].MicCompFilename), path259);
    EXPECT_EQ(std::string(s.Calibration[0].LabelLinear), std::string(59, 'q'));
    EXPECT_EQ(s.Calibration[0].RefLevel, 100.0f) << "the long line was read as one line";
    EXPECT_EQ(std::string(s.Markers[0].CustomLabel[0]), std::string(29, 'q'));
    EXPECT_EQ(std::string(s.SigGenChannel[1].UserDefined.WaveFileName), ("/w/" + path259).substr(0, 259));
    EXPECT_EQ(s.Processing.AverageSpeed[0], 3);
}

TEST_F(CfgReaderTest, OnlyTheFirstTenThousandLinesAreRead)
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
}

TEST_F(CfgReaderTest, DamagedFilesGiveDefaultsAndStayUntouched)
{
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
    const FrameSettings g = Load(garbage);
    const FrameSettings e = Load("");
    EXPECT_EQ(FormatCfgSettings(g), FormatCfgSettings(e));
    EXPECT_EQ(ReadText(path), "");
    WriteText(path, garbage);
    FrameSettings again;
    EXPECT_TRUE(LoadCfgSettings(path, again, {}));
    EXPECT_EQ(ReadText(path), garbage);
}

} // namespace
