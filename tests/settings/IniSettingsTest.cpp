#include "settings/IniSettingsFile.h"
#include "settings/SettingsFiles.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"

namespace {

// The [FileIO] keys after the first, with the values the program fixes.
const std::string kFileIOTail = "MaxRamRecordingTimeSecs=3600\r\nMakeBackup=0\r\nIncludeCalibrationData=1\r\n"
                                "RecordIOBufferSizeSecs=1\r\nRealTimeIOBufferSizeSecs=1\r\n"
                                "RealTimeWaveBufferEnableFlag=1\r\nRealTimeWaveBufferLengthSecs=60\r\n"
                                "MaxDiskRecordingSizeBytes=2000000000\r\nAutoReopenOnLaunch=0\r\n";

// The [FileIO] values are fixed whatever the file says.
TEST(IniSettingsTest, ForeignKeysSurviveASaveWindowsFoldersFallBackAndAnInstallThatKeepsItsPathsIgnoresThem)
{
    const TempFolder folder;
    const std::string path = folder.Path("Talvenor.ini"), root = folder.Root();
    const std::string overlay = folder.Path("MyOverlays");
    std::filesystem::create_directory(overlay);
    WriteText(path, "; written by hand\n"
                    "[Install]\nDefault=0\n"
                    "[Paths]\novl = \"" + overlay + "\"\n"
                    "\n"
                    "[Special]\nDisplayTimeInsteadOfSINAD=1\nDisplayTimeOffset=2.5\n"
                    "[Settings]\nKaiserAlpha=7.0\n"
                    "[FileIO]\nWaveFileMode=1\nUnknownOption=yes\nMaxRamRecordingTimeSecs=10\nMakeBackup=7\n");
    FrameSettings s;
    LoadIniSettings(path, {root, false}, s);
    FileIOOpts fixed;
    fixed.MakeBackup = fixed.AutoReopenOnLaunch = 0;
    EXPECT_EQ(s.FileIO, fixed);
    EXPECT_EQ(s.m_DataPaths.Get(DataPaths::kOverlay), overlay);
    EXPECT_EQ(s.m_DataPaths.Get(DataPaths::kLog), root + "Log");

    ASSERT_TRUE(SaveIniSettings(path, s));
    EXPECT_EQ(ReadText(path), "; written by hand\r\n"
                              "[Install]\r\nDefault=0\r\n"
                              "[Paths]\r\novl=" + overlay + "\r\nlog=" + root + "Log\r\n"
                              "\r\n"
                              "[Special]\r\nDisplayTimeInsteadOfSINAD=1\r\nDisplayTimeOffset=2.5\r\n"
                              "[Settings]\r\nKaiserAlpha=7.0\r\n"
                              "[FileIO]\r\nWaveFileMode=0\r\nUnknownOption=yes\r\n" + kFileIOTail);

    // Windows folders fall back with a note.
    WriteText(path, "[Paths]\r\novl=C:\\Talvenor\\Overlay\r\nlog=C:\\Talvenor\\Log\r\n");
    FrameSettings w;
    testing::internal::CaptureStderr();
    LoadIniSettings(path, {root, false}, w);
    const std::string notes = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::tuple(w.m_DataPaths.Get(DataPaths::kOverlay), w.m_DataPaths.Get(DataPaths::kLog)),
              std::tuple(root + "Overlay", root + "Log"));
    EXPECT_NE(notes.find("C:\\Talvenor\\Overlay"), std::string::npos) << notes;
    EXPECT_NE(notes.find("C:\\Talvenor\\Log"), std::string::npos) << notes;

    // An install that keeps its paths ignores them.
    WriteText(path, "[Install]\nDefault=1\n[Paths]\novl=" + root + "\n");
    FrameSettings kept;
    kept.m_DataPaths.Set(DataPaths::kOverlay, "/constructor/Overlay");
    LoadIniSettings(path, {root, true}, kept);
    EXPECT_EQ(kept.m_DataPaths.Get(DataPaths::kOverlay), "/constructor/Overlay");
    EXPECT_EQ(kept.m_DataPathsInUse.Get(DataPaths::kOverlay), "");

    // Without the install flag the same file rebuilds and reads them.
    FrameSettings plain;
    LoadIniSettings(path, {root, false}, plain);
    EXPECT_EQ(plain.m_DataPaths.Get(DataPaths::kOverlay), root);

    ASSERT_TRUE(SaveIniSettings(path, kept));
    EXPECT_EQ(ReadText(path).substr(0, 22), "[Install]\r\nDefault=0\r\n");
}

TEST(SettingsFilesTest, AFirstStartRunsOnDefaultsTheExitWritesTheIniAndStartUpAnalysesBothChannels)
{
    TempFolder folder;
    const SettingsFiles files{folder.Root(), "Talvenor", false};
    EXPECT_EQ(files.IniPath(), folder.Root() + "Talvenor.ini");
    EXPECT_EQ(files.CfgPath(), folder.Root() + "Talvenor.cfg");

    FrameSettings started;
    files.LoadAtStartup(started, [] { return 4; });
    FrameSettings expected;
    expected.m_DataPaths.Build(folder.Root());
    expected.m_DataPathsInUse = expected.m_DataPaths;
    expected.FileIO.ApplyFixedValues();
    ExpectSameSettings(started, expected);
    const DataPaths& p = started.m_DataPaths;
    EXPECT_EQ(std::string(p.Get(DataPaths::kWave)) + "," + std::string(p.Get(DataPaths::kCalibration)) + ","
                  + std::string(p.Get(DataPaths::kConfiguration)),
              folder.Root() + "Wave," + folder.Root() + "Cal,");

    ASSERT_TRUE(files.SaveAtExit(started));
    EXPECT_EQ(ReadText(files.IniPath()), "[Install]\r\nDefault=0\r\n[Paths]\r\novl=" + folder.Root() + "Overlay\r\nlog="
                                            + folder.Root() + "Log\r\n[FileIO]\r\nWaveFileMode=0\r\n" + kFileIOTail);

    // Start-up analyses both channels whatever the file says.
    WriteText(files.CfgPath(), "[Settings]\nChannelProcessing=3\n");
    FrameSettings fixed;
    files.LoadAtStartup(fixed, [] { return 4; });
    EXPECT_EQ(fixed.m_InputDevice, 4);
    EXPECT_EQ(fixed.Processing.ChannelProcessing, 2);
    EXPECT_EQ(fixed.Processing.IndependentScalingAndCalibration, 1);
    EXPECT_EQ(fixed.Processing.FFTsize, 65536u);
}

} // namespace
