// The menu bar and accelerator tables, and which commands are live.

#include "app/core/FrameCommandIds.h"
#include "app/core/FrameMenus.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace frame_menus;

TEST(FrameMenus, MnemonicsAreTheLetterAfterASingleAmpersand)
{
    EXPECT_EQ(Mnemonic("P&rint"), 'R');
    EXPECT_EQ(Mnemonic("&Options"), 'O');
    EXPECT_EQ(Mnemonic("Fish && &Chips"), 'C');
    EXPECT_EQ(Mnemonic("Go to Website..."), 0);
    EXPECT_EQ(Mnemonic("Processing Settings...\tF4"), 0);
    EXPECT_EQ(Mnemonic("Trailing&"), 0);
}

TEST(FrameMenus, OnlyAltRClashesWithAMenuTitleAndMenusShowTheAcceleratorsKeys)
{
    std::set<std::string> clashing;
    for (const Accelerator& a : Accelerators())
        if (ClashesWithMenuMnemonic(a))
            clashing.insert(a.keys);
    EXPECT_EQ(clashing, std::set<std::string>{"Alt+R"});

    // The popups' mnemonics differ; shortcuts shown in items are the accelerators'.
    std::set<char> letters;
    for (const MenuPopup& popup : MenuBar()) {
        EXPECT_TRUE(letters.insert(Mnemonic(popup.title)).second) << popup.title;
        for (const MenuItem& item : popup.items) {
            if (item.id == 0)
                continue;
            const std::string text = item.text;
            const std::size_t tab = text.find('\t');
            if (tab == std::string::npos)
                continue;
            bool found = false;
            for (const Accelerator& a : Accelerators())
                found = found || (a.keys == text.substr(tab + 1) && a.id == item.id);
            EXPECT_TRUE(found) << text;
        }
    }
}

TEST(FrameMenus, RunControlHelpTheFramesOwnWindowsTheGeneratorAndTheSettingsAreLiveThePrintingIsGreyed)
{
    using namespace frame_command;
    for (std::uint32_t id : {kStart, kStop, kRestart, kStopCommand, kAppExit, kAppAbout, kHelpContents,
                             kHelpSearch, kGettingStarted, kReinitInput, kCloseAllPlots, kSignalGenerator,
                             kSaveGeneratorWave, kLockGeneratorChannels, kCloseAllUtilities, kRecorder,
                             kPeakFrequency, kPeakAmplitude, kTotalPower, kPlotOptions, kSetPaths,
                             kProcessingSettings, kCalibrationSettings, kFileIOOptions, kFilePrint,
                             kFilePrintSetup, kPrintAnnotations})
        EXPECT_TRUE(IsCommandBuilt(id)) << id;
    EXPECT_FALSE(IsCommandBuilt(0));
}
