// Telling a configuration file worth reading from a damaged one.

#include "app/core/CfgFileCheck.h"
#include "settings/CfgSettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("talvenor_cfgcheck_" + std::to_string(::getpid()) + name))
        .string();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(CfgFileCheck, WrittenAndOlderFilesAreReadableMissingAndDamagedOnesToldApart)
{
    const std::string path = TempPath("good.cfg");
    ASSERT_TRUE(SaveCfgSettings(path, FrameSettings()));
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Readable);

    // An older, shorter file with only one known section, CRLF lines, odd case.
    WriteBytes(path, "; saved long ago\r\n[settings]\r\nFFTsize=8192\r\n");
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Readable);

    std::filesystem::remove(path);
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Missing);

    static const char binary[] = "[Settings]\nFFTsize=65536\n\0\0\x01\x02garbage";
    WriteBytes(path, std::string(binary, sizeof binary - 1));
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Damaged) << "binary bytes";

    WriteBytes(path, "this is not a configuration file\njust = text\n[Groceries]\n");
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Damaged) << "no section of ours";

    WriteBytes(path, "");
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Damaged) << "empty";

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Damaged) << "a folder under the file's name";
    std::filesystem::remove(path);

    EXPECT_NE(DamagedCfgNote("/data/talvenor.cfg").find("\"/data/talvenor.cfg\""), std::string::npos);
}
