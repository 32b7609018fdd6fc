// White noise from the build's random stream, pink noise from the stored
// recording, and bursts of either. Neither is dithered: both are noise.

#include <cmath>

#include "utilities/siggen/TPinkWave.h"
#include "utilities/siggen/TSigGenLength.h"
#include "utilities/siggen/TSigGenerator.h"

namespace {

using Outcome = TSigGenerator::Outcome;

Outcome Finished(bool completed)
{
    return completed ? Outcome::Built : Outcome::Cancelled;
}

} // namespace

TSigGenerator::Outcome TSigGenerator::GenerateWhiteNoise(int channel, double A)
{
    return Noise(channel, A, false, nullptr);
}

TSigGenerator::Outcome TSigGenerator::GeneratePinkNoise(int channel, double A)
{
    return Noise(channel, A, true, nullptr);
}

TSigGenerator::Outcome TSigGenerator::GenerateWhiteBurst(const SigGenChannelSettings& s, int channel, double A)
{
    return Noise(channel, A, false, &s.NoiseBurst);
}

TSigGenerator::Outcome TSigGenerator::GeneratePinkBurst(const SigGenChannelSettings& s, int channel, double A)
{
    return Noise(channel, A, true, &s.NoiseBurst);
}

TSigGenerator::Outcome TSigGenerator::Noise(int channel, double A, bool pink, const NoiseBurstSettings* burst)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    // C frames per cycle, the last B of them noise; C = 0 is continuous noise.
    std::uint64_t C = 0, B = 0;
    if (burst != nullptr) {
        C = TSigGenLength::FramesOfMilliseconds(burst->CycleTimeMsec, Rate);
        B = std::min(TSigGenLength::FramesOfMilliseconds(burst->BurstTimeMsec, Rate), C);
        if (C < 1)
            return Outcome::Refused;
    }
    // Without a recording the channel stays silent; the window has said so
    // when it failed to load.
    if (pink && (Pink == nullptr || !Pink->IsLoaded()))
        return Outcome::Built;

    const double range = static_cast<double>(Max - Zero);
    const std::int16_t* words = pink ? Pink->GetWords() : nullptr;
    const std::uint64_t K = pink ? Pink->GetLoopWords() : 0;
    const double pinkScale = range / 32767.0 * A;
    const double whiteScale = 0.5 * A * range / 32768.0;
    std::uint64_t j = 0, k = 0;

    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        // The noise runs on through the silent frames of a burst.
        std::int64_t value;
        if (pink) {
            value = Zero + static_cast<std::int64_t>(words[j] * pinkScale);
            if (++j == K)
                j = 0;
        } else {
            value = Zero + static_cast<std::int64_t>(whiteScale * (2 * Random.Next() - 32768));
        }
        if (C > 0) {
            if (k < C - B)
                value = Zero;
            if (++k == C)
                k = 0;
        }
        Store(n, Limit(value));
    }));
}
