#include "engine/RunningMeanKernel.h"
#include "engine/SpectralData.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "tests/engine/SpectralTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <utility>
#include <vector>

using spectral_test::MakeScaling;
using spectral_test::MakeSettings;

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

float AveragedRe(SpectralData& data, std::uint32_t line)
{
    return SpectralDataTestAccess::AvgComplex(data)[2 * line];
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
    std::tm fields{};
    fields.tm_year = 2024 - 1900;
    fields.tm_mon = 2;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&fields));
}

class SpectralHold : public ::testing::Test {
protected:
    void SetUp() override { platform::SetClock(&clock); }
    void TearDown() override { platform::SetClock(nullptr); }

    // One pass at the given steady time, every line at `dB` (dB scaling:
    // the display value is 10·log10 of the power).
    void Pass(SpectralData& data, double steady, float dB)
    {
        clock.steady = steady;
        const float amplitude = std::sqrt(std::pow(10.0f, dB / 10.0f));
        AverageLines(data, amplitude);
        data.UpdatePeakHold();
    }

    FakeClock clock;
};

} // namespace

TEST(SpectralAveraging, LinearThenExponentialRunsThePlainMeanUpToNThenWeightsOneOverN)
{
    SpectralData data(MakeSettings(48000, 1024, 4, 0), MakeScaling(), 0, false);
    const float* power = data.GetPowerBuffer();
    // Block j has every line at amplitude j, power j².
    const float meanPower[] = {1.0f, 2.5f, 14.0f / 3.0f, 7.5f};
    const float meanRe[] = {1.0f, 1.5f, 2.0f, 2.5f};
    for (int j = 1; j <= 4; ++j) {
        AverageLines(data, float(j));
        EXPECT_FLOAT_EQ(power[5], meanPower[j - 1]) << "block " << j;
        EXPECT_FLOAT_EQ(AveragedRe(data, 5), meanRe[j - 1]) << "block " << j;
    }
    AverageLines(data, 5.0f);
    EXPECT_EQ(data.GetBlocksAveraged(), 4);
    EXPECT_FLOAT_EQ(power[5], 0.75f * 7.5f + 0.25f * 25.0f);
    EXPECT_FLOAT_EQ(AveragedRe(data, 5), 0.75f * 2.5f + 0.25f * 5.0f);

    // The last line is never averaged.
    const std::uint32_t last = data.GetLines() - 1;
    EXPECT_EQ(power[last], 0.0f);
    EXPECT_EQ(AveragedRe(data, last), 0.0f);
}

TEST(SpectralAveraging, VectorAveragingCancelsLinesOfOpposingPhase)
{
    SpectralData scalar(MakeSettings(48000, 1024, 2, 0), MakeScaling(), 0, false);
    SpectralData vector(MakeSettings(48000, 1024, 2, 2), MakeScaling(), 0, false);
    for (SpectralData* data : {&scalar, &vector}) {
        AverageLines(*data, 3.0f, 4.0f);
        AverageLines(*data, -3.0f, -4.0f);
    }
    EXPECT_FLOAT_EQ(scalar.GetPowerBuffer()[7], 25.0f);
    EXPECT_FLOAT_EQ(vector.GetPowerBuffer()[7], 0.0f);
}

TEST(SpectralAveraging, PeakLineIsTheHighestAveragedLineAboveTheLowerLimit)
{
    SpectralData data(MakeSettings(48000, 1024), MakeScaling(), 0, false);
    float* block = data.GetComplexBuffer();
    std::fill(block, block + data.GetFFTSize(), 1.0f);
    block[2 * 2] = 50.0f;  // below the lower limit (line 3)
    block[2 * 3] = 40.0f;  // at it: not a candidate either
    block[2 * 10] = 30.0f;
    block[2 * 20] = 20.0f;
    data.Average(false);
    EXPECT_EQ(data.GetPeakLine(), 10u);
}

TEST(SpectralAveraging, CountFollowsTheBlockIntervalAndSpeed)
{
    struct Case {
        std::uint16_t speed;
        float count; // for dt = 0.05 s, r = 2
    };
    for (const Case c : {Case{0, 1.0f}, Case{1, 3.6f}, Case{2, 5.4194f}, Case{3, 22.73f},
                         Case{4, 100000.0f}, Case{7, 1.0f}}) {
        SpectralData data(FollowingInterval(c.speed), MakeScaling(), 0, false);
        data.SetBlockTime(10.0);
        data.SetBlockTime(10.05);
        EXPECT_NEAR(data.GetAverageCount(), c.count, 1e-3f * c.count) << "speed " << c.speed;
    }

    // The same time twice counts as a millisecond.
    SpectralData fast(FollowingInterval(1), MakeScaling(), 0, false);
    fast.SetBlockTime(20.0);
    fast.SetBlockTime(20.0);
    EXPECT_NEAR(fast.GetAverageCount(), 180.0f, 1e-3f);
    fast.SetBlockTime(19.0); // time running back
    EXPECT_NEAR(fast.GetAverageCount(), 180.0f, 1e-3f);

    // "Off" keeps a cross spectrum slightly averaged.
    SpectralData cross(FollowingInterval(0), MakeScaling(), 0, false);
    const std::vector<float> lines(1024, 1.0f);
    cross.CrossSpectrum(lines.data(), lines.data());
    cross.SetBlockTime(1.0);
    EXPECT_FLOAT_EQ(cross.GetAverageCount(), 1.1f);

    // Without interval averaging the block count stands.
    SpectralData blocks(MakeSettings(48000, 1024, 8), MakeScaling(), 0, false);
    blocks.SetBlockTime(1.0);
    blocks.SetBlockTime(1.0);
    EXPECT_FLOAT_EQ(blocks.GetAverageCount(), 8.0f);
}

