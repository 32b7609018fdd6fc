#include "platform/TempFiles.h"

#include "tests/support/PlatformTestSupport.h"

#include <filesystem>
#include <set>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/RiffFile.h"


namespace fs = std::filesystem;

namespace {

class TempFilesTest : public TempFolderTest {
protected:
    void TearDown() override { platform::SimulateDiskFull(-1); }
    std::size_t FileCount() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
};

TEST_F(TempFilesTest, TemporaryFilesAreNewAndUniqueAndSameFileComparesCanonicalPaths)
{
    std::set<std::string> names;
    for (int i = 0; i < 20; ++i)
        names.insert(platform::CreateTempFile(folder.string(), "wav"));
    EXPECT_EQ(names.size(), 20u);
    EXPECT_EQ(FileCount(), 20u);
    const fs::path one = *names.begin();
    EXPECT_EQ(one.parent_path(), folder);
    EXPECT_EQ(one.filename().string().substr(0, 3), "wav");
    EXPECT_EQ(one.extension(), ".tmp");
    EXPECT_TRUE(platform::CreateTempFile(Path("no-such-folder"), "wav").empty());

    // Same file: canonical paths compared.
    WriteText(Path("x.wav"), "x");
    fs::create_directories(folder / "sub");
    fs::create_symlink(folder / "x.wav", folder / "sub" / "link.wav");
    EXPECT_TRUE(platform::SameFile(Path("x.wav"), (folder / "sub" / ".." / "x.wav").string()));
    EXPECT_TRUE(platform::SameFile(Path("x.wav"), (folder / "sub" / "link.wav").string()));
    // A file still to be written: its names are compared, both made canonical.
    EXPECT_TRUE(platform::SameFile((folder / "sub" / ".." / "new.wav").string(), Path("new.wav")));
    EXPECT_TRUE(platform::SameFile(Path("new.wav"), (folder / "sub" / ".." / "new.wav").string()));
    EXPECT_FALSE(platform::SameFile(Path("x.wav"), Path("X.wav")));
    EXPECT_FALSE(platform::SameFile(Path("x.wav"), ""));
}

TEST_F(TempFilesTest, CopyAndMoveReplaceTheTargetOnlyWhenComplete)
{
    WriteText(Path("source"), std::string(100000, 's'));
    WriteText(Path("target"), "old contents");
    ::chmod(Path("target").c_str(), 0640);

    platform::SimulateDiskFull(5000);
    EXPECT_FALSE(platform::CopyFileOver(Path("source"), Path("target")));
    EXPECT_EQ(ReadText(Path("target")), "old contents");
    EXPECT_EQ(FileCount(), 2u);  // no staging file left behind

    platform::SimulateDiskFull(-1);
    ASSERT_TRUE(platform::CopyFileOver(Path("source"), Path("target")));
    EXPECT_EQ(ReadText(Path("target")), std::string(100000, 's'));
    EXPECT_EQ(fs::status(Path("target")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(platform::CopyFileOver(Path("missing"), Path("target")));
    EXPECT_EQ(FileCount(), 2u);

    // A move within one file system renames; across them it copies.
    WriteText(Path("a"), "a");
    ASSERT_TRUE(platform::MoveFileOver(Path("a"), Path("target")));
    EXPECT_EQ(ReadText(Path("target")), "a");
    EXPECT_FALSE(fs::exists(Path("a")));
    EXPECT_FALSE(platform::MoveFileOver(Path("a"), Path("target")));
    // /dev/shm is a memory file system on Linux, so a rename from it to the
    // test folder fails and the copy fallback has to do the move.
    const std::string elsewhere = platform::CreateTempFile("/dev/shm", "wav");
    if (elsewhere.empty())
        GTEST_SKIP() << "/dev/shm is not available";
    WriteText(elsewhere, "moved");
    ASSERT_TRUE(platform::MoveFileOver(elsewhere, Path("target")));
    EXPECT_EQ(ReadText(Path("target")), "moved");
    EXPECT_FALSE(fs::exists(elsewhere));
}

}  // namespace
