// The platform's file helpers: paths, profile (.ini) files, RIFF chunks,
// temporary files and the registry with its entry files.

#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "platform/RegularFile.h"
#include "platform/Registry.h"
#include "platform/RiffFile.h"
#include "platform/TempFiles.h"
#include "platform/ZeroFilledArray.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/PlatformTestSupport.h"

namespace {

namespace fs = std::filesystem;
using platform::MakeFourCC;
using platform::ProfileFile;
using platform::RiffChunk;
using platform::RiffFile;
using platform::RiffFind;
using Bytes = std::vector<std::uint8_t>;

TEST(PathsTest, AMissingFolderIsReportedWhenAskedAndAFileNameIsCutAtTheLastSeparator)
{
    MessageLog log;
    const std::string path = (fs::path(testing::TempDir()) / "talvenor-no-such-folder").string();
    fs::remove_all(path);
    EXPECT_TRUE(FolderExists(testing::TempDir().c_str(), 1));
    EXPECT_FALSE(FolderExists(path.c_str(), 0));
    EXPECT_FALSE(FolderExists(nullptr, 1));
    EXPECT_TRUE(log.requests.empty());

    EXPECT_FALSE(FolderExists(path.c_str(), 1));
    ASSERT_EQ(log.requests.size(), 1u);
    EXPECT_EQ(log.requests[0].icon, platform::MessageIcon::Stop);
    EXPECT_EQ(log.requests[0].caption + "|" + log.requests[0].text,
              "Talvenor Mobile|The file folder \"" + path + "\" does not exist (error code = " + std::to_string(ENOENT)
                  + ").  Please check the path/folder settings under the <Print><Set Paths> menu.");

    // A file name is cut at the last separator.
    // A separator only at the start, or none, leaves the path whole;
    // backslashes are ordinary characters in Linux names.
    const std::pair<const char*, const char*> cases[] = {
        {"/a/b.wav", "/a"}, {"/b.wav", "/b.wav"}, {"b.wav", "b.wav"}, {"/x/C:\\a\\b.wav", "/x"}};
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

// Only regular files are opened: a named pipe without a writer would block
// the open for ever, so it must be refused before anything waits on it.
TEST(RegularFileTest, PipesFoldersAndMissingFilesAreRefusedWithTheirReasonAndLargeFilesAreNeverCut)
{
    TempFolder folder;
    const std::string fifo = folder.Path("pipe.ovl");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    WriteText(folder.Path("plain.ovl"), "100 1\n");
    struct Case {
        std::string path;
        bool opens;
        bool missing;
        const char* reason;
    };
    const Case cases[] = {
        {fifo, false, false, "it is not a regular file"},
        {folder.folder.string(), false, false, "it is not a regular file"},
        {folder.Path("none.ovl"), false, true, "No such file or directory"},
        {folder.Path("plain.ovl/x"), false, true, "Not a directory"},
        {"", false, true, "No such file or directory"},
        {folder.Path("plain.ovl"), true, false, ""},
    };
    for (const Case& c : cases) {
        const platform::RegularFileOpen open = platform::OpenRegularFile(c.path);
        EXPECT_EQ(open.File != nullptr, c.opens) << c.path;
        EXPECT_EQ(open.Missing(), c.missing) << c.path;
        EXPECT_EQ(open.Reason(), c.reason) << c.path;
        if (open.File != nullptr)
            std::fclose(open.File);
    }

    std::string bytes;
    std::string reason;
    EXPECT_TRUE(platform::ReadWholeRegularFile(folder.Path("plain.ovl"), 6, bytes, reason));
    EXPECT_EQ(bytes, "100 1\n");
    EXPECT_FALSE(platform::ReadWholeRegularFile(folder.Path("plain.ovl"), 5, bytes, reason)) << "never cut";
    EXPECT_TRUE(bytes.empty());
    bool missing = false;
    EXPECT_FALSE(platform::ReadWholeRegularFile(fifo, 100, bytes, reason, &missing));
    EXPECT_FALSE(missing);
    EXPECT_EQ(reason, "it is not a regular file");
}

class ProfileFileTest : public TempFolderTest {};

TEST_F(ProfileFileTest, LookupFollowsTheProfileRulesWritesKeepEveryOtherLineAndUnsafeSavesFail)
{
    const std::string path = Path("test.ini");
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

    // A save into a missing folder, or over a file that cannot be read, fails.
    EXPECT_FALSE(platform::WriteProfileString("A", "b", "c", (folder / "no" / "such.ini").string()));
    EXPECT_FALSE(fs::exists(folder / "no"));

    // A file that cannot be read is never saved over (root reads every file).
    if (::geteuid() != 0) {
        WriteText(path, "[A]\nb=old\nprivate=1\n");
        fs::permissions(path, fs::perms::none);
        ProfileFile unreadable(path);
        unreadable.WriteString("A", "b", "new");
        EXPECT_FALSE(unreadable.Save());
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(ReadText(path), "[A]\nb=old\nprivate=1\n");
    }
}

class RiffFileTest : public TempFolderTest {};

TEST_F(RiffFileTest, CreatedChunksGetSizesAndPadsAndDescendSkipsOthersStaysInItsParentAndStopsAtTheEnd)
{
    RiffFile file;
    ASSERT_TRUE(file.Open(Path("a.riff"), RiffFile::OpenMode::Create));
    RiffChunk form{platform::kRiffId, 0, MakeFourCC('T', 'E', 'S', 'T')};
    ASSERT_TRUE(file.CreateChunk(form));
    RiffChunk odd{MakeFourCC('o', 'd', 'd', ' ')};
    ASSERT_TRUE(file.CreateChunk(odd));
    ASSERT_TRUE(file.WriteExactly("abc", 3));
    ASSERT_TRUE(file.Ascend(odd));
    RiffChunk even{MakeFourCC('e', 'v', 'e', 'n')};
    ASSERT_TRUE(file.CreateChunk(even));
    ASSERT_TRUE(file.WriteExactly("xy", 2));
    ASSERT_TRUE(file.Ascend(even));
    ASSERT_TRUE(file.Ascend(form));
    ASSERT_TRUE(file.Close());

    const Bytes expected = {'R', 'I', 'F', 'F', 26, 0, 0, 0, 'T', 'E', 'S', 'T',
                            'o', 'd', 'd', ' ', 3,  0, 0, 0, 'a', 'b', 'c', 0,
                            'e', 'v', 'e', 'n', 2,  0, 0, 0, 'x', 'y'};
    const std::string written = ReadText(Path("a.riff"));
    EXPECT_EQ(Bytes(written.begin(), written.end()), expected);
    EXPECT_EQ(odd.Size, 3u);
    EXPECT_EQ(form.Size, 26u);

    // Cut back in place: to nothing, never to a negative length.
    ASSERT_TRUE(file.Open(Path("a.riff"), RiffFile::OpenMode::ReadWrite));
    EXPECT_FALSE(file.Truncate(-1));
    EXPECT_TRUE(file.Truncate(0));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(ReadText(Path("a.riff")), "");

    // Descending: a form holding an odd-sized chunk and "want", followed at top level by
    // another "want" that a search inside the form must not reach.
    const Bytes bytes = {'R', 'I', 'F', 'F', 24, 0, 0, 0, 'W', 'A', 'V', 'E',
                         'o', 'd', 'd', ' ', 1,  0, 0, 0, 'z', 0,
                         'w', 'a', 'n', 't', 2,  0, 0, 0, 'h', 'i',
                         'w', 'a', 'n', 't', 1,  0, 0, 0, '!', 0};
    WriteText(Path("b.riff"), std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(file.Open(Path("b.riff"), RiffFile::OpenMode::Read));

    RiffChunk wave{0, 0, MakeFourCC('W', 'A', 'V', 'E')};
    ASSERT_TRUE(file.Descend(wave, nullptr, RiffFind::Form));
    EXPECT_EQ(wave.DataOffset, 8);
    EXPECT_EQ(file.Tell(), 12);

    RiffChunk want{MakeFourCC('w', 'a', 'n', 't')};
    ASSERT_TRUE(file.Descend(want, &wave, RiffFind::Id));
    EXPECT_EQ(want.DataOffset, 30);
    EXPECT_EQ(want.Size, 2u);
    char text[2];
    ASSERT_TRUE(file.ReadExactly(text, 2));
    EXPECT_EQ(std::string(text, 2), "hi");
    ASSERT_TRUE(file.Ascend(want));
    EXPECT_FALSE(file.Descend(want, &wave, RiffFind::Id));

    // At top level the form counts as one chunk and is skipped whole.
    ASSERT_TRUE(file.Seek(0));
    ASSERT_TRUE(file.Descend(want, nullptr, RiffFind::Id));
    EXPECT_EQ(want.DataOffset, 40);

    // A chunk claiming 4 GB, then nothing: the search must stop, not wrap.
    WriteText(Path("c.riff"), "junk\xFF\xFF\xFF\xFF\x01\x02\x03");
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(file.Open(Path("c.riff"), RiffFile::OpenMode::Read));
    EXPECT_FALSE(file.Descend(want, nullptr, RiffFind::Id));
    // A truncated header is no chunk either.
    ASSERT_TRUE(file.Seek(8));
    RiffChunk any;
    EXPECT_FALSE(file.Descend(any, nullptr, RiffFind::Next));
}

class TempFilesTest : public TempFolderTest {
protected:
    void TearDown() override { platform::SimulateDiskFull(-1); }
    std::size_t FileCount() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
};

TEST_F(TempFilesTest, TemporaryFilesAreNewSameFileComparesCanonicalPathsAndCopiesReplaceOnlyWhenComplete)
{
    std::set<std::string> names;
    for (int i = 0; i < 20; ++i)
        names.insert(platform::CreateTempFile(folder.string(), "wav"));
    EXPECT_EQ(names.size(), 20u);
    EXPECT_EQ(FileCount(), 20u);
    const fs::path one = *names.begin();
    EXPECT_EQ(one.parent_path(), folder);
    EXPECT_EQ(one.filename().string().substr(0, 3) + one.extension().string(), "wav.tmp");
    EXPECT_TRUE(platform::CreateTempFile(Path("no-such-folder"), "wav").empty());

    // Same file: canonical paths compared.
    WriteText(Path("x.wav"), "x");
    fs::create_directories(folder / "sub");
    fs::create_symlink(folder / "x.wav", folder / "sub" / "link.wav");
    EXPECT_TRUE(platform::SameFile(Path("x.wav"), (folder / "sub" / "link.wav").string()));
    // A file still to be written: its names are compared, both made canonical.
    EXPECT_TRUE(platform::SameFile((folder / "sub" / ".." / "new.wav").string(), Path("new.wav")));
    EXPECT_FALSE(platform::SameFile(Path("x.wav"), Path("X.wav")));
    EXPECT_FALSE(platform::SameFile(Path("x.wav"), ""));

    // Copies and moves replace the target only when complete.
    fs::remove_all(folder);
    fs::create_directories(folder);
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

using platform::Registry;
using platform::RegistryHive;

std::vector<std::string> Subkeys(const Registry& registry, RegistryHive hive, const std::string& key)
{
    std::vector<std::string> names;
    std::string name;
    for (std::size_t i = 0; registry.EnumKey(hive, key, i, name); ++i)
        names.push_back(name);
    return names;
}

TEST(Registry, KeysAndValuesIgnoreCaseEnumerateInOrderAndEntryFilesLoadWholeOrNotAtAll)
{
    Registry registry;
    registry.SetValue(RegistryHive::LocalMachine, "SOFTWARE\\ASIO\\zulu", "clsid", "z");
    registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\Alpha", "CLSID", "a");
    registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\alpha", "clsid", "a2");
    registry.CreateKey(RegistryHive::LocalMachine, "software\\asio\\Mike");
    registry.SetValue(RegistryHive::ClassesRoot, "clsid\\x\\InprocServer32", "", "/lib/x.so");

    EXPECT_EQ(Subkeys(registry, RegistryHive::LocalMachine, "Software\\Asio"),
              (std::vector<std::string>{"Alpha", "Mike", "zulu"}));
    std::string value;
    ASSERT_TRUE(registry.QueryValue(RegistryHive::LocalMachine, "software\\asio\\ALPHA", "Clsid", value));
    EXPECT_EQ(value, "a2");
    ASSERT_TRUE(registry.QueryValue(RegistryHive::ClassesRoot, "CLSID\\X\\inprocserver32", "", value));
    EXPECT_EQ(value, "/lib/x.so");

    // The hives are separate, and a missing value is not an empty one.
    EXPECT_FALSE(registry.KeyExists(RegistryHive::ClassesRoot, "software\\asio"));
    EXPECT_FALSE(registry.QueryValue(RegistryHive::LocalMachine, "software\\asio\\Mike", "", value));
    EXPECT_FALSE(registry.EnumKey(RegistryHive::LocalMachine, "software\\missing", 0, value));

    registry.DeleteKey(RegistryHive::LocalMachine, "software\\asio\\ALPHA");
    EXPECT_EQ(Subkeys(registry, RegistryHive::LocalMachine, "software\\asio"),
              (std::vector<std::string>{"Mike", "zulu"}));
    registry.Clear();
    EXPECT_FALSE(registry.KeyExists(RegistryHive::LocalMachine, "software"));

    // Entry files load whole or not at all.
    int line = -1;
    const char* good =
        "; drivers added by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\software\\asio\\Studio \"A\"]\r\n"
        "\"clsid\"=\"{0}\"\n"
        "\"description\" = \"Studio \\\"A\\\" \\\\ desk\"\n"
        "\n"
        "[HKCR\\clsid\\{0}\\InprocServer32]\n"
        "@=\"/opt/studio.so\"\n";
    ASSERT_TRUE(registry.LoadText(good, line));
    EXPECT_EQ(line, 0);
    ASSERT_TRUE(registry.QueryValue(RegistryHive::LocalMachine, "software\\asio\\Studio \"A\"", "description", value));
    EXPECT_EQ(value, "Studio \"A\" \\ desk");
    ASSERT_TRUE(registry.QueryValue(RegistryHive::ClassesRoot, "clsid\\{0}\\InprocServer32", "", value));
    EXPECT_EQ(value, "/opt/studio.so");

    const char* bad =
        "[HKEY_LOCAL_MACHINE\\software\\asio\\Other]\n"
        "\"clsid\"=\"{1}\"\n"
        "clsid={2}\n";
    EXPECT_FALSE(registry.LoadText(bad, line));
    EXPECT_EQ(line, 3);
    EXPECT_FALSE(registry.KeyExists(RegistryHive::LocalMachine, "software\\asio\\Other"));

    EXPECT_FALSE(registry.LoadText("\"clsid\"=\"{1}\"\n", line)) << "a value before any key";
    EXPECT_EQ(line, 1);
    EXPECT_FALSE(registry.LoadText("[HKEY_USERS\\x]\n", line));
    EXPECT_FALSE(registry.LoadText("[HKLM\\x]\n@=\"unterminated\n", line));
    EXPECT_EQ(line, 2);
    EXPECT_FALSE(registry.LoadFile("/nonexistent/drivers.reg", line));
    EXPECT_EQ(line, 0);
}

} // namespace

// Failures asked for are taken one allocation each, then allocations succeed.
TEST(ZeroFilledArrays, EachInjectedFailureRefusesOneAllocation)
{
    platform::FailNextAllocations(2);
    platform::ZeroFilledArray<int> a, b, c;
    EXPECT_FALSE(a.Allocate(4));
    EXPECT_FALSE(b.Allocate(4));
    ASSERT_TRUE(c.Allocate(4));
    EXPECT_EQ(c[3], 0);
    platform::FailNextAllocations(0);
}
