// Loading and saving configurations through the frame, and the window
// placements and slots they store.

#include "settings/ConfigurationCommands.h"
#include "settings/WindowPlacement.h"
#include "settings/WindowSlots.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "settings/CfgSettingsFile.h"
#include "settings/TextField.h"

namespace {

// Records what the frame is asked to do, in order, and stores window slots
// from a list of windows it pretends are open.
class FakeHost : public ConfigurationHost {
public:
    explicit FakeHost(FrameSettings& settings) : m_Settings(settings) {}

    void StopRun() override { calls.push_back("stop"); }
    void StoreWindowSlot(int id) override
    {
        calls.push_back("store " + std::to_string(id));
        WindowPlacement placement;
        placement.showCmd = 1;
        placement.normal = {id, id, 100 + id, 100 + id};
        const bool open = std::find(openWindows.begin(), openWindows.end(), id) != openWindows.end();
        m_Settings.Windows.Store(id, open ? &placement : nullptr);
    }
    void CloseWindowsForLoad() override { calls.push_back("close"); }
    void RebuildProcessing() override { calls.push_back("rebuild"); }
    void RestoreMainWindowPlacement() override { calls.push_back("restore main"); }
    void ReopenWindow(int id) override { calls.push_back("open " + std::to_string(id)); }
    void RefreshAfterLoad() override { calls.push_back("refresh"); }
    int FindDaqInputDevice() override { return 1; }

    std::vector<std::string> calls;
    std::vector<int> openWindows;

private:
    FrameSettings& m_Settings;
};

class ConfigurationCommandsTest : public testing::Test {
protected:
    TempFolder folder;
    FrameSettings settings;
    FakeHost host{settings};
    ConfigurationCommands commands{settings, host, folder.Root()};
    MessageLog log;
    const std::vector<std::string>& messages = log.texts;
};

TEST_F(ConfigurationCommandsTest, LoadingEndsInTheStateOfAStartWithThatFileAndLeavesAnUndoCopyInTheFolderInUse)
{
    const std::string path = folder.Path("bench.cfg");
    WriteText(path, "[Settings]\nChannelProcessing=3\nAverageSpeed=3\n"
                    "[ViewStatus]\nPeak Amp=1\nRecorder=1\nSignalGenerator=1\n");
    FrameSettings started;
    ASSERT_TRUE(LoadCfgSettings(path, started, [] { return 1; }));
    started.ApplyStartupFixups();

    host.openWindows = {kSlotPeakFrequency};
    ASSERT_TRUE(commands.LoadConfiguration(path));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"stop", "store 0", "store 6", "store 7", "store 8", "store 9",
                                                    "store 10", "close", "rebuild", "restore main", "open 6",
                                                    "open 8", "open 10", "refresh"}));
    ExpectSameSettings(settings, started);
    EXPECT_TRUE(messages.empty());

    // The undo copy holds the state before the load, with the slots stored.
    FrameSettings undone;
    ASSERT_TRUE(LoadCfgSettings(folder.Path("-Undo.cfg"), undone, {}));
    EXPECT_EQ(std::tuple(undone.Processing.AverageSpeed[0], undone.Windows.IsOpen(kSlotPeakFrequency),
                         undone.Windows.IsOpen(kSlotRecorder)),
              std::tuple(1, true, false));

    // The undo copy goes to the configuration folder in use.
    const std::string configs = folder.Path("configs");
    std::filesystem::create_directory(configs);
    WriteText(configs + "/quoted name.cfg", "[Settings]\nAverageSpeed=2\n");
    commands.RememberDialogFolder(configs + "/quoted name.cfg");
    EXPECT_EQ(commands.DialogFolder(), configs);
    ASSERT_TRUE(commands.LoadConfiguration("\"quoted name.cfg\""));
    EXPECT_EQ(settings.Processing.AverageSpeed[0], 2);
    EXPECT_EQ(commands.UndoPath(), configs + "/-Undo.cfg");

    // Loading the undo copy itself does not overwrite it first.
    const std::string undo = ReadText(commands.UndoPath());
    host.calls.clear();
    ASSERT_TRUE(commands.LoadConfiguration(commands.UndoPath()));
    EXPECT_EQ(ReadText(commands.UndoPath()), undo);
    EXPECT_EQ(settings.Processing.AverageSpeed[0], 3);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "store 0"), 0);
}

