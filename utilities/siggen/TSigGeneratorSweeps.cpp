// Frequency and level sweeps and frequency steps. The phase of sweep frame
// i is 2π × (i + 1) × f(i) / rate, restarting with each sweep or step; the
// sweeps and steps build one pattern and copy it through the buffer.

#include <cmath>

#include "utilities/siggen/TSigGenLength.h"
#include "utilities/siggen/TSigGenSteps.h"
#include "utilities/siggen/TSigGenerator.h"

namespace {

using Outcome = TSigGenerator::Outcome;

Outcome Finished(bool completed)
{
    return completed ? Outcome::Built : Outcome::Cancelled;
}

// 10^e, with e kept within what a double can hold; exp is the faster road.
double PowerOfTen(double e)
{
    static const double kLn10 = std::log(10.0);
    return std::exp(std::clamp(e, -200.0, 200.0) * kLn10);
}

constexpr int kSignChangesMeasured = 7;
constexpr int kMostFitPasses = 10000;
// Below this the sweep is too short to measure its end.
constexpr std::int64_t kShortestFittedSweep = 1000;

} // namespace

double TSigGenerator::FitLogSweepSlope(double fs, double fe, std::int64_t L, std::uint32_t rate,
                                       const std::atomic<bool>* cancel)
{
    double k = 0.5 * (std::log10(fe / 2.0) - std::log10(fs / 2.0)) / static_cast<double>(L);
    if (fs == fe || L < kShortestFittedSweep)
        return k;
    const double base = std::log10(fs);
    for (int pass = 0;; ++pass) {
        // The last seven sign changes of the sweep, latest first: three periods.
        std::int64_t changes[kSignChangesMeasured];
        int found = 0;
        bool previousPositive = false;
        for (std::int64_t i = L - 1; i >= 0 && found < kSignChangesMeasured; --i) {
            const double f = PowerOfTen(static_cast<double>(i) * k + base);
            const bool positive = std::sin(kTwoPi * static_cast<double>(i + 1) * f / rate) > 0.0;
            if (i < L - 1 && positive != previousPositive)
                changes[found++] = i;
            previousPositive = positive;
        }
        // Fewer than three periods in the whole sweep: nothing to measure by.
        if (found < kSignChangesMeasured)
            return k;
        const double fEnd = rate * 3.0 / static_cast<double>(changes[0] - changes[kSignChangesMeasured - 1]);
        if (fEnd >= fe || pass >= kMostFitPasses)
            return k;
        k *= 1.001;
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
            return k;
    }
}

TSigGenerator::Outcome TSigGenerator::GenerateFreqSweep(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    const FreqSweepSettings& sweep = s.FreqSweep;
    const std::uint64_t L = TSigGenLength::FramesOfMilliseconds(sweep.TimeMSec, Rate);
    const double nyquist = Rate / 2.0;
    double fs = std::min<double>(sweep.FStartHz, nyquist);
    double fe = std::min<double>(sweep.FStopHz, nyquist);
    if (L < 1 || std::isnan(fs) || std::isnan(fe) || (sweep.SweepType != 1 && sweep.SweepType != 2))
        return Outcome::Refused;
    const double length = static_cast<double>(L);

    bool reversed = false;
    double k = 0.0, base = 0.0;
    if (sweep.SweepType == 1) {
        // Half the slope: the phase (i + 1) × f(i) sweeps its derivative, the
        // instantaneous frequency, at twice the rate of f(i).
        fs = std::max(fs, 0.0);
        fe = std::max(fe, 0.0);
        k = (fe - fs) / length / 2.0;
    } else {
        // The slope is fitted on a copy of the sweep one decade lower, where
        // three periods at its end span enough frames to be measured.
        fs = std::max(fs, 1.0) / 10.0;
        fe = std::max(fe, 1.0) / 10.0;
        if (fs > fe) {
            std::swap(fs, fe);
            reversed = true;
        }
        k = FitLogSweepSlope(fs, fe, static_cast<std::int64_t>(L), Rate, &Cancel);
        if (IsCancelled())
            return Outcome::Cancelled;
        fs *= 10.0;
        base = std::log10(fs);
    }
    const bool linear = sweep.SweepType == 1;
    const bool back = sweep.ReturnSweepFlag != 0;

    const bool completed = RunFrames(L, [&](std::uint64_t i) {
        const double x = static_cast<double>(i);
        const double f = linear ? fs + x * k : PowerOfTen(x * k + base);
        const std::int32_t value = Tonal(std::sin(kTwoPi * (x + 1.0) * f / Rate));
        Store(reversed ? L - 1 - i : i, value);
        if (back)
            Store(reversed ? L + i : 2 * L - 1 - i, value);
    });
    if (!completed)
        return Outcome::Cancelled;
    RepeatPattern(back ? 2 * L : L);
    return Outcome::Built;
}

TSigGenerator::Outcome TSigGenerator::GenerateLevelSweep(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    const LevelSweepSettings& sweep = s.LevelSweep;
    const std::uint64_t L = TSigGenLength::FramesOfMilliseconds(sweep.TimeMSec, Rate);
    if (L < 1 || !Usable(sweep.FreqHz, Rate))
        return Outcome::Refused;
    const double start = sweep.StartDB;
    const double slope = (double{sweep.StopDB} - start) / static_cast<double>(L);
    const double step = kTwoPi * sweep.FreqHz / Rate;
    std::uint64_t k = 0;
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        const double x = static_cast<double>(k);
        const double g = PowerOfTen((start + x * slope) / 20.0);
        Store(n, Tonal(g * std::sin((x + 1.0) * step)));
        if (++k == L)
            k = 0;
    }));
}

TSigGenerator::Outcome TSigGenerator::GenerateFreqStep(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    const FreqStepSettings& steps = s.FreqStep;
    const std::uint64_t sps = TSigGenLength::FramesOfMilliseconds(steps.DwellTimeMSec, Rate);
    if (sps < 1 || (steps.StepType != 1 && steps.StepType != 2))
        return Outcome::Refused;
    std::int64_t first = -1;
    const std::int64_t S = TSigGenSteps::GetStepCount(steps, &first, Rate);
    // Never more than the buffer can hold, however many steps there are.
    const std::uint64_t L = TSigGenLength::ClampFrames(static_cast<double>(S) * static_cast<double>(sps), Rate);
    const bool back = steps.ReturnStepFlag != 0;

    // A step beyond Nyquist (a linear step from a file's low rate) is
    // silent rather than an alias.
    const auto stepOf = [&](std::int64_t index) {
        const double f = TSigGenSteps::GetStepFrequency(steps, first, index);
        return Usable(f, Rate) ? kTwoPi * f / Rate : 0.0;
    };
    std::int64_t step = 0;
    std::uint64_t k = 0;
    double phaseStep = stepOf(0);
    const bool completed = RunFrames(L, [&](std::uint64_t n) {
        const std::int32_t value = Tonal(std::sin(static_cast<double>(k + 1) * phaseStep));
        Store(n, value);
        if (back)
            Store(2 * L - 1 - n, value);
        if (++k == sps) {
            k = 0;
            if (step + 1 < S)
                phaseStep = stepOf(++step);
        }
    });
    if (!completed)
        return Outcome::Cancelled;
    RepeatPattern(back ? 2 * L : L);
    return Outcome::Built;
}
