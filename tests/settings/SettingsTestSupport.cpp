#include "SettingsTestSupport.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "settings/CfgSettingsFile.h"

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

void ExpectWritten(const FrameSettings& settings, const std::string& expected)
{
    std::map<std::string, std::string> written;
    std::istringstream text(FormatCfgSettings(settings));
    std::string section;
    for (std::string line; std::getline(text, line, '\r'); text.ignore(1)) {
        if (line.starts_with('['))
            section = line.substr(1, line.size() - 2);
        else
            written.emplace(section + "/" + line.substr(0, line.find('=')), line.substr(line.find('=') + 1));
    }
    std::istringstream wanted(expected);
    for (std::string item; wanted >> item;) {
        const std::string key = item.substr(0, item.find('=')), value = item.substr(item.find('=') + 1);
        const auto found = written.find(key);
        if (found == written.end()) {
            ADD_FAILURE() << key << " is not written";
            continue;
        }
        char* end = nullptr;
        const double number = std::strtod(value.c_str(), &end);
        if (!value.empty() && *end == '\0')
            EXPECT_EQ(std::strtod(found->second.c_str(), nullptr), number) << key << "=" << found->second;
        else
            EXPECT_EQ(found->second, value) << key;
    }
}