TEST(SpectralAveraging, ForeverAveragesEveryBlockSinceTheLastClear)
{
    SpectralData data(FollowingInterval(4), MakeScaling(), 0, false);
    double sum = 0.0;
    for (int j = 1; j <= 20; ++j) {
        data.SetBlockTime(0.1 * j);
        AverageLines(data, float(j));
        sum += double(j) * j;
    }
    EXPECT_FLOAT_EQ(data.GetAverageCount(), 100000.0f);
    EXPECT_FLOAT_EQ(data.GetPowerBuffer()[9], float(sum / 20.0));

    data.ClearSpectrum();
    AverageLines(data, 2.0f);
    EXPECT_FLOAT_EQ(data.GetPowerBuffer()[9], 4.0f);
}

TEST(SpectralAveraging, MovingWindowMeansTheLastNBlocks)
{
    SpectralData data(MakeSettings(48000, 1024, 3, 1), MakeScaling(), 0, false);
    AverageLines(data, 1.0f);
    AverageLines(data, 2.0f);
    // Two blocks in the window: their mean, not a third of their sum.
    EXPECT_FLOAT_EQ(data.GetPowerBuffer()[4], 2.5f);
    for (float x : {3.0f, 4.0f, 5.0f})
        AverageLines(data, x);
    EXPECT_FLOAT_EQ(data.GetPowerBuffer()[4], (9.0f + 16.0f + 25.0f) / 3.0f);
    EXPECT_FLOAT_EQ(AveragedRe(data, 4), 4.0f);
}

TEST(SpectralAveraging, LongestMovingWindowsStayInsideTheRing)
{
    // The ring holds 999 blocks; a count of 1000 gets the longest window.
    for (const std::uint32_t count : {999u, 1000u}) {
        SpectralData data(MakeSettings(48000, 32, count, 1), MakeScaling(), 0, false);
        ASSERT_FALSE(data.HasFailed());
        const int blocks = 1010;
        for (int j = 1; j <= blocks; ++j) {
            AverageLines(data, float(j) / 1000.0f);
            if (j == 500) {
                // Mean of j² / 10⁶ over j = 1 … 500.
                const double mean = 500.0 * 501.0 * 1001.0 / 6.0 / 500.0 / 1e6;
                EXPECT_NEAR(data.GetPowerBuffer()[3], mean, 1e-5 * mean) << "count " << count;
            }
        }
        EXPECT_EQ(data.GetBlocksAveraged(), 999);
        double sum = 0.0;
        for (int j = blocks - 998; j <= blocks; ++j)
            sum += (j / 1000.0) * (j / 1000.0);
        EXPECT_NEAR(data.GetPowerBuffer()[3], sum / 999.0, 1e-5 * sum / 999.0) << "count " << count;
    }
}

TEST(SpectralAveraging, RingThatCannotBeHadFailsTheObject)
{
    MessageLog log;
    SpectralData data(MakeSettings(48000, 1024, 4, 1), MakeScaling(), 0, false);
    ASSERT_FALSE(data.HasFailed());
    platform::FailNextAllocations(1);
    data.SetAveraging(0, 8);
    platform::FailNextAllocations(0);

    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_EQ(log.texts[0], "Insufficient memory for linear averaging - try using exponential average");
    EXPECT_TRUE(data.HasFailed());
    AverageLines(data, 1.0f);
    EXPECT_EQ(data.GetPowerBuffer()[5], 0.0f);
}

