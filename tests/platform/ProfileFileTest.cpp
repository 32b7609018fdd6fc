#include "platform/ProfileFile.h"

#include "tests/support/PlatformTestSupport.h"

#include <filesystem>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using platform::ProfileFile;

class ProfileFileTest : public TempFolderTest {
protected:
    const std::string path = Path("test.ini");
};

TEST_F(ProfileFileTest, LookupFollowsTheProfileRulesAndWritesKeepEveryOtherLine)
{
    WriteText(path, "; a comment\n[Paths]\n  OVL =  \"/data/Overlay \"  \r\nlog='/data/Log'\nlog=/second\n"
                    "Mixed=\"one'\nnoequals\n[ paths ]\nextra=1\n[FileIO]\nWaveFileMode=1\n");
    const ProfileFile file(path);
    EXPECT_TRUE(file.IsLoaded());
    EXPECT_EQ(file.GetString("paths", "ovl", "-", 260), "/data/Overlay ");
    EXPECT_EQ(file.GetString("PATHS", "Log", "-", 260), "/data/Log");
    EXPECT_EQ(file.GetString("Paths", "Mixed", "-", 260), "\"one'");
    // Only the first section of a name is searched.
    EXPECT_EQ(file.GetString("Paths", "extra", "none", 260), "none");
    EXPECT_EQ(file.GetString("Paths", "noequals", "none", 260), "none");
    EXPECT_EQ(file.GetString("Missing", "x", "fallback", 256), "fallback");
    // size counts the terminator.
    EXPECT_EQ(file.GetString("paths", "log", "", 5), "/dat");
    EXPECT_EQ(file.GetString("paths", "gone", "default", 4), "def");
    EXPECT_EQ(file.GetString("paths", "log", "", 0), "");

    const ProfileFile missing((folder / "none.ini").string());
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.GetString("Install", "Default", "0", 256), "0");

    // Writes replace in place and keep every other line.
    WriteText(path, "; keep me\n[FileIO]\nWaveFileMode=1\nForeign=keep\n\n[Special]\nDisplayTimeOffset=2.5\n");
    ProfileFile edited(path);
    edited.WriteString("fileio", "wavefilemode", "0");
    edited.WriteString("FileIO", "MakeBackup", "1");
    edited.WriteString("Paths", "ovl", "/x\r\ny");
    ASSERT_TRUE(edited.Save());
    EXPECT_EQ(ReadText(path), "; keep me\r\n[FileIO]\r\nwavefilemode=0\r\nForeign=keep\r\nMakeBackup=1\r\n\r\n"
                              "[Special]\r\nDisplayTimeOffset=2.5\r\n[Paths]\r\novl=/x\r\n");
    EXPECT_TRUE(platform::WriteProfileString("Special", "DisplayTimeOffset", "3", path));
    EXPECT_EQ(platform::GetProfileString("special", "displaytimeoffset", "", 256, path), "3");
}

TEST_F(ProfileFileTest, ASaveIntoAMissingFolderOrOverAnUnreadableFileFails)
{
    EXPECT_FALSE(platform::WriteProfileString("A", "b", "c", (folder / "no" / "such.ini").string()));
    EXPECT_FALSE(fs::exists(folder / "no"));

    // A file that cannot be read is never saved over.
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    WriteText(path, "[A]\nb=old\nprivate=1\n");
    fs::permissions(path, fs::perms::none);
    ProfileFile unreadable(path);
    unreadable.WriteString("A", "b", "new");
    EXPECT_FALSE(unreadable.Save());
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadText(path), "[A]\nb=old\nprivate=1\n");
}

} // namespace
