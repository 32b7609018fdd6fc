// Where the program looks for its install file, its settings and its data,
// and telling a configuration file worth reading from a damaged one.

#include "settings/CfgFileCheck.h"
#include "app/core/DefaultDataTree.h"
#include "app/core/FramePaths.h"
#include "app/core/InstallUserInfo.h"
#include "settings/CfgSettingsFile.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// Writes a file under the folder, making the folders on its way.
class TempTree : public TempFolderTest {
protected:
    void Write(const std::string& relative, const std::string& text) const
    {
        fs::create_directories(fs::path(Path(relative)).parent_path());
        WriteText(Path(relative), text);
    }
};

} // namespace

TEST(FramePaths, DataRootBesideTheProgramStepsOutOfAWholeBinFolderOnlyAndNamesComeFromTheProgram)
{
    EXPECT_EQ(DataRootBesideProgram("/opt/Talvenor/bin/"), "/opt/Talvenor/");
    EXPECT_EQ(DataRootBesideProgram("/opt/Talvenor/bin"), "/opt/Talvenor/");
    // Case is kept, and only the whole folder name counts.
    EXPECT_EQ(DataRootBesideProgram("/home/ann/bins/"), "/home/ann/bins/");
    EXPECT_EQ(DataRootBesideProgram("/home/ann/Bin/"), "/home/ann/Bin/");
    EXPECT_EQ(DataRootBesideProgram("/bin/"), "/");
    // Names come from the program file.
    EXPECT_EQ(StemOf("/usr/bin/talvenor"), "talvenor");
    EXPECT_EQ(StemOf("/x/Talvenor.Mobile.bin"), "Talvenor.Mobile");
    EXPECT_EQ(StemOf("/x/.hidden"), ".hidden");
    EXPECT_EQ(FolderOf("/usr/bin/talvenor"), "/usr/bin/");
    EXPECT_EQ(FolderOf("talvenor"), "");
    EXPECT_EQ(DataRootUnderDocuments("/home/ann/Documents"), "/home/ann/Documents/Talvenor/");
    EXPECT_EQ(DataRootUnderDocuments("/home/ann/Documents/"), "/home/ann/Documents/Talvenor/");
    EXPECT_EQ(DataRootUnderDocuments(""), "");
}

TEST_F(TempTree, TheDataLivesBesideTheProgramOrWhereTheInstallFileSaysWhichNamesUserAndCompany)
{
    FramePaths paths = FramePaths::Derive(Path("bin/talvenor"), "/nowhere/Documents");
    EXPECT_EQ(paths.ProgramStem, "talvenor");
    EXPECT_EQ(paths.InstallIniPath, Path("bin/talvenorInstall.ini"));
    EXPECT_FALSE(paths.WindowsInstall);
    EXPECT_EQ(paths.DataRoot, Root());
    EXPECT_EQ(paths.IniPath(), Path("talvenor.ini"));
    EXPECT_EQ(paths.CfgPath(), Path("talvenor.cfg"));

    // The install file can put the data under the documents folder.
    Write("app/talvenorInstall.ini", "[Install]\r\nWindowsInstall=1\r\n");
    paths = FramePaths::Derive(Path("app/talvenor"), Path("Documents"));
    EXPECT_TRUE(paths.WindowsInstall);
    EXPECT_EQ(paths.DataRoot, Path("Documents") + "/Talvenor/");

    // Unknown documents folder: no data root, the current folder serves.
    paths = FramePaths::Derive(Path("app/talvenor"), "");
    EXPECT_EQ(paths.DataRoot, "");
    EXPECT_EQ(paths.IniPath(), "talvenor.ini");

    // User and company come from the same file, the company cut to 80 characters.
    EXPECT_EQ(InstallUserInfo::Read(Path("missing.ini")).User, "");
    Write("app/talvenorInstall.ini",
          "[Install]\nWindowsInstall=0\n[UserInfo]\nUser=Ann Example\nCompany=" + std::string(100, 'c') + "\n");
    EXPECT_EQ(FramePaths::Derive(Path("app/talvenor"), Path("Documents")).DataRoot, Path("app") + "/");
    const InstallUserInfo info = InstallUserInfo::Read(Path("app/talvenorInstall.ini"));
    EXPECT_EQ(std::pair(info.User, info.Company), std::pair(std::string("Ann Example"), std::string(80, 'c')));
    Write("app/talvenorInstall.ini", "[Install]\nWindowsInstall=yes\n");
    EXPECT_FALSE(FramePaths::Derive(Path("app/talvenor"), Path("Documents")).WindowsInstall);
}

