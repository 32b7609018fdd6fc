#include "utilities/siggen/TSigGenerator.h"

#include <cstring>

TSigGenerator::TSigGenerator(TWaveData& wave, TSigGenRandom& random, const std::atomic<bool>& cancel,
                             TSigGenBuildListener* listener, const TPinkWave* pink)
    : Wave(wave), Random(random), Cancel(cancel), Listener(listener), Pink(pink)
{
}

TSigGenerator::Outcome TSigGenerator::Generate(const SigGenChannelSettings& s, int channel, double A,
                                               TUserWave* user)
{
    switch (s.SigType) {
    case kSigWhiteNoise: return GenerateWhiteNoise(channel, A);
    case kSigPinkNoise: return GeneratePinkNoise(channel, A);
    case kSigNoiseBurst:
        if (s.NoiseBurst.Type == 1)
            return GeneratePinkBurst(s, channel, A);
        if (s.NoiseBurst.Type == 0)
            return GenerateWhiteBurst(s, channel, A);
        return Outcome::Refused;
    case kSigTone1kHz: return GenerateSine(channel, A);
    case kSigMultipleTones: return GenerateTones(s, channel, A);
    case kSigToneBurst: return GenerateToneBurst(s, channel, A);
    case kSigIMD: return GenerateIMD(s, channel, A);
    case kSigFreqSweep: return GenerateFreqSweep(s, channel, A);
    case kSigLevelSweep: return GenerateLevelSweep(s, channel, A);
    case kSigSawtooth: return GenerateSawtooth(s, channel, A);
    case kSigTriangular: return GenerateTriangular(s, channel, A);
    case kSigPulse: return GeneratePulse(s, channel, A);
    case kSigSquare: return GenerateSquare(s, channel, A);
    case kSigUserWave: return GenerateUserWave(user, channel, A);
    case kSigSilence: return GenerateSilence(channel);
    case kSigFreqStep: return GenerateFreqStep(s, channel, A);
    default: return Outcome::Built; // DTMF is kept in the settings only
    }
}

bool TSigGenerator::BeginChannel(int channel, double A)
{
    const TWaveFormat& buffer = Wave.GetFormat();
    NumFrames = Wave.GetNumFrames();
    if (NumFrames == 0 || Wave.GetBuffer() == nullptr)
        return false;
    // Levels of a one-channel format of the buffer's width; a mono buffer
    // takes the right channel as its only one.
    Format = TWaveFormat(buffer.GetSampleRate(), 1, buffer.GetBytesPerSample());
    const int stored = channel == 1 && buffer.GetChannels() == 2 ? 1 : 0;
    Stride = std::uint64_t{buffer.GetChannels()} * buffer.GetBytesPerSample();
    Base = Wave.GetBuffer() + static_cast<std::uint64_t>(stored) * buffer.GetBytesPerSample();
    Rate = buffer.GetSampleRate();
    Amplitude = A;
    Max = Format.MaxValue;
    Min = Format.MinValue;
    Zero = Format.ZeroOffset;
    TonalScale = A * kHeadroom * static_cast<double>(Max - Zero);
    return true;
}

void TSigGenerator::ReportProgress(std::uint64_t n)
{
    if (Listener != nullptr)
        Listener->OnBuildProgress(static_cast<int>(n * 100 / NumFrames));
}

std::int32_t TSigGenerator::Tonal(double w)
{
    const float d = Random.TpdfDither();
    // A float holds 24 bits: enough for every width but the 32-bit one,
    // which would lose its dither and low bits to it.
    if (Format.BytesPerSample == 4)
        return Limit(RoundToNearest(static_cast<double>(Zero) + TonalScale * w + d));
    float x = static_cast<float>(static_cast<double>(Zero) + TonalScale * w);
    x = x + d;
    return Limit(RoundToNearest(x));
}

void TSigGenerator::RepeatPattern(std::uint64_t P)
{
    if (P == 0 || P >= NumFrames || NumFrames / P == 1)
        return;
    const std::uint16_t width = Format.BytesPerSample;
    std::uint64_t source = 0;
    for (std::uint64_t d = P; d < NumFrames; ++d) {
        std::memcpy(Base + d * Stride, Base + source * Stride, width);
        if (++source == P)
            source = 0;
    }
}

TSigGenerator::Outcome TSigGenerator::GenerateSilence(int channel)
{
    if (!BeginChannel(channel, 0.0))
        return Outcome::Built;
    const auto zero = static_cast<std::int32_t>(Zero);
    return RunFrames(NumFrames, [&](std::uint64_t n) { Store(n, zero); }) ? Outcome::Built : Outcome::Cancelled;
}
