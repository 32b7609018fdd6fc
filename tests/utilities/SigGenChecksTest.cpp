// The parameter dialogs' checks at their boundaries: which values pass,
// which are refused, and with which message, in the order the operator
// meets them.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "utilities/siggenlogic/TSigGenChecks.h"

namespace {

constexpr std::int32_t kNyquist = 24000;
const std::string kFrequency = "Frequency must be between 0 and 24000 Hz.";
const float kNan = std::numeric_limits<float>::quiet_NaN();

template <typename Section>
struct Case {
    const char* name;
    Section section;
    // Empty: accepted.
    std::string message;
};

template <typename Section, typename Check>
void RunCases(const std::vector<Case<Section>>& cases, Check check)
{
    for (const auto& c : cases)
        EXPECT_EQ(check(c.section).value_or(""), c.message) << c.name;
}

} // namespace

TEST(SigGenChecks, BurstsNeedABurstShorterThanTheirCycle)
{
    RunCases<NoiseBurstSettings>(
        {
            {"shortest burst", {1, 1, 2}, ""},
            {"no burst", {1, 0, 2}, "Burst time must be greater than 0"},
            {"no cycle, burst checked first", {0, 0, 0}, "Burst time must be greater than 0"},
            {"no cycle", {0, 5, 0}, "Cycle time must be greater than 0"},
            {"burst as long as the cycle", {0, 10, 10}, "Burst time must be less than the cycle time."},
        },
        [](const NoiseBurstSettings& s) { return TSigGenChecks::CheckNoiseBurst(s); });

    // The tone burst: Nyquist passes, and a burst has no lower limit.
    RunCases<ToneBurstSettings>(
        {
            {"1 Hz", {1, 10, 20}, ""},
            {"Nyquist itself", {kNyquist, 10, 20}, ""},
            {"0 Hz", {0, 10, 20}, kFrequency},
            {"above Nyquist", {kNyquist + 1, 10, 20}, kFrequency},
            {"no burst passes here", {1000, 0, 20}, ""},
            {"no cycle", {1000, 0, 0}, "Cycle time must be greater than 0"},
            {"burst not shorter", {1000, 20, 20}, "Burst time must be less than the cycle time."},
        },
        [](const ToneBurstSettings& s) { return TSigGenChecks::CheckToneBurst(s, kNyquist); });
}

TEST(SigGenChecks, ShapedSignalsAcceptNyquistAndRefuseZeroAndNoNumberAndDutyCyclesRunFrom1To99)
{
    // Frequency, accepted.
    for (const auto& [f, accepted] : {std::pair(0.01f, true), std::pair(24000.0f, true), std::pair(0.0f, false),
                                      std::pair(24000.01f, false), std::pair(kNan, false)}) {
        const std::string expected = accepted ? "" : kFrequency;
        EXPECT_EQ(TSigGenChecks::CheckSawtooth({1, f}, kNyquist).value_or(""), expected) << f;
        EXPECT_EQ(TSigGenChecks::CheckTriangular({f}, kNyquist).value_or(""), expected) << f;
        EXPECT_EQ(TSigGenChecks::CheckSquare({f, 50}, kNyquist).value_or(""), expected) << f;
    }

    // The square's duty cycle runs from 1 to 99 %.
    RunCases<SquareSettings>(
        {
            {"1 %", {1000.0f, 1}, ""},
            {"99 %", {1000.0f, 99}, ""},
            {"0 %", {1000.0f, 0}, "Duty cycle must be between 1 and 99 Percent."},
            {"100 %", {1000.0f, 100}, "Duty cycle must be between 1 and 99 Percent."},
            {"frequency first", {0.0f, 100}, kFrequency},
        },
        [](const SquareSettings& s) { return TSigGenChecks::CheckSquare(s, kNyquist); });
}

