#include "engine/RunningMeanKernel.h"
#include "platform/Clock.h"
#include "tests/engine/SpectralTestSupport.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>
#include <tuple>
#include <utility>

using spectral_test::MakeScaling;
using spectral_test::MakeSettings;
using Access = SpectralDataTestAccess;

namespace {

// Sets every line of the transformed block to (re, im) and averages it, as
// if ComputeSpectrum had produced that block.
void AverageLines(SpectralData& data, float re, float im = 0.0f)
{
    float* block = data.GetComplexBuffer();
    for (std::uint32_t i = 0; i < data.GetLines(); ++i) {
        block[2 * i] = re;
        block[2 * i + 1] = im;
    }
    data.Average(false);
}

TProcessingSettings FollowingInterval(std::uint16_t speed)
{
    TProcessingSettings settings = MakeSettings(48000, 1024);
    settings.AverageMode = {1, 1};
    settings.AverageSpeed = {speed, speed};
    return settings;
}

class FakeClock : public platform::Clock {
public:
    double steady = 0.0;
    std::chrono::system_clock::time_point now{};
    double SteadySeconds() const override { return steady; }
    std::chrono::system_clock::time_point Now() const override { return now; }
};

std::chrono::system_clock::time_point LocalTime(int hour, int minute, int second, int day)
{
    std::tm fields{second, minute, hour, day, 2, 2024 - 1900, 0, 0, -1, 0, nullptr}; // March, DST unknown
    return std::chrono::system_clock::from_time_t(std::mktime(&fields));
}

} // namespace

TEST(SpectralAveraging, LinearThenExponentialRunsThePlainMeanUpToNThenWeightsOneOverN)
{
    SpectralData data(MakeSettings(48000, 1024, 4, 0), MakeScaling(), 0, false);
    const float* power = data.GetPowerBuffer();
    // Block j has every line at amplitude j, power j²; the fifth is weighted 1/4.
    const float meanPower[] = {1.0f, 2.5f, 14.0f / 3.0f, 7.5f, 0.75f * 7.5f + 0.25f * 25.0f};
    const float meanRe[] = {1.0f, 1.5f, 2.0f, 2.5f, 0.75f * 2.5f + 0.25f * 5.0f};
    for (int j = 1; j <= 5; ++j) {
        AverageLines(data, float(j));
        EXPECT_FLOAT_EQ(power[5], meanPower[j - 1]) << "block " << j;
        EXPECT_FLOAT_EQ(Access::AvgComplex(data)[2 * 5], meanRe[j - 1]) << "block " << j;
    }
    EXPECT_EQ(data.GetBlocksAveraged(), 4);
    // The last line is never averaged.
    const std::uint32_t last = data.GetLines() - 1;
    EXPECT_EQ(std::pair(power[last], Access::AvgComplex(data)[2 * last]), std::pair(0.0f, 0.0f));

    // Vector averaging cancels lines of opposing phase; scalar averaging keeps their power.
    SpectralData scalar(MakeSettings(48000, 1024, 2, 0), MakeScaling(), 0, false);
    SpectralData vector(MakeSettings(48000, 1024, 2, 2), MakeScaling(), 0, false);
    for (SpectralData* d : {&scalar, &vector}) {
        AverageLines(*d, 3.0f, 4.0f);
        AverageLines(*d, -3.0f, -4.0f);
    }
    EXPECT_FLOAT_EQ(scalar.GetPowerBuffer()[7], 25.0f);
    EXPECT_FLOAT_EQ(vector.GetPowerBuffer()[7], 0.0f);

    // The peak line is the highest averaged line above the lower limit.
    SpectralData peaked(MakeSettings(48000, 1024), MakeScaling(), 0, false);
    float* block = peaked.GetComplexBuffer();
    std::fill(block, block + peaked.GetFFTSize(), 1.0f);
    block[2 * 2] = 50.0f;  // below the lower limit (line 3)
    block[2 * 3] = 40.0f;  // at it: not a candidate either
    block[2 * 10] = 30.0f;
    block[2 * 20] = 20.0f;
    peaked.Average(false);
    EXPECT_EQ(peaked.GetPeakLine(), 10u);
}