// Open Configuration judges a file as the start-up does: one that is empty,
// holds bytes no text holds, or none of the configuration's sections would
// give every key its default, so it is refused by name and nothing changes.
// A readable file that lacks keys still loads.
TEST_F(ConfigurationCommandsTest, AFileThatIsNoConfigurationIsRefusedByNameAndAReadableOneLoads)
{
    struct Case {
        const char* name;
        std::string text;
        bool loads;
    };
    FrameSettings good;
    good.Processing.AverageSpeed[0] = 3;
    const Case cases[] = {
        {"empty.cfg", "", false},
        {"junk.cfg", std::string("\x7f" "ELF\x02\x01\x01\0\0\0\xff\xfe[Settings]\n", 20), false},
        {"notes.cfg", "AverageSpeed=3\r\nComment=not a configuration\r\n", false},
        {"half.cfg", "[Settings]\r\nAverageSpeed=3\r\n", true},
        {"good.cfg", FormatCfgSettings(good), true},
    };
    for (const Case& c : cases) {
        FrameSettings before;
        before.Processing.AverageSpeed[0] = 2;
        before.Print.MarginTop = 0.3f;
        settings = before;
        host.calls.clear();
        std::filesystem::remove(folder.Path("-Undo.cfg"));
        const std::size_t shown = messages.size();
        const std::string path = folder.Path(c.name);
        WriteText(path, c.text);

        EXPECT_EQ(commands.LoadConfiguration(path), c.loads) << c.name;
        if (c.loads) {
            EXPECT_EQ(messages.size(), shown) << c.name;
            EXPECT_EQ(settings.Processing.AverageSpeed[0], 3) << c.name;
            continue;
        }
        ASSERT_EQ(messages.size(), shown + 1) << c.name;
        EXPECT_NE(messages.back().find("\"" + path + "\""), std::string::npos) << messages.back();
        EXPECT_TRUE(host.calls.empty()) << c.name;
        EXPECT_FALSE(std::filesystem::exists(folder.Path("-Undo.cfg"))) << c.name;
        ExpectSameSettings(settings, before);
    }
}

