#include "platform/Paths.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/PlatformTestSupport.h"

namespace {

TEST(PathsTest, AMissingFolderIsReportedWhenAskedAnExistingOneNever)
{
    MessageLog log;
    const std::vector<platform::MessageBoxRequest>& messages = log.requests;
    EXPECT_TRUE(FolderExists(testing::TempDir().c_str(), 1));
    EXPECT_TRUE(messages.empty());
    const std::filesystem::path missing = std::filesystem::path(testing::TempDir()) / "talvenor-no-such-folder";
    std::filesystem::remove_all(missing);
    const std::string path = missing.string();

    EXPECT_FALSE(FolderExists(path.c_str(), 0));
    EXPECT_TRUE(messages.empty());

    EXPECT_FALSE(FolderExists(path.c_str(), 1));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Talvenor Mobile");
    EXPECT_EQ(messages[0].icon, platform::MessageIcon::Stop);
    EXPECT_EQ(messages[0].text, "The file folder \"" + path + "\" does not exist (error code = "
                                    + std::to_string(ENOENT)
                                    + ").  Please check the path/folder settings under the <File><Set Paths> menu.");

    EXPECT_FALSE(FolderExists(nullptr, 1));
    EXPECT_EQ(messages.size(), 1u);
}

TEST(StripFileNameTest, CutsAtTheLastSeparator)
{
    // A separator only at the start, or none, leaves the path whole;
    // backslashes are ordinary characters in Linux names.
    const std::pair<const char*, const char*> cases[] = {{"/a/b.wav", "/a"},     {"rel/dir/file.txt", "rel/dir"},
                                                         {"/a/", "/a"},          {"/b.wav", "/b.wav"},
                                                         {"b.wav", "b.wav"},     {"/x/C:\\a\\b.wav", "/x"}};
    char buffer[64];
    for (const auto& [path, folder] : cases) {
        StripFileName(path, buffer);
        EXPECT_STREQ(buffer, folder) << path;
        EXPECT_EQ(StripFileName(std::string_view(path)), folder);
    }

    char inPlace[] = "/home/user/file.wav";
    StripFileName(inPlace, inPlace);
    EXPECT_STREQ(inPlace, "/home/user");

    EXPECT_EQ(StripFileName(std::string_view("")), "");

    // Null pointers do nothing.
    StripFileName(nullptr, buffer);
    EXPECT_STREQ(buffer, "/x");
    StripFileName("/a/b", nullptr);
}

} // namespace