TEST(SpectralAveraging, IntervalAveragingCountsByBlockIntervalAndSpeedOrForever)
{
    // For dt = 0.05 s, r = 2 by speed; the same time twice counts as a millisecond, and time
    // running back changes nothing; without interval averaging the block count stands.
    const std::tuple<TProcessingSettings, std::vector<double>, float> cases[] = {
        {FollowingInterval(0), {10, 10.05}, 1}, {FollowingInterval(1), {10, 10.05}, 3.6f},
        {FollowingInterval(2), {10, 10.05}, 5.4194f}, {FollowingInterval(3), {10, 10.05}, 22.73f},
        {FollowingInterval(4), {10, 10.05}, 100000}, {FollowingInterval(7), {10, 10.05}, 1},
        {FollowingInterval(1), {20, 20}, 180}, {FollowingInterval(1), {20, 20, 19}, 180},
        {MakeSettings(48000, 1024, 8), {1, 1}, 8}};
    int row = 0;
    for (const auto& [settings, times, count] : cases) {
        SCOPED_TRACE(row++);
        SpectralData data(settings, MakeScaling(), 0, false);
        for (double t : times)
            data.SetBlockTime(t);
        EXPECT_NEAR(data.GetAverageCount(), count, 1e-3f * count);
    }
    // "Off" keeps a cross spectrum slightly averaged.
    SpectralData cross(FollowingInterval(0), MakeScaling(), 0, false);
    const std::vector<float> lines(1024, 1.0f);
    cross.CrossSpectrum(lines.data(), lines.data());
    cross.SetBlockTime(1.0);
    EXPECT_FLOAT_EQ(cross.GetAverageCount(), 1.1f);

    // "Forever" averages every block since the last clear.
    SpectralData data(FollowingInterval(4), MakeScaling(), 0, false);
    double sum = 0.0;
    for (int j = 1; j <= 20; ++j) {
        data.SetBlockTime(0.1 * j);
        AverageLines(data, float(j));
        sum += double(j) * j;
    }
    EXPECT_FLOAT_EQ(data.GetPowerBuffer()[9], float(sum / 20.0));
    data.ClearSpectrum();
    AverageLines(data, 2.0f);
    EXPECT_FLOAT_EQ(data.GetPowerBuffer()[9], 4.0f);
}

// Following the interval keeps vector averaging: blocks of opposite sign
// cancel, where averaging their powers would not.
TEST(SpectralAveraging, IntervalAveragingKeepsVectorAveraging)
{
    TProcessingSettings settings = FollowingInterval(4);
    settings.AverageType = {2, 2};
    SpectralData data(settings, MakeScaling(), 0, false);
    for (int j = 1; j <= 4; ++j) {
        data.SetBlockTime(0.1 * j);
        AverageLines(data, j % 2 == 0 ? -3.0f : 3.0f);
    }
    EXPECT_NEAR(data.GetPowerBuffer()[9], 0.0f, 1e-6f);
}

TEST(SpectralAveraging, MovingWindowsMeanTheLastNBlocksOfTheirRing)
{
    // The ring holds 999 blocks: a count of 999 gets them all, and a count
    // of exactly 1000, the longest moving window, averages 998.
    // Block j has every line at j / 1000: the mean power of the last n of them
    // (with fewer blocks than the window, of those there are).
    auto mean = [](int last, int n, int power = 2) {
        double sum = 0.0;
        for (int j = last - n + 1; j <= last; ++j)
            sum += std::pow(j / 1000.0, power);
        return sum / n;
    };
    const std::pair<std::uint32_t, int> windows[] = {{998u, 998}, {999u, 999}, {1000u, 998}};
    for (const auto& [count, window] : windows) {
        SpectralData data(MakeSettings(48000, 32, count, 1), MakeScaling(), 0, false);
        for (int j = 1; j <= 1010; ++j) {
            AverageLines(data, float(j) / 1000.0f);
            EXPECT_TRUE(j != 500 || std::fabs(data.GetPowerBuffer()[3] / mean(500, 500) - 1) < 1e-5) << count;
        }
        EXPECT_EQ(data.GetBlocksAveraged(), window) << count;
        EXPECT_NEAR(data.GetPowerBuffer()[3], mean(1010, window), 1e-5 * mean(1010, window)) << count;
        EXPECT_NEAR(Access::AvgComplex(data)[2 * 3], mean(1010, window, 1), 1e-5 * mean(1010, window, 1)) << count;
    }

    MessageLog log;
    // A ring that cannot be had fails the object.
    SpectralData data(MakeSettings(48000, 1024, 4, 1), MakeScaling(), 0, false);
    platform::FailNextAllocations(1);
    data.SetAveraging(0, 8);
    EXPECT_EQ(log.texts.size(), 1u);
    EXPECT_TRUE(data.HasFailed());
    AverageLines(data, 1.0f);
    EXPECT_EQ(data.GetPowerBuffer()[5], 0.0f);
}

