// What the file helpers report when a file is not there to open, where a
// seek to the end leaves the position, and that an empty path names no file
// on either side of a comparison.

#include "platform/RiffFile.h"
#include "platform/TempFiles.h"

#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/PlatformTestSupport.h"

namespace {

using platform::RiffFile;

class RiffOpenTest : public TempFolderTest {};

} // namespace

TEST_F(RiffOpenTest, AFileThatCannotBeOpenedIsReportedAndLeavesNothingOpen)
{
    WriteText(Path("there.riff"), "0123456789");
    std::filesystem::create_directories(Path("folder"));
    // Path, mode; none of them can be opened.
    for (const auto& [name, mode] :
         {std::tuple("missing.riff", RiffFile::OpenMode::Read),
          std::tuple("missing.riff", RiffFile::OpenMode::ReadWrite),
          std::tuple("no-such-folder/new.riff", RiffFile::OpenMode::Create),
          std::tuple("folder", RiffFile::OpenMode::ReadWrite), std::tuple("folder", RiffFile::OpenMode::Create)}) {
        SCOPED_TRACE(name);
        RiffFile file;
        // A file open before stays no longer open after the failed open.
        ASSERT_TRUE(file.Open(Path("there.riff"), RiffFile::OpenMode::Read));
        EXPECT_FALSE(file.Open(Path(name), mode));
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.Tell(), -1);
        char byte = 0;
        EXPECT_EQ(file.Read(&byte, 1), -1);
    }
    EXPECT_FALSE(std::filesystem::exists(Path("missing.riff")));
    EXPECT_FALSE(std::filesystem::exists(Path("no-such-folder")));
}

TEST_F(RiffOpenTest, SeekingToTheEndStandsAfterTheLastByteAndAClosedFileCannotSeek)
{
    WriteText(Path("ten.riff"), "0123456789");
    RiffFile file;
    EXPECT_FALSE(file.SeekEnd());
    ASSERT_TRUE(file.Open(Path("ten.riff"), RiffFile::OpenMode::ReadWrite));
    ASSERT_TRUE(file.Seek(3));
    ASSERT_TRUE(file.SeekEnd());
    EXPECT_EQ(file.Tell(), 10);
    char byte = 0;
    EXPECT_EQ(file.Read(&byte, 1), 0) << "nothing past the end";
    ASSERT_TRUE(file.SeekEnd());
    ASSERT_TRUE(file.WriteExactly("ab", 2));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(ReadText(Path("ten.riff")), "0123456789ab");
    EXPECT_FALSE(file.SeekEnd());
}

// An empty path is no file at all, never the current folder and never the
// same file as another empty one.
TEST(SameFileTest, AnEmptyPathIsNeverTheSameFileAsAnything)
{
    const std::string here = std::filesystem::current_path().string();
    for (const auto& [a, b] : {std::pair<std::string, std::string>{"", ""}, {"", "."}, {".", ""}, {"", here},
                               {here, ""}, {"", "./"}}) {
        EXPECT_FALSE(platform::SameFile(a, b)) << "\"" << a << "\" and \"" << b << "\"";
    }
    EXPECT_TRUE(platform::SameFile(".", here));
}
