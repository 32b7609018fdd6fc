#include "SettingsTestSupport.h"

#include <cstdlib>
#include <cstring>
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

namespace {

void ExpectSameProcessing(const TProcessingSettings& a, const TProcessingSettings& b)
{
    EXPECT_EQ(a.Format, b.Format);
    EXPECT_EQ(a.FFTsize, b.FFTsize);
    EXPECT_EQ(a.DecimationRatio, b.DecimationRatio);
    EXPECT_EQ(a.ApplyLowPassFilter, b.ApplyLowPassFilter);
    EXPECT_EQ(a.AverageType, b.AverageType);
    EXPECT_EQ(a.AverageMode, b.AverageMode);
    EXPECT_EQ(a.AverageBlocks, b.AverageBlocks);
    EXPECT_EQ(a.AverageSpeed, b.AverageSpeed);
    EXPECT_EQ(a.SmoothingWindow, b.SmoothingWindow);
    EXPECT_EQ(a.OverlapPercent, b.OverlapPercent);
    EXPECT_EQ(a.ChannelProcessing, b.ChannelProcessing);
    EXPECT_EQ(a.DelayChannel, b.DelayChannel);
    EXPECT_EQ(a.DelayTimeMsec, b.DelayTimeMsec);
    EXPECT_EQ(a.DelaySamples, b.DelaySamples);
    EXPECT_EQ(a.EnableOverloadDetection, b.EnableOverloadDetection);
    EXPECT_EQ(a.ExcludeOverloadFlag, b.ExcludeOverloadFlag);
    EXPECT_EQ(a.SpanFraction, b.SpanFraction);
    EXPECT_EQ(a.IndependentScalingAndCalibration, b.IndependentScalingAndCalibration);
}

void ExpectSameCalibration(const TChannelCalibration& a, const TChannelCalibration& b)
{
    std::uint8_t packedA[TChannelCalibration::kPackedSize];
    std::uint8_t packedB[TChannelCalibration::kPackedSize];
    a.Pack(packedA);
    b.Pack(packedB);
    // The packed form holds every field; a field-level message helps more.
    EXPECT_EQ(0, std::memcmp(packedA, packedB, sizeof packedA)) << "calibration records differ";
}

} // namespace

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
    ExpectSameProcessing(a.Processing, b.Processing);
    EXPECT_EQ(a.LockSignalGeneratorChannels, b.LockSignalGeneratorChannels);
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(a.Scaling[c], b.Scaling[c]);
        ExpectSameCalibration(a.Calibration[c], b.Calibration[c]);
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
