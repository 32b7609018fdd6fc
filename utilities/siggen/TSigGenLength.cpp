#include "utilities/siggen/TSigGenLength.h"

#include <algorithm>
#include <cmath>

#include "utilities/siggen/TSigGenSteps.h"

namespace {

// A one-shot signal keeps its own length; one without frames gets a second
// of silence, like every other refused signal.
std::uint64_t OneShot(std::uint64_t n, std::uint32_t rate)
{
    return n > 0 ? n : rate;
}

} // namespace

std::uint64_t TSigGenLength::ClampFrames(double frames, std::uint32_t rate)
{
    if (!(frames >= 1.0))
        return 0;
    return static_cast<std::uint64_t>(std::min(std::trunc(frames), static_cast<double>(MaxFrames(rate))));
}

std::uint64_t TSigGenLength::FramesOfMilliseconds(double milliseconds, std::uint32_t rate)
{
    return ClampFrames(milliseconds * rate / 1000.0, rate);
}

std::uint64_t TSigGenLength::ShapedPeriod(float f, std::uint32_t rate)
{
    if (!(f > 0.0f))
        return 0;
    return std::max<std::uint64_t>(ClampFrames(rate / double{f}, rate), 2);
}

std::uint64_t TSigGenLength::ExtendToOneSecond(std::uint64_t n, std::uint32_t rate)
{
    if (n < 1)
        return rate;
    if (n < rate)
        return (rate / n + 1) * n;
    return n;
}

std::uint64_t TSigGenLength::TrimToWholePeriods(std::uint64_t n, std::uint32_t rate, float f)
{
    if (!(f > 0.1f))
        return n;
    const double p = static_cast<float>(rate / double{f});
    const double k = std::max(std::trunc(static_cast<double>(n) / p), 1.0);
    const auto m = static_cast<std::uint64_t>(k * p);
    if (m >= n)
        return n;
    return m % 2 == 1 ? m + 1 : m;
}

std::uint64_t TSigGenLength::GetChannelLength(const SigGenChannelSettings& s, const TWaveFormat& output,
                                              std::uint64_t pinkWords, std::uint64_t userFrames)
{
    const std::uint32_t R = output.GetSampleRate();
    const auto E = [R](std::uint64_t n) { return ExtendToOneSecond(n, R); };
    std::uint64_t n = 0;

    switch (s.SigType) {
    case kSigWhiteNoise:
        n = E(std::uint64_t{60} * R);
        break;
    case kSigPinkNoise:
        n = E(pinkWords);
        break;
    case kSigNoiseBurst:
        n = E(FramesOfMilliseconds(s.NoiseBurst.CycleTimeMsec, R));
        break;
    case kSigTone1kHz:
        n = TrimToWholePeriods(E(std::uint64_t{10} * R), R, 1000.0f);
        break;
    case kSigMultipleTones: {
        const ToneSettings* tone = &s.Tones[0];
        for (const ToneSettings& t : s.Tones) {
            if (t.ToneEnable != 0) {
                tone = &t;
                break;
            }
        }
        n = TrimToWholePeriods(E(std::uint64_t{10} * R), R, tone->FreqHz);
        break;
    }
    case kSigToneBurst:
        n = E(FramesOfMilliseconds(s.ToneBurst.CycleTimeMsec, R));
        break;
    case kSigIMD:
    case kSigSilence:
        n = E(R);
        break;
    case kSigFreqSweep:
        n = FramesOfMilliseconds(s.FreqSweep.TimeMSec, R);
        if (s.FreqSweep.ReturnSweepFlag != 0)
            n *= 2;
        n = s.FreqSweep.SingleSweepFlag != 0 ? OneShot(n, R) : E(n);
        break;
    case kSigLevelSweep:
        n = E(FramesOfMilliseconds(s.LevelSweep.TimeMSec, R));
        break;
    case kSigSawtooth:
        n = E(ShapedPeriod(s.Sawtooth.FreqHz, R));
        break;
    case kSigTriangular:
        n = E(ShapedPeriod(s.Triangular.FreqHz, R));
        break;
    case kSigSquare:
        n = E(ShapedPeriod(s.Square.FreqHz, R));
        break;
    case kSigPulse:
        n = ClampFrames(static_cast<double>(s.Pulse.RepIntervalNSec) * R / 1000000.0, R);
        n = s.Pulse.OneShotFlag != 0 ? OneShot(n, R) : E(n);
        break;
    case kSigUserWave:
        // 0 for a file that cannot play: the other channel sets the length.
        n = userFrames;
        break;
    case kSigFreqStep: {
        const auto steps = static_cast<double>(TSigGenSteps::GetStepCount(s.FreqStep, nullptr, R));
        n = ClampFrames(steps * FramesOfMilliseconds(s.FreqStep.DwellTimeMSec, R), R);
        if (s.FreqStep.ReturnStepFlag != 0)
            n *= 2;
        n = s.FreqStep.SingleStepFlag != 0 ? OneShot(n, R) : E(n);
        break;
    }
    default: // DTMF and unknown codes: a second of silence
        n = R;
        break;
    }
    return std::min(n, MaxFrames(R));
}
