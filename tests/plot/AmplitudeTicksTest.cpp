// Amplitude-axis ticks for linear, dB and log scales and the coherence scale.
#include "plot/AmplitudeTicks.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Labels = std::vector<std::string>;

Labels LabelsOf(const PlotTicks& ticks)
{
    Labels labels;
    for (const PlotTick& tick : ticks)
        labels.push_back(tick.Label);
    return labels;
}

TEST(AmplitudeTicksTest, LinearAndDbAxesTickTenStepsEvenlyAndAHugeOrNonFiniteAxisOnlyAFew)
{
    struct Case {
        float top, range;
        bool dB;
        int height;
        Labels labels;
    } cases[] = {
        {100.0f, 100.0f, false, 400,
         {"100.0", "90.00", "80.00", "70.00", "60.00", "50.00", "40.00", "30.00", "20.00", "10.00", "0.0"}},
        // Ticks 10 px apart: every other label is cleared, the ticks stay.
        {0.0f, 100.0f, true, 100, {"0.0", "", "-20.00", "", "-40.00", "", "-60.00", "", "-80.00", "", "-100.0"}},
        // +10 dB down 20 dB: every 2 dB.
        {10.0f, 20.0f, true, 200,
         {"10.00", "8.00", "6.00", "4.00", "2.00", "0.0", "-2.00", "-4.00", "-6.00", "-8.00", "-10.00"}},
        // -20 dB down 5 dB: every half dB, every other label at 10 px apart.
        {-20.0f, 5.0f, true, 100, {"-20.00", "", "-21.00", "", "-22.00", "", "-23.00", "", "-24.00", "", "-25.00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.top << " " << c.range << " " << c.height);
        const PlotTicks ticks = BuildLinearDbTicks(c.top, c.range, c.dB, c.height, 12);
        EXPECT_EQ(LabelsOf(ticks), c.labels);
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i].Pos, static_cast<int>(i) * c.height / 10) << i;
    }
    EXPECT_EQ(BuildLinearDbTicks(-20.0f, 5.0f, true, 200, 12)[1].Label, "-20.50");
    // A small top: ten steps of 0.001 without drifting past the bottom tick.
    const PlotTicks small = BuildLinearDbTicks(0.01f, 0.01f, false, 200, 12);
    ASSERT_EQ(small.size(), 11u);
    EXPECT_EQ(small.back().Pos, 200);
    EXPECT_EQ(small.back().Label, "0.0");
    EXPECT_TRUE(BuildLinearDbTicks(0.0f, 0.0f, false, 200, 12).empty());
    EXPECT_TRUE(BuildLinearDbTicks(0.0f, 0.0f, true, 100, 12).empty());

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
    // The decades, each 100 px up (within the truncation of a rounded log).
    for (int d = 1; d <= 5; ++d)
        EXPECT_NEAR(ticks[static_cast<std::size_t>(9 * d)].Pos, 600 - 100 * d, 1) << d;
    // 2e-6 at 600 − 100·log10(2).
    EXPECT_EQ(ticks[1].Pos, 569);
    // Thinned from the top down: 1, 0.7, 0.5, 0.3, 0.2, 0.1 in the top decade.
    const Labels all = LabelsOf(ticks);
    EXPECT_EQ(Labels(all.begin() + 45, all.end()), (Labels{"0.10", "0.20", "0.30", "", "0.50", "", "0.70", "", "", "1.00"}));

    // A bottom at or above the top falls back to 1e-6, a top of 0 to 10.
    EXPECT_EQ(BuildLogTicks(1.0f, 5.0f, 600, 12), ticks);
    EXPECT_EQ(BuildLogTicks(0.0f, 1e-6f, 700, 12).back().Label, "10.00");
}

TEST(AmplitudeTicksTest, CoherenceRunsFromZeroToOnePointTwo)
{
    const PlotTicks ticks = BuildCoherenceTicks(240);
    ASSERT_EQ(ticks.size(), 13u);
    EXPECT_EQ(ticks[2].Pos, 40);
    EXPECT_EQ(ticks[2].Label, "1.00");
    EXPECT_EQ(ticks.back().Label, "0.00");
    // 5 px apart: every other label stays.
    EXPECT_EQ(LabelsOf(BuildCoherenceTicks(60))[1], "");
    EXPECT_EQ(LabelsOf(BuildCoherenceTicks(60))[2], "1.00");
}

} // namespace
