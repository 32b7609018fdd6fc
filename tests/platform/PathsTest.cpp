#include "platform/Paths.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/MessageBox.h"

namespace {

class PathsTest : public testing::Test {
protected:
    void SetUp() override
    {
        platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
            messages.push_back(request);
            return platform::MessageResult::Ok;
        });
    }
    void TearDown() override { platform::SetMessageBoxHook({}); }

    std::vector<platform::MessageBoxRequest> messages;
};

TEST_F(PathsTest, AMissingFolderIsReportedWhenAskedAnExistingOneNever)
{
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
    char buffer[64];
    StripFileName("/a/b.wav", buffer);
    EXPECT_STREQ(buffer, "/a");
    StripFileName("rel/dir/file.txt", buffer);
    EXPECT_STREQ(buffer, "rel/dir");
    StripFileName("/a/", buffer);
    EXPECT_STREQ(buffer, "/a");
    // A separator only at the start, or none, leaves the path whole.
    StripFileName("/b.wav", buffer);
    EXPECT_STREQ(buffer, "/b.wav");
    StripFileName("b.wav", buffer);
    EXPECT_STREQ(buffer, "b.wav");
    // Backslashes are ordinary characters in Linux names.
    StripFileName("/x/C:\\a\\b.wav", buffer);
    EXPECT_STREQ(buffer, "/x");

    char inPlace[] = "/home/user/file.wav";
    StripFileName(inPlace, inPlace);
    EXPECT_STREQ(inPlace, "/home/user");

    EXPECT_EQ(StripFileName(std::string_view("/a/b.wav")), "/a");
    EXPECT_EQ(StripFileName(std::string_view("/b.wav")), "/b.wav");
    EXPECT_EQ(StripFileName(std::string_view("")), "");

    // Null pointers do nothing.
    StripFileName(nullptr, buffer);
    EXPECT_STREQ(buffer, "/x");
    StripFileName("/a/b", nullptr);
}

} // namespace
