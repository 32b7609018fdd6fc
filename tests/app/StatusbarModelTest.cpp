#include "app/FormatMenuModel.h"
#include "app/LevelBar.h"
#include "app/LevelMeters.h"
#include "app/ProgressFilter.h"
#include "app/StatusbarLayout.h"
#include "app/StatusbarText.h"
#include "tests/app/FakeFrame.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusbarText, EveryRowOfTheTable)
{
    FakeFrame frame;
    EXPECT_EQ(StatusbarText::Build(frame), "Stopped");
    frame.playback = true;
    EXPECT_EQ(StatusbarText::Build(frame), "Playing...");

    frame.running = true;
    frame.frameCounter = 3;
    EXPECT_EQ(StatusbarText::Build(frame), "Playing...");
    frame.playback = false;
    EXPECT_EQ(StatusbarText::Build(frame), "Running...");
    frame.logWriting = true;
    EXPECT_EQ(StatusbarText::Build(frame), "Logging...");
    frame.logWriting = false;

    frame.frameCounter = 0;
    frame.fftSize = 65536;
    frame.samplesAvailable = 16384;
    EXPECT_EQ(StatusbarText::Build(frame), "Acquiring Data (25%)");
    frame.samplesAvailable = 65535;
    EXPECT_EQ(StatusbarText::Build(frame), "Acquiring Data (99%)");
    frame.samplesAvailable = 0;
    EXPECT_EQ(StatusbarText::Build(frame), "Acquiring Data (0%)");
    // A ring holding more than a block, even past 32-bit percent arithmetic.
    frame.samplesAvailable = 200000;
    EXPECT_EQ(StatusbarText::Build(frame), "Acquiring Data (100%)");
    frame.samplesAvailable = 4000000000u;
    EXPECT_EQ(StatusbarText::Build(frame), "Acquiring Data (100%)");
}

TEST(StatusbarText, RunningWithoutAnInputPortReadsStopped)
{
    FakeFrame frame;
    frame.running = true;
    frame.frameCounter = 0;
    frame.inputPort = false;
    EXPECT_EQ(StatusbarText::Build(frame), "Stopped");
    // Once blocks have been processed the port is not read at all.
    frame.frameCounter = 1;
    EXPECT_EQ(StatusbarText::Build(frame), "Running...");
}

TEST(LevelMeters, OverloadsAreCountedFrom99AndAStoppedAnalyzerReadsZero)
{
    FakeFrame frame;
    LevelMeters meters;
    frame.running = true;
    frame.peaks = {98, 99};
    meters.Update(frame);
    EXPECT_EQ(meters.Level(0), 98);
    EXPECT_EQ(meters.Level(1), 99);
    EXPECT_EQ(frame.overloads, (std::array<int, 2>{0, 1}));
    EXPECT_TRUE(meters.Changed());

    frame.peaks = {100, 99};
    meters.Update(frame);
    EXPECT_EQ(frame.overloads, (std::array<int, 2>{1, 2}));
    EXPECT_EQ(meters.PreviousLevel(0), 98);

    meters.Update(frame);
    EXPECT_FALSE(meters.Changed());

    // A channel without a sample buffer reads 0.
    frame.peaks = {std::nullopt, 40};
    meters.Update(frame);
    EXPECT_EQ(meters.Level(0), 0);
    EXPECT_EQ(meters.Level(1), 40);

    frame.running = false;
    frame.peaks = {100, 100};
    meters.Update(frame);
    EXPECT_EQ(meters.Level(0), 0);
    EXPECT_EQ(meters.Level(1), 0);
    EXPECT_EQ(frame.overloads, (std::array<int, 2>{2, 3}));
}

TEST(LevelBar, GradientBelowOverloadWithGreyTicksAndARedZone)
{
    const int w = 200;
    EXPECT_FALSE(LevelBar::IsOverload(98));
    EXPECT_TRUE(LevelBar::IsOverload(99));
    EXPECT_EQ(LevelBar::Length(w, 98), 196);
    EXPECT_EQ(LevelBar::Length(w, 100), 199);
    EXPECT_EQ(LevelBar::Length(w, 0), 0);
    EXPECT_EQ(LevelBar::BarHeight(17), 5);

    const std::vector<QRgb> row = LevelBar::Row(w, 98);
    ASSERT_EQ(row.size(), 196u);
    EXPECT_EQ(row[1], qRgb(1, 255, 0));
    EXPECT_EQ(row[4], qRgb(128, 128, 128));
    EXPECT_EQ(row[100], qRgb(128, 128, 128));
    // g = 255·101/200 = 128: green falls by a third of g.
    EXPECT_EQ(row[101], qRgb(128, 213, 0));
    EXPECT_EQ(row[195], qRgb(248, 173, 0));
    // The last 2 % of the scale is red, ticks excepted.
    EXPECT_EQ(LevelBar::PixelColour(197, w), qRgb(255, 0, 0));
    EXPECT_EQ(LevelBar::PixelColour(196, w), qRgb(128, 128, 128));
    EXPECT_EQ(LevelBar::PixelColour(195, w), qRgb(248, 173, 0));
}

