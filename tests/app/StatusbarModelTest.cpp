#include "app/FormatMenuModel.h"
#include "app/LevelBar.h"
#include "app/LevelMeters.h"
#include "app/StatusbarText.h"
#include "tests/app/FakeFrame.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(StatusbarText, EveryRowOfTheTable)
{
    struct Row {
        const char* what;
        std::function<void(FakeFrame&)> arrange;
        const char* text;
    };
    const Row rows[] = {
        {"stopped", [](FakeFrame&) {}, "Stopped"},
        {"playing", [](FakeFrame& f) { f.playback = true; }, "Playing..."},
        {"playing while running", [](FakeFrame& f) { f.playback = f.running = true; f.frameCounter = 3; }, "Playing..."},
        {"running", [](FakeFrame& f) { f.running = true; f.frameCounter = 3; }, "Running..."},
        {"logging", [](FakeFrame& f) { f.running = f.logWriting = true; f.frameCounter = 3; }, "Logging..."},
        {"a quarter", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 16384; }, "Acquiring Data (25%)"},
        {"almost", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 65535; }, "Acquiring Data (99%)"},
        {"nothing yet", [](FakeFrame& f) { f.running = true; }, "Acquiring Data (0%)"},
        // A ring holding more than a block, even past 32-bit percent arithmetic.
        {"more", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 200000; }, "Acquiring Data (100%)"},
        {"far more", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 4000000000u; }, "Acquiring Data (100%)"},
        {"no port", [](FakeFrame& f) { f.running = true; f.inputPort = false; }, "Stopped"},
        // Once blocks have been processed the port is not read at all.
        {"no port, blocks done", [](FakeFrame& f) { f.running = true; f.inputPort = false; f.frameCounter = 1; },
         "Running..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeFrame frame;
        row.arrange(frame);
        EXPECT_EQ(StatusbarText::Build(frame), row.text);
    }
}

TEST(LevelBar, TheLastTwoPercentOfTheScaleIsRedTicksExcepted)
{
    EXPECT_EQ(LevelBar::PixelColour(197, 200), qRgb(255, 0, 0));
    EXPECT_EQ(LevelBar::PixelColour(196, 200), qRgb(128, 128, 128));
    EXPECT_EQ(LevelBar::PixelColour(195, 200), qRgb(248, 173, 0));
}

std::vector<std::string> Texts(const std::vector<FormatMenuItem>& items)
{
    std::vector<std::string> texts;
    for (const FormatMenuItem& item : items)
        texts.push_back(item.text + (item.checked ? " *" : ""));
    return texts;
}

TEST(FormatMenuModel, ItemsAreOfferedAsThePortAcceptsThemWithTheCurrentChecked)
{
    FakeFrame frame;
    frame.format = TWaveFormat(48000, 2, 3);
    ASSERT_EQ(FormatMenuModel::RateItems(frame).size(), 20u);
    EXPECT_EQ(FormatMenuModel::RateItems(frame).back().command, 219u);

    // Each item is checked with the other two parts of the format kept.
    frame.accepts = [](std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels) {
        return rate <= 96000 && channels == 2 && bytes != 2;
    };
    EXPECT_EQ(FormatMenuModel::RateItems(frame).size(), 16u);
    EXPECT_EQ(Texts(FormatMenuModel::WidthItems(frame)), std::vector<std::string>{"24 Bit *"});
    EXPECT_EQ(Texts(FormatMenuModel::ChannelItems(frame)), std::vector<std::string>{"Stereo *"});

    frame.accepts = [](auto, auto, auto) { return true; };
    frame.format = TWaveFormat(44100, 1, 2);
    EXPECT_EQ(Texts(FormatMenuModel::WidthItems(frame)), (std::vector<std::string>{"16 Bit *", "24 Bit"}));
    EXPECT_EQ(Texts(FormatMenuModel::ChannelItems(frame)), (std::vector<std::string>{"Mono *", "Stereo"}));

    frame.inputPort = false;
    EXPECT_TRUE(FormatMenuModel::RateItems(frame).empty());
    EXPECT_TRUE(FormatMenuModel::WidthItems(frame).empty());
    EXPECT_TRUE(FormatMenuModel::ChannelItems(frame).empty());
}

TEST(FormatMenuModel, AChangeReinitialisesAndARunningAnalyzerStartsAgain)
{
    struct Row {
        std::uint32_t command;
        bool running;
        TWaveFormat want;
        std::vector<std::string> events;
    };
    const std::vector<std::string> stopped{"command 57766", "format", "command 57914"};
    std::vector<std::string> restarted = stopped;
    restarted.push_back("command 57765");
    const Row rows[] = {
        {210, false, TWaveFormat(44100, 2, 3), stopped},
        {FormatMenuModel::kCommand24Bit, true, TWaveFormat(48000, 2, 3), restarted},
        // Commands that name no format do nothing.
        {101, true, TWaveFormat(48000, 2, 2), {}},
        {199, true, TWaveFormat(48000, 2, 2), {}},
        {220, true, TWaveFormat(48000, 2, 2), {}},
        {449, true, TWaveFormat(48000, 2, 2), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        FakeFrame frame;
        frame.format = TWaveFormat(48000, 2, row.command == 210 ? 3 : 2);
        frame.running = row.running;
        FormatMenuModel::Execute(row.command, frame);
        EXPECT_EQ(frame.format, row.want);
        EXPECT_EQ(frame.events, row.events);
        EXPECT_EQ(frame.running, row.running);
    }
}

} // namespace