// A held value waits 5 s, then falls 0.5 dB per call to the current one.
// Linear scaling holds the amplitude in percent of full scale (−20 dB is
// 10 %) and decays it by the same steps in those units.
TEST(SpectralHold, HeldValueWaitsThenDecaysToTheCurrentValueAcrossLocalMidnight)
{
    FakeClock clock;
    platform::SetClock(&clock);
    auto pass = [&](SpectralData& data, double steady, float dB) {
        clock.steady = steady;
        AverageLines(data, std::sqrt(std::pow(10.0f, dB / 10.0f)));
        data.UpdatePeakHold();
    };
    SpectralData data(MakeSettings(48000, 1024), MakeScaling(ScalingOpts::kLogarithmic), 0, false);
    SpectralData linear(MakeSettings(48000, 1024), MakeScaling(ScalingOpts::kLinear), 0, false);
    const THoldEntry *hold = Access::Hold(data), *held = Access::Hold(linear);
    data.SetPeakHoldMode(2);
    linear.SetPeakHoldMode(2);
    EXPECT_FLOAT_EQ(hold[8].Value, SpectralData::kNoValue);
    pass(data, 100.0, -20.0f);
    pass(linear, 100.0, -20.0f);
    EXPECT_NEAR(hold[8].Value, -20.0f, 1e-3f);
    const float heldTotal = data.GetHoldTotalPower();
    for (double t = 101.0; t <= 105.0; t += 1.0)
        pass(data, t, -40.0f);
    EXPECT_NEAR(hold[8].Value, -20.0f, 1e-3f) << "still within the hold time";
    EXPECT_EQ(data.GetHoldTotalPower(), heldTotal) << "the total power is held as long";
    pass(linear, 101.0, -40.0f);
    EXPECT_EQ(std::pair(held[8].Value, held[301].Value), std::pair(10.0f, 10.0f));
    pass(linear, 105.5, -40.0f);
    EXPECT_NEAR(held[8].Value, 9.5f, 1e-3f);
    EXPECT_NEAR(held[301].Value, 9.5f, 1e-3f);

    double t = 105.5;
    for (int call = 1; call <= 39; ++call, t += 0.1)
        pass(data, t, -40.0f);
    EXPECT_NEAR(hold[8].Value, -39.5f, 1e-3f);
    pass(data, t, -40.0f);
    pass(data, t + 0.1, -40.0f);
    EXPECT_NEAR(hold[8].Value, -40.0f, 1e-3f);
    data.ClearHold();
    EXPECT_FLOAT_EQ(hold[8].Value, SpectralData::kNoValue);

    clock.now = LocalTime(23, 59, 58, 9);
    pass(data, 5000.0, -20.0f);
    clock.now = LocalTime(0, 0, 4, 10);
    pass(data, 5006.0, -40.0f);
    EXPECT_NEAR(hold[8].Value, -20.5f, 1e-3f);
    platform::SetClock(nullptr);
}

// The vectorised running mean computes what the plain formula does, bit for
// bit: ((k−1)·average + new) / k in double, the line power a float first
// (and handed out as the latest power).
// Bands are held as lines are: 5 s, then 0.5 dB down per update.
TEST(SpectralHold, ABandsHeldLevelFallsAfterItsHoldTime)
{
    FakeClock clock;
    platform::SetClock(&clock);
    SpectralData bands(MakeSettings(48000, 4096), MakeScaling(ScalingOpts::kLogarithmic, ScalingOpts::kOctave), 0, false);
    bands.SetPeakHoldMode(2);
    const std::uint32_t band = bands.FrequencyToBand(1000.0f);
    float* levels = Access::BandLevels(bands);
    clock.steady = 100.0;
    levels[band] = -20.0f;
    bands.UpdatePeakHold();
    EXPECT_NEAR(bands.GetHoldValue(band), -20.0f, 1e-4f);
    levels[band] = -40.0f;
    clock.steady = 105.5;
    bands.UpdatePeakHold();
    EXPECT_NEAR(bands.GetHoldValue(band), -20.5f, 1e-4f);
    platform::SetClock(nullptr);
}

