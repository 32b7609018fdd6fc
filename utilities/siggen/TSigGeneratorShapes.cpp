// The shaped signals, computed in sample units over whole-frame periods,
// without dither; and the user's wave file.

#include <cmath>

#include "utilities/siggen/TSigGenLength.h"
#include "utilities/siggen/TSigGenerator.h"
#include "utilities/siggen/TUserWave.h"

namespace {

using Outcome = TSigGenerator::Outcome;

Outcome Finished(bool completed)
{
    return completed ? Outcome::Built : Outcome::Cancelled;
}

// Frames of the user file read at a time.
constexpr std::uint64_t kUserBlockFrames = 4096;

} // namespace

TSigGenerator::Outcome TSigGenerator::GeneratePulse(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    // Both settings hold microseconds.
    const double framesPerMicrosecond = Rate / 1000000.0;
    const std::uint64_t P = TSigGenLength::ClampFrames(s.Pulse.RepIntervalNSec * framesPerMicrosecond, Rate);
    const std::uint64_t W = TSigGenLength::ClampFrames(s.Pulse.WidthNSec * framesPerMicrosecond, Rate);
    if (P < 1)
        return Outcome::Refused;
    const std::int32_t high = Shaped(kHeadroom * static_cast<double>(Max));
    const auto zero = static_cast<std::int32_t>(Zero);
    std::uint64_t k = 0;
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        Store(n, k < W ? high : zero);
        if (++k == P)
            k = 0;
    }));
}

TSigGenerator::Outcome TSigGenerator::GenerateSawtooth(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    const std::uint64_t P = TSigGenLength::ShapedPeriod(s.Sawtooth.FreqHz, Rate);
    if (P < 1)
        return Outcome::Refused;
    const double range = static_cast<double>(Max - Min);
    const bool falling = s.Sawtooth.Slope < 0;
    std::uint64_t k = 0;
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        const double ramp = static_cast<double>(k) * range / static_cast<double>(P);
        const double u = std::trunc(falling ? static_cast<double>(Max) - ramp : static_cast<double>(Min) + ramp);
        Store(n, Shaped(u));
        if (++k == P)
            k = 0;
    }));
}

TSigGenerator::Outcome TSigGenerator::GenerateTriangular(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    const std::uint64_t P = TSigGenLength::ShapedPeriod(s.Triangular.FreqHz, Rate);
    if (P < 1)
        return Outcome::Refused;
    // With an odd period the falling half is one frame longer and ends at min.
    const std::uint64_t H = P / 2;
    const double range = static_cast<double>(Max - Min);
    const double min = static_cast<double>(Min);
    std::uint64_t k = 0;
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        const double u = k < H ? std::trunc(min + static_cast<double>(k) * range / static_cast<double>(H))
                               : std::trunc(min + range - static_cast<double>(k - H) * range / static_cast<double>(H));
        Store(n, Shaped(u));
        if (++k == P)
            k = 0;
    }));
}

TSigGenerator::Outcome TSigGenerator::GenerateSquare(const SigGenChannelSettings& s, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    const std::uint64_t P = TSigGenLength::ShapedPeriod(s.Square.FreqHz, Rate);
    if (P < 1)
        return Outcome::Refused;
    const double D = std::trunc(static_cast<double>(P) * s.Square.DutyCyclePct / 100.0);
    const std::int32_t high = Shaped(std::trunc(static_cast<double>(Max) * kHeadroom));
    const std::int32_t low = Shaped(std::trunc(static_cast<double>(Min) * kHeadroom));
    std::uint64_t k = 0;
    return Finished(RunFrames(NumFrames, [&](std::uint64_t n) {
        Store(n, static_cast<double>(k) < D ? high : low);
        if (++k == P)
            k = 0;
    }));
}

TSigGenerator::Outcome TSigGenerator::GenerateUserWave(TUserWave* user, int channel, double A)
{
    if (!BeginChannel(channel, A))
        return Outcome::Built;
    if (user == nullptr || !user->IsOpen())
        return Outcome::Refused;
    const std::uint64_t M = user->GetNumFrames();
    // Values keep their place on the scale whatever the widths: a 16-bit
    // file in a 24-bit buffer plays at its own level, not 48 dB down.
    const int fileBits = user->GetFormat().GetBitsPerSample();
    const double scale = std::ldexp(A, static_cast<int>(Format.GetBitsPerSample()) - fileBits);

    std::int32_t block[kUserBlockFrames];
    std::uint64_t j = 0, held = 0, next = 0;
    bool readable = true;
    const bool completed = RunFrames(NumFrames, [&](std::uint64_t n) {
        if (next == held) {
            // Refill from file frame j, never across the file's end.
            held = std::min(kUserBlockFrames, M - j);
            next = 0;
            readable = readable && user->ReadChannel(block, j, held, channel);
        }
        const std::int64_t value = readable ? Zero + RoundToNearest(block[next] * scale) : Zero;
        Store(n, Limit(value));
        ++next;
        if (++j == M) {
            j = 0;
            held = next = 0;
        }
    });
    if (!completed)
        return Outcome::Cancelled;
    return readable ? Outcome::Built : Outcome::Refused;
}
