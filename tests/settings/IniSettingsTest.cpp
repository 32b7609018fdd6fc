#include "settings/IniSettingsFile.h"
#include "settings/ScreenFit.h"
#include "settings/SettingsFiles.h"

#include <filesystem>
#include <string>
#include <vector>

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

// A window kept on the screen's usable area: its title bar never above the
// top edge, its bottom never under the task bar; one that fits is left alone.
TEST(ScreenFitTest, AWindowAndItsDecorationsAreMovedOntoTheUsableAreaAndShrunkOnlyWhereTheyCannotFit)
{
    const PlacementRect screen{0, 0, 1920, 1040};  // a 40-pixel task bar below
    const screen_fit::FrameMargins frame{4, 30, 4, 4};
    struct Row {
        const char* what;
        PlacementRect client;
        PlacementRect expected;
    };
    const Row rows[] = {
        {"fits: untouched", {100, 100, 900, 700}, {100, 100, 900, 700}},
        {"the default at the top left: down by the title bar", {0, 0, 1920, 1052}, {4, 30, 1916, 1036}},
        {"below the bottom: moved up", {1500, 900, 1900, 1100}, {1500, 836, 1900, 1036}},
        {"off the right: moved back", {1700, 100, 2100, 300}, {1516, 100, 1916, 300}},
        {"taller than the screen: shrunk", {200, 50, 600, 2000}, {200, 30, 600, 1036}},
        {"left of the screen", {-300, 200, 100, 400}, {4, 200, 404, 400}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(screen_fit::Fit(row.client, frame, screen), row.expected);
    }
    // A second screen to the right keeps its own origin.
    EXPECT_EQ(screen_fit::Fit({1900, -20, 2300, 300}, frame, {1920, 0, 3200, 1024}),
              (PlacementRect{1924, 30, 2324, 350}));
    // Centred: equal room left and right, and above the title bar and below
    // the bottom edge.
    EXPECT_EQ(screen_fit::Centred(900, 640, frame, screen), (PlacementRect{510, 213, 1410, 853}));
    EXPECT_EQ(screen_fit::Centred(900, 640, frame, {0, 0, 1024, 600}), (PlacementRect{62, 30, 962, 596}));
}

// Windows opening at neighbouring defaults stack instead of covering one
// another; one that would leave the screen stays where it was.
TEST(ScreenFitTest, AWindowOverlappingOthersMovesBelowThemAndStaysPutWhereThatLeavesTheScreen)
{
    const PlacementRect screen{0, 0, 1920, 1040};
    const PlacementRect first{690, 170, 900, 272};
    const PlacementRect second{690, 272, 950, 374};
    struct Row {
        const char* what;
        PlacementRect window;
        std::vector<PlacementRect> others;
        PlacementRect expected;
    };
    const Row rows[] = {
        {"clear already", {690, 280, 900, 382}, {first}, {690, 280, 900, 382}},
        {"under the title bar of the one above", {690, 250, 900, 352}, {first}, {690, 272, 900, 374}},
        {"over both: below the lower", {690, 200, 910, 302}, {first, second}, {690, 374, 910, 476}},
        {"over one, then the next below it", {690, 240, 910, 262}, {first, second}, {690, 374, 910, 396}},
        {"side by side: no overlap", {920, 170, 1100, 272}, {first}, {920, 170, 1100, 272}},
        {"off the bottom: stays", {690, 900, 900, 1002}, {{690, 880, 900, 1000}}, {690, 900, 900, 1002}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(screen_fit::ClearOf(row.window, row.others, screen), row.expected);
    }
}
