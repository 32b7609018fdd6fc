#pragma once
// The checks each generator parameter dialog runs on OK, in the order the
// operator meets their messages. Each takes the section as the dialog read
// it from its controls and answers the first failing check's message, or
// nothing when the section may be stored.
//
// Every range test is written so that a value that is no number at all
// (an edit holding "nan") fails it.

#include <cstdint>
#include <optional>
#include <string>

#include "settings/SigGenSettings.h"

using CheckResult = std::optional<std::string>;

class TSigGenChecks {
public:
    // Pulse width and interval limits in whole microseconds.
    struct PulseLimits {
        std::int64_t Shortest = 0;
        std::int64_t LongestWidth = 0;
        std::int64_t LongestInterval = 0;
    };
    // One sample period is the shortest pulse; 100,000 of them the longest.
    static PulseLimits GetPulseLimits(std::int32_t nyquist);

    static CheckResult CheckNoiseBurst(const NoiseBurstSettings& section);
    static CheckResult CheckToneBurst(const ToneBurstSettings& section, std::int32_t nyquist);
    static CheckResult CheckTones(const ToneSettings (&tones)[SigGenChannelSettings::kToneCount],
                                  std::int32_t nyquist);
    static CheckResult CheckIMDTones(const IMDSettings& section, std::int32_t nyquist);
    static CheckResult CheckSawtooth(const SawtoothSettings& section, std::int32_t nyquist);
    static CheckResult CheckTriangular(const TriangularSettings& section, std::int32_t nyquist);
    static CheckResult CheckSquare(const SquareSettings& section, std::int32_t nyquist);
    static CheckResult CheckPulse(const PulseSettings& section, std::int32_t nyquist);
    static CheckResult CheckLevelSweep(const LevelSweepSettings& section, std::int32_t nyquist);
    static CheckResult CheckFreqSweep(const FreqSweepSettings& section, std::int32_t nyquist);
    static CheckResult CheckFreqStep(const FreqStepSettings& section, std::int32_t nyquist);
};