TEST(SigGenChecks, TonesCheckOnlyEnabledTonesAndNeedOne)
{
    // The other tones are disabled with a 0 Hz frequency and +10 dB, which
    // would not pass their checks.
    const std::string level = "Relative Level must be between -96 and 0 dB.";
    const ToneSettings off = {0, 0.0f, 10.0f};
    struct ToneCase {
        ToneSettings fourth, eighth;
        std::string message;
    };
    const ToneCase cases[] = {
        {off, off, "At least one tone must be enabled."},
        {{1, 24000.0f, -96.0f}, off, ""},
        {{1, 24000.0f, 0.0f}, off, ""},
        {{1, 1000.0f, 0.01f}, off, level},
        {{1, 1000.0f, -96.01f}, off, level},
        {{1, 24000.5f, 0.0f}, off, kFrequency},
        {{1, 0.0f, 10.0f}, off, kFrequency}, // the frequency before the level
        {{1, 1000.0f, 5.0f}, {1, 0.0f, 0.0f}, level}, // the first enabled tone that fails decides
    };
    for (const ToneCase& c : cases) {
        ToneSettings tones[SigGenChannelSettings::kToneCount];
        std::fill(std::begin(tones), std::end(tones), off);
        tones[3] = c.fourth;
        tones[7] = c.eighth;
        EXPECT_EQ(TSigGenChecks::CheckTones(tones, kNyquist).value_or(""), c.message) << c.fourth.FreqHz;
    }
}

TEST(SigGenChecks, CustomImdBoundsAreExclusiveAndStandardSetsAreNotChecked)
{
    const std::string low = "Low Frequency must be between 0.0 and 24000";
    const std::string high = "High Frequency must be between 1000.0 and 24000";
    const std::string ratio = "Power Ratio must be between 1 and 10";
    RunCases<IMDSettings>(
        {
            {"ratio 1 and 10 inclusive", {2, 60.0f, 7000.0f, 1.0f}, ""},
            {"ratio 10", {2, 60.0f, 7000.0f, 10.0f}, ""},
            {"low 0", {2, 0.0f, 7000.0f, 4.0f}, low},
            {"low at Nyquist", {2, 24000.0f, 7000.0f, 4.0f}, low},
            {"high 1000 refused", {2, 60.0f, 1000.0f, 4.0f}, high},
            {"high just above 1000", {2, 60.0f, 1000.5f, 4.0f}, ""},
            {"high at Nyquist refused", {2, 60.0f, 24000.0f, 4.0f}, high},
            {"low not below high", {2, 8000.0f, 8000.0f, 4.0f}, "High Frequency must be greater than the Low Frequency"},
            {"ratio below 1", {2, 60.0f, 7000.0f, 0.99f}, ratio},
            {"ratio above 10", {2, 60.0f, 7000.0f, 10.5f}, ratio},
            {"standard set keeps a bad ratio", {0, 0.0f, 0.0f, 50.0f}, ""},
            {"second standard set", {1, -5.0f, 99999.0f, 0.0f}, ""},
        },
        [](const IMDSettings& s) { return TSigGenChecks::CheckIMDTones(s, kNyquist); });
}

TEST(SigGenChecks, PulseLimitsFollowTheSamplePeriod)
{
    const auto limits = [](std::int32_t nyquist) {
        const auto l = TSigGenChecks::GetPulseLimits(nyquist);
        return std::tuple(l.Shortest, l.LongestWidth, l.LongestInterval);
    };
    EXPECT_EQ(limits(24000), std::tuple(20, 2000000, 200000000));
    EXPECT_EQ(limits(0), std::tuple(200, 20000000, 2000000000)) << "no rate";
    // 44100 Hz: 22.7 µs rounds down to 22.
    EXPECT_EQ(TSigGenChecks::GetPulseLimits(22050).Shortest, 22);
    // A very low rate must not overflow the limits.
    EXPECT_EQ(TSigGenChecks::GetPulseLimits(1).LongestInterval, 5000000000000LL);

    const std::string width = "Pulse Width must be between 20 and 2000000 Micro Seconds.";
    const std::string interval = "Repitition interval must be between 20 and 200000000 Micro Seconds.";
    RunCases<PulseSettings>(
        {
            {"shortest pair", {20, 21, 0}, ""},
            {"equal width and interval", {20, 20, 0}, "Pulse Width must be less than the repitition interval"},
            {"width below one sample", {19, 100, 0}, width},
            {"longest width", {2000000, 200000000, 1}, ""},
            {"width too long", {2000001, 200000000, 0}, width},
            {"interval too short", {20, 19, 0}, interval},
            {"interval too long", {20, 200000001, 0}, interval},
        },
        [](const PulseSettings& s) { return TSigGenChecks::CheckPulse(s, kNyquist); });
}

