// The tonal signals: every frame's phase is 2π × (n + 1) × f / rate from
// the buffer's first frame, so a tone runs on unbroken through the whole
// buffer, the silent parts of a tone burst included.

#include <cmath>

#include "utilities/siggen/TSigGenLength.h"
#include "utilities/siggen/TSigGenerator.h"

namespace {

using Outcome = TSigGenerator::Outcome;

Outcome Finished(bool completed)
{
    return completed ? Outcome::Built : Outcome::Cancelled;
}

} // namespace

TSigGenerator::Outcome TSigGenerator::GenerateSine(int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    if (!Usable(1000.0, Rate))
        return Outcome::Refused;
    const double step = kTwoPi * 1000.0 / Rate;
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        Store(n, Tonal(std::sin(static_cast<double>(n + 1) * step)));
    }));
}

TSigGenerator::Outcome TSigGenerator::GenerateTones(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    constexpr std::size_t kTones = SigGenChannelSettings::kToneCount;
    double steps[kTones], gains[kTones], turnSin[kTones], turnCos[kTones];
    std::size_t count = 0;
    for (const ToneSettings& tone : s.Tones) {
        if (tone.ToneEnable == 0)
            continue;
        if (!Usable(tone.FreqHz, Rate))
            return Outcome::Refused;
        steps[count] = kTwoPi * tone.FreqHz / Rate;
        gains[count] = tone.ToneLinearAmplitude;
        turnSin[count] = std::sin(steps[count]);
        turnCos[count] = std::cos(steps[count]);
        ++count;
    }
    // Without an enabled tone every frame is the dither around the zero
    // level: the recipe with w = 0.
    const double divisor = count > 0 ? static_cast<double>(count) : 1.0;

    // Each tone turns as a phasor, set from its exact sine and cosine at
    // every 1000th frame: ten sines a frame would make the build ten times
    // slower, and 1000 turns leave rounding far below one sample step.
    double sine[kTones], cosine[kTones];
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        if (n % kProgressFrames == 0) {
            for (std::size_t t = 0; t < count; ++t) {
                const double phase = static_cast<double>(n + 1) * steps[t];
                sine[t] = std::sin(phase);
                cosine[t] = std::cos(phase);
            }
        }
        double sum = 0.0;
        for (std::size_t t = 0; t < count; ++t) {
            sum += gains[t] * sine[t];
            const double next = sine[t] * turnCos[t] + cosine[t] * turnSin[t];
            cosine[t] = cosine[t] * turnCos[t] - sine[t] * turnSin[t];
            sine[t] = next;
        }
        Store(n, Tonal(sum / divisor));
    }));
}

TSigGenerator::Outcome TSigGenerator::GenerateToneBurst(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    const ToneBurstSettings& burst = s.ToneBurst;
    const std::uint64_t C = TSigGenLength::FramesOfMilliseconds(burst.CycleTimeMsec, Rate);
    const std::uint64_t B = std::min(TSigGenLength::FramesOfMilliseconds(burst.BurstTimeMsec, Rate), C);
    if (C < 1 || !Usable(burst.FreqHz, Rate))
        return Outcome::Refused;
    const double step = kTwoPi * burst.FreqHz / Rate;
    const auto zero = static_cast<std::int32_t>(Zero);
    std::uint64_t k = 0;
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        const float w = static_cast<float>(std::sin(static_cast<double>(n + 1) * step));
        const std::int32_t value = Tonal(w);
        Store(n, k < C - B ? zero : value);
        if (++k == C)
            k = 0;
    }));
}

TSigGenerator::Outcome TSigGenerator::GenerateIMD(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    // The two standard pairs, 4:1; type 2 is the operator's own pair.
    double f1 = 250.0, f2 = 8020.0, a2 = 0.25;
    if (s.IMD.IMDtype == 1) {
        f1 = 60.0;
        f2 = 7000.0;
    } else if (s.IMD.IMDtype == 2) {
        f1 = s.IMD.LoFreqHz;
        f2 = s.IMD.HiFreqHz;
        a2 = s.IMD.PwrRatio > 0.0f ? 1.0 / s.IMD.PwrRatio : 0.25;
    }
    if (!Usable(f1, Rate) || !Usable(f2, Rate))
        return Outcome::Refused;
    const double step1 = kTwoPi * f1 / Rate;
    const double step2 = kTwoPi * f2 / Rate;
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        const double i = static_cast<double>(n + 1);
        Store(n, Tonal((std::sin(i * step1) + a2 * std::sin(i * step2)) / 2.0));
    }));
}
