#include "SettingsTestSupport.h"

#include "settings/CfgSettingsFile.h"

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

// The .cfg text holds every stored field, each in its file form; the rest
// is compared field by field, derived values included.
void ExpectSameSettings(const FrameSettings& a, const FrameSettings& b)
{
    EXPECT_EQ(FormatCfgSettings(a), FormatCfgSettings(b));
    EXPECT_EQ(a.m_InputDevice, b.m_InputDevice);
    EXPECT_EQ(a.m_OutputDevice, b.m_OutputDevice);
    EXPECT_EQ(a.Processing.DelaySamples, b.Processing.DelaySamples);
    EXPECT_EQ(a.Processing.SpanFraction, b.Processing.SpanFraction);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ(a.SigGenChannel[c], b.SigGenChannel[c]) << c;
    EXPECT_EQ(a.FileIO, b.FileIO);
    EXPECT_EQ(a.m_DataPaths, b.m_DataPaths);
    EXPECT_EQ(a.m_DataPathsInUse, b.m_DataPathsInUse);
}