TEST(SigGenChecks, LevelSweepsNameTheTopOfTheRangeFirstAndFrequencySweepsTakeEitherOrder)
{
    const std::string start = "Start Level must be between   0.00 and -96.00 dB.";
    const std::string stop = "Stop Level must be between   0.00 and -96.00 dB.";
    const std::string time = "Sweep time must be between 1 and 600000 Milliseconds.";
    RunCases<LevelSweepSettings>(
        {
            {"0 and -96 pass", {0.0f, -96.0f, 24000.0f, 1}, ""},
            {"longest time", {-96.0f, 0.0f, 1000.0f, 600000}, ""},
            {"start above 0", {0.5f, 0.0f, 1000.0f, 100}, start},
            {"stop below -96", {0.0f, -96.5f, 1000.0f, 100}, stop},
            {"frequency 0", {0.0f, 0.0f, 0.0f, 100}, kFrequency},
            {"no time", {0.0f, 0.0f, 1000.0f, 0}, time},
            {"time too long", {0.0f, 0.0f, 1000.0f, 600001}, time},
        },
        [](const LevelSweepSettings& s) { return TSigGenChecks::CheckLevelSweep(s, kNyquist); });

    // Sweeps and steps allow 0 and Nyquist in either order.
    const std::string from = "Start Frequency must be between   0.00 and 24000.00 Hz.";
    const std::string to = "Stop Frequency must be between   0.00 and 24000.00 Hz.";
    RunCases<FreqSweepSettings>(
        {
            {"downward from Nyquist to 0", {24000.0f, 0.0f, 1, 2, 0, 0}, ""},
            {"start below 0", {-0.01f, 100.0f, 1, 1, 0, 0}, from},
            {"stop above Nyquist", {0.0f, 24000.5f, 1, 1, 0, 0}, to},
            {"no time", {20.0f, 100.0f, 0, 1, 0, 0}, time},
            {"longest time", {20.0f, 100.0f, 600000, 1, 0, 0}, ""},
            {"time too long", {20.0f, 100.0f, 600001, 1, 0, 0}, time},
        },
        [](const FreqSweepSettings& s) { return TSigGenChecks::CheckFreqSweep(s, kNyquist); });

    RunCases<FreqStepSettings>(
        {
            {"0 to Nyquist", {0.0f, 24000.0f, 100.0f, 3, 1, 1, 0, 0}, ""},
            {"stop above Nyquist", {0.0f, 24001.0f, 100.0f, 3, 1, 1, 0, 0}, to},
            {"step size 0, even for octave steps", {20.0f, 100.0f, 0.0f, 3, 1, 2, 0, 0},
             "The Step Size must be greater than zero."},
            {"an endless step size", {20.0f, 100.0f, std::numeric_limits<float>::infinity(), 3, 1, 1, 0, 0},
             "The Step Size must be at most 1000000 Hz."},
            {"dwell too long", {20.0f, 100.0f, 1.0f, 3, 600001, 1, 0, 0},
             "Step time must be between 1 and 600000 Milliseconds."},
            {"no dwell", {20.0f, 100.0f, 1.0f, 3, 0, 1, 0, 0}, "Step time must be between 1 and 600000 Milliseconds."},
            {"longest dwell, largest step", {20.0f, 100.0f, 1000000.0f, 3, 600000, 1, 0, 0}, ""},
        },
        [](const FreqStepSettings& s) { return TSigGenChecks::CheckFreqStep(s, kNyquist); });
}