TEST(ProgressFilter, OnlyNewPositionsBelow100)
{
    ProgressFilter filter;
    EXPECT_FALSE(filter.Accept(100));
    EXPECT_FALSE(filter.Accept(250));
    EXPECT_FALSE(filter.Accept(-1));
    EXPECT_TRUE(filter.Accept(0));
    EXPECT_TRUE(filter.Accept(5));
    EXPECT_FALSE(filter.Accept(5));
    EXPECT_TRUE(filter.Accept(99));
    filter.Reset(0);
    EXPECT_FALSE(filter.Accept(0));
    EXPECT_TRUE(filter.Accept(1));
}

TEST(StatusbarLayout, TextAtTheLeftAndOnePaneAcrossTheRest)
{
    const StatusbarLayout layout = StatusbarLayout::Compute(1000);
    EXPECT_EQ(layout.textRect, QRect(3, 3, 117, 17));
    EXPECT_EQ(layout.paneRect, QRect(123, 3, 874, 17));
    EXPECT_EQ(layout.formatArea, layout.textRect);

    // A wider status face widens the text and moves the pane along.
    const StatusbarLayout wide = StatusbarLayout::Compute(1000, 150);
    EXPECT_EQ(wide.textRect, QRect(3, 3, 150, 17));
    EXPECT_EQ(wide.paneRect, QRect(156, 3, 841, 17));
    EXPECT_EQ(StatusbarLayout::Compute(1000, 50).textRect, layout.textRect);
}

std::vector<std::string> Texts(const std::vector<FormatMenuItem>& items)
{
    std::vector<std::string> texts;
    for (const FormatMenuItem& item : items)
        texts.push_back(item.text + (item.checked ? " *" : ""));
    return texts;
}

TEST(FormatMenuModel, TwentyRatesOfferedAsThePortAcceptsThemWithTheCurrentChecked)
{
    FakeFrame frame;
    frame.format = TWaveFormat(48000, 2, 3);
    std::vector<FormatMenuItem> rates = FormatMenuModel::RateItems(frame);
    ASSERT_EQ(rates.size(), 20u);
    EXPECT_EQ(rates.front().text, "4000 Hz");
    EXPECT_EQ(rates.front().command, 200u);
    EXPECT_EQ(rates[1].text, "5512 Hz");
    EXPECT_EQ(rates.back().text, "200000 Hz");
    EXPECT_EQ(rates.back().command, 219u);
    int checked = 0;
    for (const FormatMenuItem& item : rates)
        checked += item.checked;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(rates[11].checked);
    EXPECT_EQ(rates[11].text, "48000 Hz");

    // Each item is checked with the other two parts of the format kept.
    frame.accepts = [](std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels) {
        return rate <= 96000 && channels == 2 && bytes != 2;
    };
    rates = FormatMenuModel::RateItems(frame);
    EXPECT_EQ(rates.size(), 16u);
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

TEST(FormatMenuModel, ChangeWhileStoppedReinitialisesWithoutStarting)
{
    FakeFrame frame;
    frame.format = TWaveFormat(48000, 2, 3);
    FormatMenuModel::Execute(210, frame);
    EXPECT_EQ(frame.format.GetSampleRate(), 44100u);
    EXPECT_EQ(frame.format.GetChannels(), 2);
    EXPECT_EQ(frame.format.GetBytesPerSample(), 3);
    EXPECT_EQ(frame.format.GetBitsPerSample(), 24);
    const std::vector<std::string> expected{"command 57766", "format", "command 57914"};
    EXPECT_EQ(frame.events, expected);
    EXPECT_FALSE(frame.running);
}

TEST(FormatMenuModel, ChangeWhileRunningStopsAndStartsAgain)
{
    FakeFrame frame;
    frame.running = true;
    FormatMenuModel::Execute(FormatMenuModel::kCommand24Bit, frame);
    EXPECT_EQ(frame.format.GetBytesPerSample(), 3);
    EXPECT_EQ(frame.format.GetSampleRate(), 48000u);
    const std::vector<std::string> expected{"command 57766", "format", "command 57914", "command 57765"};
    EXPECT_EQ(frame.events, expected);
    EXPECT_TRUE(frame.running);
}

TEST(FormatMenuModel, StereoFromMonoProcessesBothChannels)
{
    FakeFrame frame;
    frame.format = TWaveFormat(48000, 1, 2);
    FormatMenuModel::Execute(FormatMenuModel::kCommandStereo, frame);
    EXPECT_EQ(frame.format.GetChannels(), 2);
    EXPECT_EQ(frame.channelMode, 2);

    // Already stereo, or back to mono: the channel mode is left alone.
    frame.channelMode = 5;
    FormatMenuModel::Execute(FormatMenuModel::kCommandStereo, frame);
    EXPECT_EQ(frame.channelMode, 5);
    FormatMenuModel::Execute(FormatMenuModel::kCommandMono, frame);
    EXPECT_EQ(frame.format.GetChannels(), 1);
    EXPECT_EQ(frame.channelMode, 5);
}

TEST(FormatMenuModel, CommandsThatNameNoFormatDoNothing)
{
    FakeFrame frame;
    frame.running = true;
    for (std::uint32_t command : {101u, 199u, 220u, 300u, 403u, 449u})
        FormatMenuModel::Execute(command, frame);
    EXPECT_TRUE(frame.events.empty());
}

} // namespace