TEST(SpectralAveraging, VectorRunningMeanMatchesThePlainFormulaBitForBit)
{
    constexpr std::size_t kLines = 37;
    constexpr double k = 7.0;
    auto mean = [k](float average, float added) { return static_cast<float>(((k - 1.0) * average + added) / k); };
    // A line's stored power: a float, the root of a positive one for a cross spectrum.
    auto linePower = [](float re, float im, bool cross) {
        const double p = double{re} * re + double{im} * im;
        return static_cast<float>(cross && p > 0.0 ? std::sqrt(p) : p);
    };
    for (const auto& [cross, vector] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        SCOPED_TRACE(testing::Message() << "cross " << cross << ", vector " << vector);
        std::mt19937 generator(3);
        std::normal_distribution<float> gauss(0.0f, 5000.0f);
        std::vector<float> block(2 * kLines), avg(2 * kLines), power(kLines), latest(kLines, -1.0f);
        for (auto* values : {&block, &avg, &power})
            std::generate(values->begin(), values->end(), [&] { return gauss(generator); });
        for (float& v : power)
            v = std::abs(v) * 3000.0f;
        std::vector<float> expectAvg = avg, expectPower = power, expectLatest = latest;

        const std::size_t done = averaging_detail::RunningPowerMean(avg.data(), power.data(), latest.data(),
                                                                    block.data(), kLines, k, cross, vector);
        EXPECT_EQ(done % 4, 0u);
        EXPECT_LE(done, kLines);
        for (std::size_t i = 0; i < done; ++i) {
            expectAvg[2 * i] = mean(expectAvg[2 * i], block[2 * i]);
            expectAvg[2 * i + 1] = mean(expectAvg[2 * i + 1], block[2 * i + 1]);
            expectLatest[i] = linePower(block[2 * i], block[2 * i + 1], cross);
            expectPower[i] = vector ? linePower(expectAvg[2 * i], expectAvg[2 * i + 1], cross)
                                    : mean(expectPower[i], expectLatest[i]);
        }
        // Bit for bit: no two floats compare equal unless they are the same.
        EXPECT_EQ(avg, expectAvg);
        EXPECT_EQ(power, expectPower);
        EXPECT_EQ(latest, expectLatest);
    }
}

// An object that averages powers only gives the powers, latest powers and
// levels of one that also averages the complex lines, bit for bit, for
// line and cross spectra; vector averaging keeps averaging the lines, as
// its power is theirs. The kernel alone refuses power-only vector averaging.
TEST(SpectralAveraging, PowerOnlyAveragingGivesTheSamePowersBitForBit)
{
    for (const auto& [averageType, cross] : {std::pair{0, false}, {0, true}, {2, false}}) {
        SCOPED_TRACE(testing::Message() << "type " << averageType << ", cross " << cross);
        TProcessingSettings settings = MakeSettings(48000, 1024, 5, std::uint16_t(averageType));
        const ScalingOpts scaling = MakeScaling(ScalingOpts::kLogarithmic);
        SpectralData both(settings, scaling, 0, false), powers(settings, scaling, 0, false);
        powers.KeepAveragedComplex(false);
        for (SpectralData* data : {&both, &powers})
            data->SetPeakHoldMode(2);
        std::mt19937 generator(11);
        std::normal_distribution<float> gauss(0.0f, 4000.0f);
        for (int blockIndex = 0; blockIndex < 7; ++blockIndex) {
            std::vector<float> block(2 * both.GetLines());
            std::generate(block.begin(), block.end(), [&] { return gauss(generator); });
            for (SpectralData* data : {&both, &powers}) {
                if (cross)
                    data->CrossSpectrum(block.data(), block.data());
                else
                    std::copy(block.begin(), block.end(), data->GetComplexBuffer());
                data->Average(false);
            }
        }
        const std::size_t lines = both.GetLines();
        auto all = [lines](const float* values) { return std::vector<float>(values, values + lines); };
        EXPECT_EQ(all(powers.GetPowerBuffer()), all(both.GetPowerBuffer()));
        EXPECT_EQ(all(powers.GetLatestPowerBuffer()), all(both.GetLatestPowerBuffer()));
        EXPECT_EQ(all(Access::AvgDb(powers)), all(Access::AvgDb(both)));
        const bool linesKept = averageType == 2;
        EXPECT_EQ(Access::AvgComplex(powers)[2 * 9] == Access::AvgComplex(both)[2 * 9], linesKept);
    }
    std::vector<float> block(16, 3.0f), power(8, 1.0f);
    EXPECT_EQ(averaging_detail::RunningPowerMean(nullptr, power.data(), nullptr, block.data(), 8, 2.0, false, true),
              0u);
}
