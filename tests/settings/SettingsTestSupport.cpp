#include "SettingsTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::path(testing::TempDir()) / "settings-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot create a temporary folder";
    m_Path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

void ExpectSameSettings(const FrameSettings& a, const FrameSettings& b)
{
    EXPECT_EQ(a.SoundCardDriverMode, b.SoundCardDriverMode);
    EXPECT_EQ(a.m_InputDevice, b.m_InputDevice);
    EXPECT_EQ(a.m_OutputDevice, b.m_OutputDevice);
    EXPECT_EQ(a.Daq, b.Daq);
    EXPECT_EQ(a.m_ShowSidebar, b.m_ShowSidebar);
    EXPECT_EQ(a.m_ShowToolbar, b.m_ShowToolbar);
    EXPECT_EQ(a.m_ShowStatusbar, b.m_ShowStatusbar);
    EXPECT_EQ(a.Print, b.Print);
    EXPECT_EQ(a.OpMode, b.OpMode);
    EXPECT_TRUE(a.Processing == b.Processing);
    EXPECT_EQ(a.LockSignalGeneratorChannels, b.LockSignalGeneratorChannels);
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(a.Scaling[c], b.Scaling[c]);
        EXPECT_TRUE(a.Calibration[c] == b.Calibration[c]);
        EXPECT_EQ(a.Markers[c], b.Markers[c]);
        EXPECT_EQ(a.Spectrum[c], b.Spectrum[c]);
        EXPECT_EQ(a.SigGenChannel[c], b.SigGenChannel[c]);
    }
    EXPECT_EQ(a.Trigger, b.Trigger);
    EXPECT_EQ(a.RunControl, b.RunControl);
    EXPECT_EQ(a.Series, b.Series);
    EXPECT_EQ(a.DataLog, b.DataLog);
    EXPECT_EQ(a.Windows, b.Windows);
    EXPECT_EQ(a.SigGenOutput, b.SigGenOutput);
    EXPECT_EQ(a.FileIO, b.FileIO);
    EXPECT_EQ(a.m_DataPaths, b.m_DataPaths);
    EXPECT_EQ(a.m_DataPathsInUse, b.m_DataPathsInUse);
}
