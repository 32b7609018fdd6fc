#pragma once
// Comparison of the frame's settings, and of what they are saved as, for the
// settings tests; temporary folders and whole-file reads come from the
// platform tests' support.

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "settings/CfgSettingsFile.h"
#include "settings/FrameSettings.h"
#include "tests/support/PlatformTestSupport.h"

// A test with a .cfg file of its own, loaded as a start without the DAQ module.
class CfgTextTest : public testing::Test {
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

// The same .cfg text, and the same values beyond it.
inline void ExpectSameSettings(const FrameSettings& a, const FrameSettings& b)
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

// Checks each blank-separated "Section/Key=value" of `expected` against the
// .cfg text the settings save as; numbers compare by value ("0.5" matches
// "0.500000").
inline void ExpectWritten(const FrameSettings& settings, const std::string& expected)
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
