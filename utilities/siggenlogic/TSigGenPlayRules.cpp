#include "utilities/siggenlogic/TSigGenPlayRules.h"

#include <algorithm>

namespace {
constexpr std::int32_t kAsioDriverMode = 1;
}

bool TSigGenPlayRules::IsContinuous(const SigGenChannelSettings& left)
{
    switch (left.SigType) {
    case kSigPulse:
        return left.Pulse.OneShotFlag != 1;
    case kSigFreqSweep:
        return left.FreqSweep.SingleSweepFlag != 1;
    case kSigFreqStep:
        return left.FreqStep.SingleStepFlag != 1;
    case kSigUserWave:
        return left.UserDefined.RepeatFlag != 0;
    default:
        return true;
    }
}

std::int32_t TSigGenPlayRules::OneShotStopMs(float dataSeconds)
{
    return static_cast<std::int32_t>(static_cast<double>(dataSeconds) * 1000.0 + 100.0);
}

bool TSigGenPlayRules::HasParameters(std::int32_t sigType)
{
    return sigType != kSigWhiteNoise && sigType != kSigPinkNoise && sigType != kSigTone1kHz
        && sigType != kSigSilence;
}

bool TSigGenPlayRules::IsDetailsEnabled(int channel, std::int32_t sigType, std::uint32_t outputChannels,
                                        bool locked)
{
    if (channel == 1 && (outputChannels == 1 || locked))
        return false;
    return HasParameters(sigType);
}

std::uint32_t TSigGenPlayRules::PlaybackRate(std::int32_t driverMode, std::int32_t leftSigType,
                                             std::uint32_t generatorRate, std::uint32_t bufferRate,
                                             std::uint32_t analyzerRate)
{
    if (driverMode != kAsioDriverMode)
        return generatorRate;
    return leftSigType == kSigUserWave ? bufferRate : analyzerRate;
}

std::uint16_t TSigGenPlayRules::PlaybackChannels(std::uint32_t signalChannels, std::uint32_t analyzerChannels)
{
    return static_cast<std::uint16_t>(std::clamp<std::uint32_t>(std::max(signalChannels, analyzerChannels), 1, 2));
}

const char* TSigGenPlayRules::RightChannelNotice(bool locked, std::uint32_t analyzerChannels)
{
    if (locked)
        return kLockedMessage;
    if (analyzerChannels == 1)
        return kMonoMessage;
    return nullptr;
}