TEST_F(SpectralHold, HeldValueWaitsThenDecaysToTheCurrentValue)
{
    SpectralData data(MakeSettings(48000, 1024), MakeScaling(ScalingOpts::kLogarithmic), 0, false);
    data.SetPeakHoldMode(2); // 5 s, then 0.5 dB per call
    const THoldEntry* hold = SpectralDataTestAccess::Hold(data);
    EXPECT_FLOAT_EQ(hold[8].Value, SpectralData::kNoValue);

    Pass(data, 100.0, -20.0f);
    EXPECT_NEAR(hold[8].Value, -20.0f, 1e-3f);
    for (double t = 101.0; t <= 105.0; t += 1.0)
        Pass(data, t, -40.0f);
    EXPECT_NEAR(hold[8].Value, -20.0f, 1e-3f) << "still within the hold time";

    double t = 105.5;
    for (int call = 1; call <= 39; ++call, t += 0.1)
        Pass(data, t, -40.0f);
    EXPECT_NEAR(hold[8].Value, -39.5f, 1e-3f);
    Pass(data, t, -40.0f);
    Pass(data, t + 0.1, -40.0f);
    EXPECT_NEAR(hold[8].Value, -40.0f, 1e-3f);

    data.ClearHold();
    EXPECT_FLOAT_EQ(hold[8].Value, SpectralData::kNoValue);
}

// Linear scaling holds the amplitude in percent of full scale (−20 dB is
// 10 %) and decays it by the same steps in those units.
TEST_F(SpectralHold, LinearHoldKeepsThePercentAmplitudeThenFallsByTheDecay)
{
    SpectralData data(MakeSettings(48000, 1024), MakeScaling(ScalingOpts::kLinear), 0, false);
    data.SetPeakHoldMode(2);
    const THoldEntry* hold = SpectralDataTestAccess::Hold(data);
    Pass(data, 100.0, -20.0f);
    Pass(data, 101.0, -40.0f);
    for (std::size_t line : {8u, 301u})
        EXPECT_NEAR(hold[line].Value, 10.0f, 1e-3f) << line;
    Pass(data, 105.5, -40.0f);
    for (std::size_t line : {8u, 301u})
        EXPECT_NEAR(hold[line].Value, 9.5f, 1e-3f) << line;
}

TEST_F(SpectralHold, HeldValueDecaysAcrossLocalMidnight)
{
    SpectralData data(MakeSettings(48000, 1024), MakeScaling(ScalingOpts::kLogarithmic), 0, false);
    data.SetPeakHoldMode(2);
    clock.now = LocalTime(23, 59, 58, 9);
    Pass(data, 5000.0, -20.0f);
    clock.now = LocalTime(0, 0, 4, 10);
    Pass(data, 5006.0, -40.0f);
    EXPECT_NEAR(SpectralDataTestAccess::Hold(data)[8].Value, -20.5f, 1e-3f);
}

// The vectorised running mean computes what the plain formula does, bit for
// bit: ((k−1)·average + new) / k in double, the line power a float first
// (and handed out as the latest power).
TEST(SpectralAveraging, VectorRunningMeanMatchesThePlainFormulaBitForBit)
{
    constexpr std::size_t kLines = 37;
    // A line's stored power: a float, the root of a positive one for a cross spectrum.
    auto linePower = [](float re, float im, bool cross) {
        const double p = double{re} * re + double{im} * im;
        return static_cast<float>(cross && p > 0.0 ? std::sqrt(p) : p);
    };
    for (const auto& [cross, vector] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        SCOPED_TRACE(testing::Message() << "cross " << cross << ", vector " << vector);
        std::mt19937 generator(3);
        std::normal_distribution<float> gauss(0.0f, 5000.0f);
        std::vector<float> block(2 * kLines), avg(2 * kLines), power(kLines);
        for (float& v : block)
            v = gauss(generator);
        for (float& v : avg)
            v = gauss(generator);
        for (float& v : power)
            v = std::abs(gauss(generator)) * 3000.0f;
        std::vector<float> expectAvg = avg, expectPower = power;
        std::vector<float> latest(kLines, -1.0f), expectLatest = latest;
        const double k = 7.0;

        const std::size_t done = averaging_detail::RunningPowerMean(avg.data(), power.data(), latest.data(),
                                                                    block.data(), kLines, k, cross, vector);
        EXPECT_EQ(done % 4, 0u);
        EXPECT_LE(done, kLines);
        for (std::size_t i = 0; i < done; ++i) {
            expectAvg[2 * i] = static_cast<float>(((k - 1.0) * expectAvg[2 * i] + block[2 * i]) / k);
            expectAvg[2 * i + 1] = static_cast<float>(((k - 1.0) * expectAvg[2 * i + 1] + block[2 * i + 1]) / k);
            const float line = linePower(block[2 * i], block[2 * i + 1], cross);
            expectPower[i] = vector ? linePower(expectAvg[2 * i], expectAvg[2 * i + 1], cross)
                                    : static_cast<float>(((k - 1.0) * expectPower[i] + line) / k);
            expectLatest[i] = line;
        }
        EXPECT_EQ(std::memcmp(avg.data(), expectAvg.data(), avg.size() * sizeof(float)), 0);
        EXPECT_EQ(std::memcmp(power.data(), expectPower.data(), power.size() * sizeof(float)), 0);
        EXPECT_EQ(std::memcmp(latest.data(), expectLatest.data(), latest.size() * sizeof(float)), 0);
    }
}
