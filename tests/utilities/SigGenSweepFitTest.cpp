// Where the log sweep's slope is fitted and where the first guess stands.

#include "utilities/siggen/TSigGenerator.h"

#include <gtest/gtest.h>

#include <cstdint>

// 1 kHz to 10 kHz at 48 kHz (given a decade low): the first guess is
// 0.5·log10(10)/L a frame. From 1000 frames on, the slope is stretched until
// the last periods run at the stop: with x = k·L, the rate 100·10^x·(1 + x·ln 10)
// reaches 1000 near x = 0.615, so k lands a little above 0.615/L. Shorter
// sweeps keep the first guess, as does a sweep that does not move.
TEST(SigGenSweepFit, SweepsFromAThousandFramesAreFittedShorterOnesKeepTheFirstGuess)
{
    const struct {
        std::int64_t frames;
        double lowest;
        double highest;
    } cases[] = {
        {2, 0.25, 0.25},
        {998, 0.5 / 998, 0.5 / 998},
        {999, 0.5 / 999, 0.5 / 999},
        {1000, 0.6 / 1000, 0.7 / 1000},
        {1001, 0.6 / 1001, 0.7 / 1001},
        {4000, 0.6 / 4000, 0.7 / 4000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames);
        const double k = TSigGenerator::FitLogSweepSlope(100.0, 1000.0, c.frames, 48000);
        EXPECT_GE(k, c.lowest);
        EXPECT_LE(k, c.highest);
    }
    EXPECT_EQ(TSigGenerator::FitLogSweepSlope(100.0, 100.0, 4000, 48000), 0.0) << "a sweep that stands still";
}
