#include "utilities/siggenlogic/TSigGenChecks.h"

#include "settings/FloatFieldBounds.h"
#include "utilities/siggenlogic/SigGenText.h"

namespace {

constexpr float kLowestRelativeDb = -96.0f;
constexpr std::int32_t kLongestSweepMs = 600000;

// (0, Nyquist]: the Nyquist frequency itself still plays.
bool IsAudible(float frequency, std::int32_t nyquist)
{
    return frequency > 0.0f && frequency <= static_cast<float>(nyquist);
}

bool IsWithin(double value, double low, double high)
{
    return value >= low && value <= high;
}

std::string FrequencyMessage(std::int32_t nyquist)
{
    return "Frequency must be between 0 and " + std::to_string(nyquist) + " Hz.";
}

CheckResult CheckBurstAndCycle(std::int32_t burst, std::int32_t cycle)
{
    if (cycle < 1)
        return "Cycle time must be greater than 0";
    if (burst >= cycle)
        return "Burst time must be less than the cycle time.";
    return std::nullopt;
}

std::string RangeMessage(const char* what, double low, double high, const char* unit)
{
    return std::string(what) + " must be between " + siggen_text::Format62(low) + " and "
         + siggen_text::Format62(high) + " " + unit + ".";
}

std::string MillisecondsMessage(const char* what)
{
    return std::string(what) + " time must be between 1 and " + std::to_string(kLongestSweepMs) + " Milliseconds.";
}

// Start and stop of the sweeps and steps: 0 Hz and Nyquist both allowed.
CheckResult CheckFrequencyRange(float start, float stop, std::int32_t nyquist)
{
    if (!IsWithin(start, 0.0, nyquist))
        return RangeMessage("Start Frequency", 0.0, nyquist, "Hz");
    if (!IsWithin(stop, 0.0, nyquist))
        return RangeMessage("Stop Frequency", 0.0, nyquist, "Hz");
    return std::nullopt;
}

} // namespace

TSigGenChecks::PulseLimits TSigGenChecks::GetPulseLimits(std::int32_t nyquist)
{
    PulseLimits limits;
    if (nyquist <= 0) {
        limits.Shortest = 200;
        limits.LongestWidth = 20000000;
    } else {
        limits.Shortest = 1000000 / (2 * std::int64_t{nyquist});
        limits.LongestWidth = limits.Shortest * 100000;
    }
    limits.LongestInterval = 100 * limits.LongestWidth;
    return limits;
}

CheckResult TSigGenChecks::CheckNoiseBurst(const NoiseBurstSettings& section)
{
    if (section.BurstTimeMsec < 1)
        return "Burst time must be greater than 0";
    return CheckBurstAndCycle(section.BurstTimeMsec, section.CycleTimeMsec);
}

CheckResult TSigGenChecks::CheckToneBurst(const ToneBurstSettings& section, std::int32_t nyquist)
{
    if (section.FreqHz < 1 || section.FreqHz > nyquist)
        return FrequencyMessage(nyquist);
    return CheckBurstAndCycle(section.BurstTimeMsec, section.CycleTimeMsec);
}

CheckResult TSigGenChecks::CheckTones(const ToneSettings (&tones)[SigGenChannelSettings::kToneCount],
                                      std::int32_t nyquist)
{
    int enabled = 0;
    for (const ToneSettings& tone : tones) {
        if (tone.ToneEnable == 0)
            continue;
        ++enabled;
        if (!IsAudible(tone.FreqHz, nyquist))
            return FrequencyMessage(nyquist);
        if (!IsWithin(tone.PwrDB, kLowestRelativeDb, 0.0))
            return "Relative Level must be between -96 and 0 dB.";
    }
    if (enabled == 0)
        return "At least one tone must be enabled.";
    return std::nullopt;
}