TEST_F(ConfigurationCommandsTest, AFileThatCannotBeReadOrAnUndoCopyThatCannotBeWrittenChangesNothingAndSavingWrites)
{
    settings.Print.MarginTop = 0.3f;
    EXPECT_FALSE(commands.LoadConfiguration(folder.Path("none.cfg")));
    EXPECT_TRUE(host.calls.empty()) << "a refused file leaves the run going";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("none.cfg"), std::string::npos);
    EXPECT_EQ(settings.Print.MarginTop, 0.3f);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("-Undo.cfg")));
    EXPECT_FALSE(commands.LoadConfiguration(""));

    // An undo copy that cannot be written is reported; loading goes on only when told to.
    const std::string path = folder.Path("a.cfg");
    WriteText(path, "[Settings]\nAverageSpeed=3\n");
    settings.m_DataPaths.Set(DataPaths::kConfiguration, folder.Path("missing-folder"));
    const std::size_t shown = messages.size();
    log.answer = platform::MessageResult::No;
    EXPECT_FALSE(commands.LoadConfiguration(path));
    ASSERT_EQ(messages.size(), shown + 1);
    EXPECT_NE(messages.back().find(folder.Path("missing-folder") + "/-Undo.cfg"), std::string::npos) << messages.back();
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "close"), 0);
    EXPECT_EQ(settings.Processing.AverageSpeed[0], 1);
    log.answer = platform::MessageResult::Yes;
    EXPECT_TRUE(commands.LoadConfiguration(path));
    EXPECT_EQ(settings.Processing.AverageSpeed[0], 3);

    host.calls.clear();
    host.openWindows = {kSlotRecorder};
    ASSERT_TRUE(commands.SaveConfiguration(folder.Path("saved.cfg")));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"store 0", "store 6", "store 7", "store 8", "store 9",
                                                    "store 10"}));
    const std::string text = ReadText(folder.Path("saved.cfg"));
    EXPECT_NE(text.find("Recorder=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("Recorder=0, 1, {0,0}, {0,0}, {10,10,110,110}\r\n"), std::string::npos);

    EXPECT_FALSE(commands.SaveConfiguration(folder.Path("no/such/dir.cfg")));
    EXPECT_NE(messages.back().find("no/such/dir.cfg"), std::string::npos);
}

constexpr DesktopSize kDesktop{1920, 1080};

// The stored text reads back as written; a window off the desktop is brought onto it.
TEST(WindowPlacementTest, ParsingKeepsTheWindowOnTheDesktopAndTheSlotsFollowTheWindows)
{
    EXPECT_EQ(WindowPlacement::FrameDefault(kDesktop).Format(), "0, 1, {-1,-1}, {-1,-1}, {0,0,1920,1052}");
    EXPECT_EQ(WindowPlacement::Parse("2, 1, {3,4}, {5,6}, {7,8,900,700}", kDesktop, false).value().Format(),
              "2, 1, {3,4}, {5,6}, {7,8,900,700}");
    auto p = WindowPlacement::Parse("0, 1, {-1,-1}, {-8,-8}, {-20,-30,500,400}", kDesktop, false);
    EXPECT_EQ(p.value().Format(), "0, 1, {0,0}, {0,0}, {0,0,500,400}");

    p = WindowPlacement::Parse("0, 1, {0,0}, {0,0}, {2500,1300,2900,1500}", {1280, 800}, false);
    EXPECT_EQ(p.value().normal, (PlacementRect{640, 400, 2900, 1500}));

    // Stored minimized: shown normally, unless the main window is minimized now.
    EXPECT_EQ(WindowPlacement::Parse("0, 2, {0,0}, {0,0}, {1,2,3,4}", kDesktop, false)->showCmd, 1);
    EXPECT_EQ(WindowPlacement::Parse("0, 2, {0,0}, {0,0}, {1,2,3,4}", kDesktop, true)->showCmd, 6);
    EXPECT_EQ(WindowPlacement::Parse("0, 3, {0,0}, {0,0}, {1,2,3,4}", kDesktop, false)->showCmd, 3);

    // Whatever numbers a text yields are used; the rest are 0.
    p = WindowPlacement::Parse("0, 1, {5,6}, junk", kDesktop, false);
    EXPECT_EQ(p.value().Format(), "0, 1, {5,6}, {0,0}, {0,0,0,0}");
    EXPECT_FALSE(WindowPlacement::Parse("0,", kDesktop, false));
    EXPECT_FALSE(WindowPlacement::Parse("", kDesktop, false));

    // The slots store and read placements as the windows open and close.
    WindowSlots slots;
    const PlacementRect fallback{5, 5, 405, 305};
    bool maximized = true;
    EXPECT_EQ(slots.GetSavedWindowRect(kSlotRecorder, fallback, kDesktop, &maximized), fallback);
    EXPECT_FALSE(maximized);
    WindowPlacement where;
    where.showCmd = 1;
    where.normal = {10, 20, 310, 220};
    slots.Store(kSlotRecorder, &where);
    EXPECT_TRUE(slots.IsOpen(kSlotRecorder));
    EXPECT_TRUE(slots.PlacementToRestore(kSlotRecorder, kDesktop, false));

    // Closed since: marked closed, placement kept for the next opening.
    slots.Store(kSlotRecorder, nullptr);
    EXPECT_FALSE(slots.IsOpen(kSlotRecorder));
    EXPECT_STREQ(slots.Find(kSlotRecorder)->Placement, "0, 1, {0,0}, {0,0}, {10,20,310,220}");
    EXPECT_FALSE(slots.PlacementToRestore(kSlotRecorder, kDesktop, false));
    EXPECT_EQ(slots.GetSavedWindowRect(kSlotRecorder, fallback, kDesktop), (PlacementRect{10, 20, 310, 220}));

    slots.Store(kSlotMainWindow, nullptr);
    EXPECT_TRUE(slots.IsOpen(kSlotMainWindow));

    // A plot window (id 2) has no slot, nor has any other id: storing does
    // nothing, it reads as closed, restores nothing and opens at the default.
    const WindowSlots before = slots;
    for (int id : {2, 1, 3, 5, 11}) {
        slots.Store(id, &where);
        EXPECT_EQ(slots, before) << id;
        EXPECT_FALSE(slots.IsOpen(id)) << id;
        EXPECT_FALSE(slots.PlacementToRestore(id, kDesktop, false)) << id;
        EXPECT_FALSE(slots.HasPlacement(id)) << id;
        maximized = true;
        EXPECT_EQ(slots.GetSavedWindowRect(id, fallback, kDesktop, &maximized), fallback) << id;
        EXPECT_FALSE(maximized) << id;
    }

    SetTextField(slots.Find(kSlotTotalPower)->Placement, "0, 3, {-1,-1}, {-8,-8}, {3000,-40,3400,300}");
    EXPECT_EQ(slots.GetSavedWindowRect(kSlotTotalPower, fallback, kDesktop, &maximized),
              (PlacementRect{960, 0, 3400, 300}));
    EXPECT_TRUE(maximized);
    slots.Find(kSlotTotalPower)->Open = 1;
    SetTextField(slots.Find(kSlotTotalPower)->Placement, "ab");
    EXPECT_EQ(slots.GetSavedWindowRect(kSlotTotalPower, fallback, kDesktop), fallback);
    EXPECT_FALSE(slots.PlacementToRestore(kSlotTotalPower, kDesktop, false));
}

} // namespace
