// Amplitude-axis ticks for linear, dB and log scales and the coherence scale.
#include "plot/AmplitudeTicks.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

std::vector<int> Positions(const PlotTicks& ticks)
{
    std::vector<int> positions;
    for (const PlotTick& tick : ticks)
        positions.push_back(tick.Pos);
    return positions;
}

std::vector<std::string> Labels(const PlotTicks& ticks)
{
    std::vector<std::string> labels;
    for (const PlotTick& tick : ticks)
        labels.push_back(tick.Label);
    return labels;
}

TEST(AmplitudeTicksTest, LinearTopOf100TicksEveryTenDownToZero)
{
    const PlotTicks ticks = BuildLinearDbTicks(100.0f, 100.0f, false, 400, 12);
    EXPECT_EQ(Positions(ticks), (std::vector<int>{0, 40, 80, 120, 160, 200, 240, 280, 320, 360, 400}));
    EXPECT_EQ(Labels(ticks), (std::vector<std::string>{"100.0", "90.00", "80.00", "70.00", "60.00", "50.00", "40.00",
                                                        "30.00", "20.00", "10.00", "0.0"}));
    // A small top: ten steps of 0.001 without drifting past the bottom tick.
    const PlotTicks small = BuildLinearDbTicks(0.01f, 0.01f, false, 200, 12);
    ASSERT_EQ(small.size(), 11u);
    EXPECT_EQ(small.back().Pos, 200);
    EXPECT_EQ(small.back().Label, "0.0");
    EXPECT_TRUE(BuildLinearDbTicks(0.0f, 0.0f, false, 200, 12).empty());
}

TEST(AmplitudeTicksTest, DbTicksForTopAndRangePairs)
{
    // 0 dB down 100 dB: every 10 dB.
    const PlotTicks hundred = BuildLinearDbTicks(0.0f, 100.0f, true, 300, 12);
    EXPECT_EQ(Positions(hundred), (std::vector<int>{0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300}));
    EXPECT_EQ(hundred[0].Label, "0.0");
    EXPECT_EQ(hundred[5].Label, "-50.00");
    EXPECT_EQ(hundred[10].Label, "-100.0");

    // +10 dB down 20 dB: every 2 dB.
    const PlotTicks twenty = BuildLinearDbTicks(10.0f, 20.0f, true, 200, 12);
    ASSERT_EQ(twenty.size(), 11u);
    EXPECT_EQ(twenty[1].Label, "8.00");
    EXPECT_EQ(twenty[10].Label, "-10.00");
    EXPECT_EQ(twenty[10].Pos, 200);

    // -20 dB down 5 dB: every half dB, 10 px apart, so every other label.
    const PlotTicks five = BuildLinearDbTicks(-20.0f, 5.0f, true, 100, 12);
    ASSERT_EQ(five.size(), 11u);
    EXPECT_EQ(five[1].Pos, 10);
    EXPECT_EQ(five[1].Label, "");
    EXPECT_EQ(five[2].Label, "-21.00");
    EXPECT_EQ(BuildLinearDbTicks(-20.0f, 5.0f, true, 200, 12)[1].Label, "-20.50");

    // Ticks 10 px apart: every other label is cleared, the ticks stay.
    const PlotTicks dense = BuildLinearDbTicks(0.0f, 100.0f, true, 100, 12);
    EXPECT_EQ(Labels(dense), (std::vector<std::string>{"0.0", "", "-20.00", "", "-40.00", "", "-60.00", "",
                                                       "-80.00", "", "-100.0"}));
    EXPECT_TRUE(BuildLinearDbTicks(0.0f, 0.0f, true, 100, 12).empty());
}

TEST(AmplitudeTicksTest, AHugeOrNonFiniteAxisGivesAFewTicksNotMillions)
{
    // 1e9 dB: the step widens by decades until at most 1000 ticks fit;
    // 1e7-dB steps give 101 ticks, 0 to -1e9.
    const PlotTicks huge = BuildLinearDbTicks(0.0f, 1.0e9f, true, 400, 12);
    ASSERT_EQ(huge.size(), 101u);
    EXPECT_EQ(huge.back().Pos, 400);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(BuildLinearDbTicks(0.0f, inf, true, 400, 12).empty());
    EXPECT_TRUE(BuildLinearDbTicks(nan, 100.0f, true, 400, 12).empty());
    EXPECT_TRUE(BuildLinearDbTicks(inf, 100.0f, false, 400, 12).empty());
    // A log top of 1e38 would walk 1e34 steps of 1e4; an infinite one is taken as 10.
    EXPECT_LE(BuildLogTicks(1.0e38f, 1.0f, 400, 12).size(), 400u);
    EXPECT_EQ(BuildLogTicks(inf, 1e-6f, 700, 12).back().Label, "10.00");
}

TEST(AmplitudeTicksTest, LogTicksEveryMantissaOfEachDecade)
{
    // 1e-6 … 1 over 600 px: a decade per 100 px.
    const PlotTicks ticks = BuildLogTicks(1.0f, 1e-6f, 600, 12);
    ASSERT_EQ(ticks.size(), 55u);
    EXPECT_EQ(ticks.front().Pos, 600);
    EXPECT_EQ(ticks.front().Label, "1.0e-6");
    EXPECT_EQ(ticks.back().Pos, 0);
    EXPECT_EQ(ticks.back().Label, "1.00");
    // The decades, each 100 px up (within the truncation of a rounded log).
    for (int d = 1; d <= 5; ++d)
        EXPECT_NEAR(ticks[static_cast<std::size_t>(9 * d)].Pos, 600 - 100 * d, 1) << d;
    // 2e-6 at 600 − 100·log10(2).
    EXPECT_EQ(ticks[1].Pos, 569);
    // Thinned from the top down: 1, 0.7, 0.5, 0.3, 0.2, 0.1 in the top decade.
    std::vector<std::string> top;
    for (std::size_t i = 45; i < ticks.size(); ++i)
        if (!ticks[i].Label.empty())
            top.push_back(ticks[i].Label);
    EXPECT_EQ(top, (std::vector<std::string>{"0.10", "0.20", "0.30", "0.50", "0.70", "1.00"}));

    // A bottom at or above the top falls back to 1e-6, a top of 0 to 10.
    EXPECT_EQ(BuildLogTicks(1.0f, 5.0f, 600, 12), ticks);
    EXPECT_EQ(BuildLogTicks(0.0f, 1e-6f, 700, 12).back().Label, "10.00");
}

TEST(AmplitudeTicksTest, CoherenceRunsFromZeroToOnePointTwo)
{
    const PlotTicks ticks = BuildCoherenceTicks(240);
    ASSERT_EQ(ticks.size(), 13u);
    EXPECT_EQ(ticks.front().Pos, 0);
    EXPECT_EQ(ticks.front().Label, "1.20");
    EXPECT_EQ(ticks[2].Pos, 40);
    EXPECT_EQ(ticks[2].Label, "1.00");
    EXPECT_EQ(ticks.back().Pos, 240);
    EXPECT_EQ(ticks.back().Label, "0.00");
    // 5 px apart: every other label stays.
    const PlotTicks low = BuildCoherenceTicks(60);
    EXPECT_EQ(Labels(low)[1], "");
    EXPECT_EQ(Labels(low)[2], "1.00");
}

} // namespace
