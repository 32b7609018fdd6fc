#include "settings/SettingsFiles.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"

namespace {

TEST(SettingsFilesTest, AFirstStartRunsOnDefaultsTheExitWritesBothFilesAndStartUpAnalysesBothChannels)
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

    ASSERT_TRUE(files.SaveAtExit(started));
    FrameSettings restarted;
    files.LoadAtStartup(restarted, [] { return 4; });
    // The second start has a file, so the reader's fixed values now apply.
    FrameSettings expectedAfterRestart = started;
    ApplyFixedCfgValues(expectedAfterRestart);
    expectedAfterRestart.ApplyStartupFixups();
    expectedAfterRestart.m_InputDevice = expectedAfterRestart.m_OutputDevice = 4;
    ExpectSameSettings(restarted, expectedAfterRestart);
    EXPECT_TRUE(std::filesystem::exists(files.IniPath()));

    // Start-up analyses both channels whatever the file says.
    WriteText(files.CfgPath(), "[Settings]\nChannelProcessing=3\n");
    FrameSettings fixed;
    files.LoadAtStartup(fixed, {});
    EXPECT_EQ(fixed.Processing.ChannelProcessing, 2);
    EXPECT_EQ(fixed.Processing.IndependentScalingAndCalibration, 1);
    EXPECT_EQ(fixed.Processing.FFTsize, 65536u);
}

} // namespace
