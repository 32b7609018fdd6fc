// Every reader of a whole file, from the settings files up to the
// generator's pink-noise recording, given a file it cannot read.

#include <gtest/gtest.h>

#include <functional>

#include "engine/CompensationFile.h"
#include "platform/Registry.h"
#include "settings/CfgFileCheck.h"
#include "settings/CfgTable.h"
#include "settings/IniSettingsFile.h"
#include "tests/support/PlatformTestSupport.h"
#include "utilities/siggen/TPinkWave.h"

class WholeFileReadersTest : public TempFolderTest {};

// A folder in the file's place, and a file whose read fails at once
// (/proc/self/mem at offset 0 gives EIO, to root as well): each reader says
// it could not read the file, never throws nor takes it for an empty one.
TEST_F(WholeFileReadersTest, AFolderOrAReadErrorIsAnUnreadableFile)
{
    const std::pair<const char*, std::function<bool(const std::string&)>> readers[] = {
        {".ini", [this](const std::string& p) { FrameSettings s; return !LoadIniSettings(p, {Root()}, s); }},
        {".cfg check", [](const std::string& p) { return CheckCfgFile(p) == CfgFileState::Damaged; }},
        {".cfg table", [](const std::string& p) { return !CfgTable().Read(p); }},
        {"driver list", [](const std::string& p) { int line = -1; return !platform::Registry().LoadFile(p, line); }},
        {"pink noise", [](const std::string& p) { return !TPinkWave().Load(p); }},
        {"compensation", [](const std::string& p) {
             CompensationFile file;
             return !file.Read(p.c_str()) && file.GetError() != CompensationFile::Error::TooFewPoints;
         }},
    };
    for (const auto& [reader, refuses] : readers)
        for (const std::string& path : {folder.string(), std::string("/proc/self/mem")})
            EXPECT_TRUE(refuses(path)) << reader << " of " << path;
}
