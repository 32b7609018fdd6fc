#include "SettingsTestSupport.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <tuple>

#include <gtest/gtest.h>

#include "settings/CfgSettingsFile.h"

void ExpectSameSettings(const FrameSettings& a, const FrameSettings& b)
{
    EXPECT_EQ(FormatCfgSettings(a), FormatCfgSettings(b));
    // Beyond the file's text: the devices, derived values and the .ini's records.
    EXPECT_EQ(std::tie(a.m_InputDevice, a.m_OutputDevice, a.DataLog, a.FileIO, a.m_DataPaths, a.m_DataPathsInUse),
              std::tie(b.m_InputDevice, b.m_OutputDevice, b.DataLog, b.FileIO, b.m_DataPaths, b.m_DataPathsInUse));
    EXPECT_TRUE(a.Processing == b.Processing);
    for (int c = 0; c < 2; ++c) {
        EXPECT_TRUE(a.Calibration[c] == b.Calibration[c]) << c;
        EXPECT_EQ(a.SigGenChannel[c], b.SigGenChannel[c]) << c;
    }
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

FrameSettings CfgTextTest::Load(const std::string& text)
{
    WriteText(path, text);
    FrameSettings settings;
    EXPECT_TRUE(LoadCfgSettings(path, settings, {}));
    return settings;
}