CheckResult TSigGenChecks::CheckIMDTones(const IMDSettings& section, std::int32_t nyquist)
{
    // The standard sets bring their own tones; what is typed is kept unchecked.
    if (section.IMDtype != 2)
        return std::nullopt;
    const std::string limit = std::to_string(nyquist);
    if (!(section.LoFreqHz > 0.0f && section.LoFreqHz < nyquist))
        return "Low Frequency must be between 0.0 and " + limit;
    if (!(section.HiFreqHz > 1000.0f && section.HiFreqHz < nyquist))
        return "High Frequency must be between 1000.0 and " + limit;
    if (section.LoFreqHz >= section.HiFreqHz)
        return "High Frequency must be greater than the Low Frequency";
    if (!IsWithin(section.PwrRatio, 1.0, 10.0))
        return "Power Ratio must be between 1 and 10";
    return std::nullopt;
}

CheckResult TSigGenChecks::CheckSawtooth(const SawtoothSettings& section, std::int32_t nyquist)
{
    if (!IsAudible(section.FreqHz, nyquist))
        return FrequencyMessage(nyquist);
    return std::nullopt;
}

CheckResult TSigGenChecks::CheckTriangular(const TriangularSettings& section, std::int32_t nyquist)
{
    if (!IsAudible(section.FreqHz, nyquist))
        return FrequencyMessage(nyquist);
    return std::nullopt;
}

CheckResult TSigGenChecks::CheckSquare(const SquareSettings& section, std::int32_t nyquist)
{
    if (!IsAudible(section.FreqHz, nyquist))
        return FrequencyMessage(nyquist);
    if (section.DutyCyclePct < 1 || section.DutyCyclePct > 99)
        return "Duty cycle must be between 1 and 99 Percent.";
    return std::nullopt;
}

CheckResult TSigGenChecks::CheckPulse(const PulseSettings& section, std::int32_t nyquist)
{
    const PulseLimits limits = GetPulseLimits(nyquist);
    if (section.WidthNSec < limits.Shortest || section.WidthNSec > limits.LongestWidth)
        return "Pulse Width must be between " + std::to_string(limits.Shortest) + " and "
             + std::to_string(limits.LongestWidth) + " Micro Seconds.";
    if (section.RepIntervalNSec < limits.Shortest || section.RepIntervalNSec > limits.LongestInterval)
        return "Repitition interval must be between " + std::to_string(limits.Shortest) + " and "
             + std::to_string(limits.LongestInterval) + " Micro Seconds.";
    if (section.WidthNSec >= section.RepIntervalNSec)
        return "Pulse Width must be less than the repitition interval";
    return std::nullopt;
}

CheckResult TSigGenChecks::CheckLevelSweep(const LevelSweepSettings& section, std::int32_t nyquist)
{
    // The messages name the top of the range first.
    if (!IsWithin(section.StartDB, kLowestRelativeDb, 0.0))
        return RangeMessage("Start Level", 0.0, kLowestRelativeDb, "dB");
    if (!IsWithin(section.StopDB, kLowestRelativeDb, 0.0))
        return RangeMessage("Stop Level", 0.0, kLowestRelativeDb, "dB");
    if (!IsAudible(section.FreqHz, nyquist))
        return FrequencyMessage(nyquist);
    if (section.TimeMSec < 1 || section.TimeMSec > kLongestSweepMs)
        return MillisecondsMessage("Sweep");
    return std::nullopt;
}

CheckResult TSigGenChecks::CheckFreqSweep(const FreqSweepSettings& section, std::int32_t nyquist)
{
    if (CheckResult range = CheckFrequencyRange(section.FStartHz, section.FStopHz, nyquist))
        return range;
    if (section.TimeMSec < 1 || section.TimeMSec > kLongestSweepMs)
        return MillisecondsMessage("Sweep");
    return std::nullopt;
}

CheckResult TSigGenChecks::CheckFreqStep(const FreqStepSettings& section, std::int32_t nyquist)
{
    if (CheckResult range = CheckFrequencyRange(section.FStartHz, section.FStopHz, nyquist))
        return range;
    // Checked for octave steps too, which do not use it.
    if (!(section.StepSize > 0.0f))
        return "The Step Size must be greater than zero.";
    // What the settings file keeps (an endless step would never reach the stop).
    if (!field_ranges::kFrequencyHz.Contains(section.StepSize))
        return "The Step Size must be at most 1000000 Hz.";
    if (section.DwellTimeMSec < 1 || section.DwellTimeMSec > kLongestSweepMs)
        return MillisecondsMessage("Step");
    return std::nullopt;
}
