// Frequency-axis ticks: round steps, label formats, the linear redo of a
// narrow log zoom, and thinning on the screen and on paper.
#include "plot/FrequencyTicks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A column table whose bins are whole hertz; its columns are what matters.
ColumnBinTable Columns(float start, float stop, int width, std::uint16_t scale)
{
    ColumnBinTable table;
    table.Build(start, stop, width, scale, [](float f) { return static_cast<std::uint32_t>(f); });
    return table;
}

std::vector<std::string> KeptLabels(const PlotTicks& ticks)
{
    std::vector<std::string> labels;
    for (const PlotTick& tick : ticks)
        if (!tick.Label.empty())
            labels.push_back(tick.Label);
    return labels;
}

TEST(FrequencyTicksTest, LabelsInHertzOrKilohertzByTheSpan)
{
    // The usual spans' labels show in the tick lists below.
    EXPECT_EQ(FrequencyTickLabel(12500.0f, 20000.0f), "12.5k");
    EXPECT_EQ(FrequencyTickLabel(1002.0f, 50.0f), "1.00k");
    EXPECT_EQ(FrequencyTickLabel(1000.5f, 5.0f), "1.000k");
    EXPECT_EQ(FrequencyTickLabel(7.5f, 5.0f), "7.500");
}

TEST(FrequencyTicksTest, LinearSpansGetRoundSteps)
{
    // 100 Hz per column from 0 to 24 kHz; a tick on a column's frequency
    // belongs to the column before it, the first column with f between it
    // and its right neighbour.
    const ColumnBinTable columns = Columns(0.0f, 24000.0f, 241, 0);
    const PlotTicks ticks = BuildFrequencyTicks(0.0f, 24000.0f, true, 241, 30, columns);
    const PlotTicks expected = {{0, "0.0"}, {49, "5.0k"}, {99, "10.0k"}, {149, "15.0k"}, {199, "20.0k"}};
    EXPECT_EQ(ticks, expected);

    // 1 … 95 kHz: a tick every 10 kHz, 10.0k to 90.0k.
    const ColumnBinTable wide = Columns(1000.0f, 95000.0f, 941, 0);
    const PlotTicks wideTicks = BuildFrequencyTicks(1000.0f, 95000.0f, true, 941, 30, wide);
    EXPECT_EQ(KeptLabels(wideTicks), (std::vector<std::string>{"10.0k", "20.0k", "30.0k", "40.0k", "50.0k", "60.0k",
                                                               "70.0k", "80.0k", "90.0k"}));
    EXPECT_EQ(wideTicks.front().Pos, 89);
}

TEST(FrequencyTicksTest, LogSpanTicksEveryMantissaAndKeepsOneTwoFiveLabels)
{
    // 20 Hz … 20 kHz over 301 columns: a hundredth of a decade per column.
    const ColumnBinTable columns = Columns(20.0f, 20000.0f, 301, 1);
    const PlotTicks ticks = BuildFrequencyTicks(20.0f, 20000.0f, false, 301, 30, columns);
    // 20 … 90, 100 … 900, 1k … 9k, 10k and 20k.
    ASSERT_EQ(ticks.size(), 28u);
    EXPECT_EQ(ticks.front().Pos, 0);
    EXPECT_EQ(ticks.back().Pos, 299);
    // x = 100·log10(f / 20), less one on an exact column frequency.
    EXPECT_EQ(ticks[1].Pos, 17);   // 30 Hz
    EXPECT_EQ(ticks[8].Pos, 69);   // 100 Hz
    EXPECT_EQ(ticks[17].Pos, 169); // 1 kHz
    EXPECT_EQ(KeptLabels(ticks), (std::vector<std::string>{"20", "50", "100", "200", "500", "1.0k", "2.0k", "5.0k",
                                                           "10.0k", "20.0k"}));
}

TEST(FrequencyTicksTest, NarrowLogZoomIsRedoneWithLinearSteps)
{
    // 10 … 20 Hz has only the decade ticks 10 and 20: too few.
    const ColumnBinTable columns = Columns(10.0f, 20.0f, 101, 1);
    const PlotTicks ticks = BuildFrequencyTicks(10.0f, 20.0f, false, 101, 1, columns);
    EXPECT_EQ(KeptLabels(ticks),
              (std::vector<std::string>{"10.00", "12.00", "14.00", "16.00", "18.00", "20.00"}));

    // Octave axes zoomed the same way.
    const ColumnBinTable octave = Columns(100.0f, 180.0f, 101, 2);
    const PlotTicks octaveTicks = BuildFrequencyTicks(100.0f, 180.0f, false, 101, 1, octave);
    EXPECT_EQ(KeptLabels(octaveTicks),
              (std::vector<std::string>{"100.00", "120.00", "140.00", "160.00", "180.00"}));
}

TEST(FrequencyTicksTest, ThinningKeepsTicksAndSpacesLabelsOnScreenAndPaper)
{
    // The rightmost label stays; a label closer than the gap to the last
    // kept one on its right loses its text, not its tick.
    PlotTicks ticks = {{0, "a"}, {20, "b"}, {35, "c"}, {75, "d"}, {100, "e"}};
    ThinFrequencyLabels(ticks, 30);
    EXPECT_EQ(KeptLabels(ticks), (std::vector<std::string>{"a", "c", "e"}));
    EXPECT_EQ(ticks.size(), 5u);

    // Known widths widen the gap so that labels never touch.
    PlotTicks wide = {{0, "10.0k"}, {40, "20.0k"}, {80, "30.0k"}};
    ThinFrequencyLabels(wide, 30, [](const std::string&) { return 38; });
    EXPECT_EQ(KeptLabels(wide), (std::vector<std::string>{"10.0k", "30.0k"}));

    // A printed page of 3001 columns (a decade per thousand) keeps labels
    // 300 pixels apart, where the screen's 30 would keep nearly all.
    const ColumnBinTable page = Columns(20.0f, 20000.0f, 3001, 1);
    const PlotTicks paper = BuildFrequencyTicks(20.0f, 20000.0f, false, 3001, 300, page);
    const PlotTicks screen = BuildFrequencyTicks(20.0f, 20000.0f, false, 3001, 30, page);
    EXPECT_EQ(KeptLabels(paper), (std::vector<std::string>{"20", "50", "100", "200", "500", "1.0k", "2.0k", "5.0k",
                                                           "10.0k", "20.0k"}));
    // On the screen's gap every label of the page's width stays (the
    // closest pair, 9 and 10 of a decade, stands 45 columns apart).
    EXPECT_EQ(KeptLabels(screen).size(), 28u);
    int previous = -1000;
    for (const PlotTick& tick : paper)
        if (!tick.Label.empty()) {
            EXPECT_GE(tick.Pos - previous, 300) << tick.Label;
            previous = tick.Pos;
        }
}

} // namespace
