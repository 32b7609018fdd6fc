// The settings files at exit and at the next start: a file that cannot be
// written is named in one message with the system's reason, and the
// temporary files of a save that was killed half-way are cleared away.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/FrameSettings.h"
#include "settings/SettingsFiles.h"
#include "tests/support/PlatformTestSupport.h"

namespace fs = std::filesystem;

namespace {

class SettingsFilesSaveTest : public TempFolderTest {
protected:
    SettingsFiles FilesIn(const std::string& root) const
    {
        SettingsFiles files;
        files.dataRoot = root;
        return files;
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    FrameSettings settings;
};

} // namespace

// Works as root too: a missing folder and a folder standing where a file
// should be refuse every user.
TEST_F(SettingsFilesSaveTest, AFileThatCannotBeSavedAtExitIsNamedWithTheSystemsReasonInOneMessage)
{
    {
        const SettingsFiles missing = FilesIn(Path("gone") + "/");
        MessageLog log;
        EXPECT_FALSE(missing.SaveAtExit(settings));
        ASSERT_EQ(log.texts.size(), 1u);
        const std::string& text = log.texts[0];
        EXPECT_NE(text.find(missing.IniPath() + ": " + std::strerror(ENOENT)), std::string::npos) << text;
        EXPECT_NE(text.find(missing.CfgPath() + ": " + std::strerror(ENOENT)), std::string::npos) << text;
        EXPECT_EQ(log.requests[0].icon, platform::MessageIcon::Warning);
        EXPECT_NE(text.find("The next start uses the default settings: none were saved before."), std::string::npos)
            << text;
    }
    {
        // Only the .cfg is blocked: the .ini is saved and not named.
        const SettingsFiles files = FilesIn(Root());
        fs::create_directories(files.CfgPath());
        MessageLog log;
        EXPECT_FALSE(files.SaveAtExit(settings));
        ASSERT_EQ(log.texts.size(), 1u);
        EXPECT_NE(log.texts[0].find(files.CfgPath() + ": " + std::strerror(EISDIR)), std::string::npos)
            << log.texts[0];
        EXPECT_EQ(log.texts[0].find(files.IniPath()), std::string::npos) << log.texts[0];
        EXPECT_TRUE(fs::is_regular_file(files.IniPath()));
        EXPECT_EQ(Names(), (std::vector<std::string>{"Talvenor.cfg", "Talvenor.ini"})) << "no temporary file left";

        // Both writable: silence.
        fs::remove(files.CfgPath());
        MessageLog quiet;
        EXPECT_TRUE(files.SaveAtExit(settings));
        EXPECT_TRUE(quiet.texts.empty());
    }
}

// Only our own temporary names, only in the settings folder, and only those
// nobody has touched for a while: a save in progress elsewhere stays.
TEST_F(SettingsFilesSaveTest, StaleTemporaryFilesOfAKilledSaveGoAtTheNextStartAndNothingElseDoes)
{
    const auto old = fs::file_time_type::clock::now() - SettingsFiles::kStagingFileAge - std::chrono::minutes(1);
    const auto fresh = fs::file_time_type::clock::now() - SettingsFiles::kStagingFileAge + std::chrono::minutes(1);
    fs::create_directories(folder / "Wave");
    const struct {
        const char* name;
        bool stale;
        bool kept;
    } entries[] = {
        {".settings-abcd1234.tmp", true, false},
        {".settings-0a1b2c3d.tmp", true, false},
        {".settings-z9z9z9z9.tmp", true, false},  // the last letter and digit
        {".settings-efgh5678.tmp", false, true},   // another instance's save, now
        {".settings-abc123.tmp", true, true},      // not a name we make
        {".settings-ABCD1234.tmp", true, true},
        {".settings-abcd1234.tmp.bak", true, true},
        {"settings-abcd1234.tmp", true, true},
        {".settings-abcd12345.tmp", true, true},
        {"Wave/.settings-abcd1234.tmp", true, true},  // not the settings folder
    };
    for (const auto& e : entries) {
        WriteText(Path(e.name), "half a settings file");
        fs::last_write_time(Path(e.name), e.stale ? old : fresh);
    }
    // A folder of our name is no file of ours.
    fs::create_directories(Path(".settings-dir12345.tmp"));
    fs::last_write_time(Path(".settings-dir12345.tmp"), old);

    // Nor is a link of our name, even to a stale file.
    fs::create_symlink(Path("Wave/.settings-abcd1234.tmp"), Path(".settings-link1234.tmp"));

    FrameSettings loaded;
    FilesIn(Root()).LoadAtStartup(loaded, [] { return 0; });
    for (const auto& e : entries)
        EXPECT_EQ(fs::exists(Path(e.name)), e.kept) << e.name;
    EXPECT_TRUE(fs::is_directory(Path(".settings-dir12345.tmp")));
    EXPECT_TRUE(fs::is_symlink(Path(".settings-link1234.tmp")));
}

// What the failed save's message promises for the next start follows what
// is there to read: an earlier file, or nothing (no file, a folder in its
// place) and so the defaults.
TEST_F(SettingsFilesSaveTest, TheFailedSaveSaysTheNextStartUsesAnEarlierFileOnlyWhereOneIsThere)
{
    const SettingsFiles files = FilesIn(Root());
    WriteText(files.IniPath(), "[Settings]\n");
    const std::string cfg = Path("blocked.cfg");
    fs::create_directories(cfg);
    const std::string gone = Path("never.cfg");
    const struct {
        std::string ini;
        std::string cfg;
        std::string says;
    } cases[] = {
        {files.IniPath(), "", "The next start uses the settings saved before."},
        {Path("never.ini"), gone, "The next start uses the default settings: none were saved before."},
        {"", gone, "The next start uses the defaults in place of " + gone + ": none were saved there before."},
        {"", cfg, "The next start uses the defaults in place of " + cfg + ": none were saved there before."},
        {files.IniPath(), cfg,
         "The next start uses the settings saved before in " + files.IniPath() + ", and the defaults in place of " +
             cfg + ": none were saved there before."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini + " | " + c.cfg);
        EXPECT_EQ(SettingsFiles::WhatTheNextStartUses(c.ini, c.cfg), c.says);
    }
}