TEST_F(TempTree, AMissingDocumentsTreeIsSeededOnceFromTheShareFolder)
{
    Write("share/Talvenor/Cal/mic.cal", "seed");
    Write("share/Talvenor/Wave/.keep", "");
    const auto candidates = default_data_tree::Candidates(Path("bin") + "/", "/nonexistent/share");
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(candidates.front(), Path("share/Talvenor/"));
    EXPECT_EQ(candidates.back(), "/nonexistent/share/Talvenor/");

    const std::string dataRoot = Path("Documents/Talvenor") + "/";
    // Not a documents install: nothing happens.
    EXPECT_FALSE(default_data_tree::CopyIfMissing(false, dataRoot, candidates));
    EXPECT_FALSE(fs::exists(dataRoot));

    EXPECT_TRUE(default_data_tree::CopyIfMissing(true, dataRoot, candidates));
    EXPECT_TRUE(fs::exists(dataRoot + "Cal/mic.cal"));
    EXPECT_TRUE(fs::is_directory(dataRoot + "Wave"));

    // An existing data root is the user's: never copied over.
    Write("Documents/Talvenor/Cal/mic.cal", "mine");
    EXPECT_FALSE(default_data_tree::CopyIfMissing(true, dataRoot, candidates));
    EXPECT_EQ(ReadText(dataRoot + "Cal/mic.cal"), "mine");

    // Without a seed tree the data root is still made, so settings can be saved.
    const std::string other = Path("Other/Talvenor") + "/";
    EXPECT_FALSE(default_data_tree::CopyIfMissing(true, other, {Path("none/Talvenor/")}));
    EXPECT_TRUE(fs::is_directory(other));
}

TEST_F(TempTree, WrittenAndOlderCfgFilesAreReadableMissingAndDamagedOnesToldApart)
{
    const std::string path = Path("good.cfg");
    ASSERT_TRUE(SaveCfgSettings(path, FrameSettings()));
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Readable);
    // An older, shorter file with only one known section, CRLF lines, odd case.
    Write("good.cfg", "; saved long ago\r\n[settings]\r\nFFTsize=8192\r\n");
    EXPECT_EQ(CheckCfgFile(path), CfgFileState::Readable);
    EXPECT_EQ(CheckCfgFile(Path("missing.cfg")), CfgFileState::Missing);

    static const char binary[] = "[Settings]\nFFTsize=65536\n\0\0\x01\x02garbage";
    for (const std::string& damaged : {std::string(binary, sizeof binary - 1),
                                       std::string("this is not a configuration file\njust = text\n[Groceries]\n"),
                                       std::string()}) {
        Write("good.cfg", damaged);
        EXPECT_EQ(CheckCfgFile(path), CfgFileState::Damaged) << damaged;
    }
    fs::create_directory(Path("folder.cfg"));
    EXPECT_EQ(CheckCfgFile(Path("folder.cfg")), CfgFileState::Damaged) << "a folder under the file's name";
    EXPECT_NE(DamagedCfgNote("/data/talvenor.cfg").find("\"/data/talvenor.cfg\""), std::string::npos);
}

// The data folders inside the data root are made when missing (the root
// with them); one elsewhere, perhaps on a disk not mounted, is not invented
// and is reported as still missing, as is one under a file.
TEST_F(TempTree, MissingDataFoldersInsideTheDataRootAreMadeOthersAreLeftAndReported)
{
    const std::string root = Path("fresh/Talvenor") + "/";
    const std::string outside = Path("unmounted/Overlay");
    Write("fresh/Talvenor/plainfile", "x");
    const std::string underFile = root + "plainfile/Log";
    const std::vector<std::string> missing = default_data_tree::MakeDataFolders(
        root, {root + "Wave", root + "Cal", outside, underFile, root + "Log/deeper", ""});
    for (const char* made : {"Wave", "Cal", "Log/deeper"})
        EXPECT_TRUE(fs::is_directory(root + made)) << made;
    EXPECT_FALSE(fs::exists(Path("unmounted")));
    EXPECT_EQ(missing, (std::vector<std::string>{outside, underFile}));
    // A second start finds them all and makes nothing.
    EXPECT_TRUE(default_data_tree::MakeDataFolders(root, {root + "Wave", root + "Cal"}).empty());
    // No data root: nothing is made.
    EXPECT_EQ(default_data_tree::MakeDataFolders("", {Path("rootless/Wave")}),
              (std::vector<std::string>{Path("rootless/Wave")}));
}
