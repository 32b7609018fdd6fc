#pragma once
// Fills one channel of the generator's buffer with one signal type: the
// sample loop with its progress and cancel checks, the tonal recipe
// (headroom and dither), storing, and the repetition of a pattern.
//
// One generator serves one build, on the building thread; the channels are
// built in turn, left first, drawing from the build's one random stream.
// The implementation is split by kind of signal:
//   TSigGenerator.cpp          the loop, the recipe, storing, repetition
//   TSigGeneratorTones.cpp     1 kHz tone, multiple tones, tone burst, IMD
//   TSigGeneratorShapes.cpp    pulse, sawtooth, triangle, square, user file, silence
//   TSigGeneratorNoise.cpp     white and pink noise and their bursts
//   TSigGeneratorSweeps.cpp    frequency and level sweeps, frequency steps

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "audio/TWaveData.h"
#include "settings/SigGenSettings.h"
#include "utilities/siggen/TSigGenBuildListener.h"
#include "utilities/siggen/TSigGenRandom.h"

class TPinkWave;
class TUserWave;

class TSigGenerator {
public:
    enum class Outcome {
        Built,
        // Stopped by the cancel flag; later frames are as they were.
        Cancelled,
        // The settings describe no signal this buffer can hold (a frequency
        // of 0 or beyond Nyquist, a zero duration); the channel is silent.
        Refused,
    };

    // Written at 2π in every phase, as the signals have always been built.
    static constexpr double kTwoPi = 6.283185308;
    // Keeps a full-scale tone plus its dither inside the sample range.
    static constexpr double kHeadroom = 0.99999;
    // Frames between progress reports and cancel checks.
    static constexpr std::uint64_t kProgressFrames = 1000;

    TSigGenerator(TWaveData& wave, TSigGenRandom& random, const std::atomic<bool>& cancel,
                  TSigGenBuildListener* listener = nullptr, const TPinkWave* pink = nullptr);

    // Fills `channel` with the signal of settings.SigType at amplitude A
    // (0 … 1). DTMF and unknown codes leave the channel as it is.
    Outcome Generate(const SigGenChannelSettings& settings, int channel, double A, TUserWave* user = nullptr);

    Outcome GenerateSine(int channel, double A);
    Outcome GenerateTones(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateToneBurst(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateIMD(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GeneratePulse(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateSawtooth(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateTriangular(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateSquare(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateUserWave(TUserWave* user, int channel, double A);
    Outcome GenerateSilence(int channel);
    Outcome GenerateWhiteNoise(int channel, double A);
    Outcome GeneratePinkNoise(int channel, double A);
    Outcome GenerateWhiteBurst(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GeneratePinkBurst(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateFreqSweep(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateLevelSweep(const SigGenChannelSettings& settings, int channel, double A);
    Outcome GenerateFreqStep(const SigGenChannelSettings& settings, int channel, double A);

    // The logarithmic sweep's slope per frame (log10 units) for a sweep of
    // L frames from fs up to fe, both given a decade low (see the sweep).
    // Stretches the first guess by 0.1 % a pass until the last three
    // periods of the sweep measure fe. Returns early when `cancel` is set.
    static double FitLogSweepSlope(double fs, double fe, std::int64_t L, std::uint32_t rate,
                                   const std::atomic<bool>* cancel = nullptr);

    // Nearest integer, halves away from zero: symmetric, so a rounded tone
    // gains no DC and no odd harmonics.
    static std::int64_t RoundToNearest(double x)
    {
        return x >= 0.0 ? static_cast<std::int64_t>(x + 0.5) : -static_cast<std::int64_t>(-x + 0.5);
    }

private:
    // Points the writer at a channel and sets the levels for amplitude A;
    // false when the buffer has no frames.
    bool BeginChannel(int channel, double A);
    bool IsCancelled() const { return Cancel.load(std::memory_order_relaxed); }
    void ReportProgress(std::uint64_t n);

    // Calls frame(n) for n = 0 … count − 1, reporting progress and testing
    // the cancel flag every kProgressFrames frames. False when cancelled.
    template <typename Frame>
    bool RunFrames(std::uint64_t count, Frame&& frame)
    {
        for (std::uint64_t n = 0; n < count;) {
            if (IsCancelled())
                return false;
            ReportProgress(n);
            const std::uint64_t end = std::min(count, n + kProgressFrames);
            for (; n < end; ++n)
                frame(n);
        }
        return true;
    }

    // The tonal recipe for a waveform value w in [−1, 1]: headroom, one
    // dither value (drawn for every frame), rounding, limiting.
    std::int32_t Tonal(double w);
    std::int32_t Limit(std::int64_t v) const
    {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, Min, Max));
    }
    // Scales a shaped signal's sample u about the zero level.
    std::int32_t Shaped(double u) const { return Limit(Zero + static_cast<std::int64_t>((u - Zero) * Amplitude)); }

    // Frames at or beyond the end are dropped, so a pattern cut by the
    // buffer's end needs no bounds of its own.
    void Store(std::uint64_t frame, std::int32_t value)
    {
        if (frame < NumFrames)
            Format.WriteSample(Base + frame * Stride, value);
    }

    // Copies frames 0 … P − 1 over the rest of the channel, when the buffer
    // holds at least two whole patterns.
    void RepeatPattern(std::uint64_t P);

    static bool Usable(double f, std::uint32_t rate) { return f > 0.0 && f <= rate / 2.0; }

    // White or pink noise, in bursts when `burst` is given.
    Outcome Noise(int channel, double A, bool pink, const NoiseBurstSettings* burst);

    TWaveData& Wave;
    TSigGenRandom& Random;
    const std::atomic<bool>& Cancel;
    TSigGenBuildListener* Listener;
    const TPinkWave* Pink;

    // The channel being built.
    TWaveFormat Format;
    std::uint8_t* Base = nullptr;
    std::uint64_t Stride = 0;
    std::uint64_t NumFrames = 0;
    std::uint32_t Rate = 0;
    double Amplitude = 0.0;
    std::int64_t Max = 0;
    std::int64_t Min = 0;
    std::int64_t Zero = 0;
    // A × headroom × (max − zero): the tonal recipe's scale.
    double TonalScale = 0.0;
};
