#pragma once
// The signal generator's settings: per channel the signal type and the
// parameters of every type (so switching types keeps each type's values),
// and one record of output levels.
// Belongs with the generator in the utilities layer; lives here until that
// layer exists, since the settings files must read and write it first.

#include <cstddef>
#include <cstdint>

// Signal type codes of SigGenChannelSettings::SigType.
enum SigType : std::int32_t {
    kSigWhiteNoise = 0,
    kSigPinkNoise = 1,
    kSigNoiseBurst = 2,
    kSigTone1kHz = 3,
    kSigMultipleTones = 4,
    kSigToneBurst = 5,
    kSigIMD = 6,
    kSigFreqSweep = 7,
    kSigLevelSweep = 8,
    kSigSawtooth = 9,
    kSigTriangular = 10,
    kSigPulse = 11,
    kSigSquare = 12,
    kSigUserWave = 13,
    // Stored and saved, never built.
    kSigDTMF = 14,
    kSigSilence = 15,
    kSigFreqStep = 16,
    kSigTypeCount = 17,
};

struct ToneSettings {
    std::uint8_t ToneEnable = 0;
    float FreqHz = 1000.0f;
    // Relative to the output level.
    float PwrDB = 0.0f;
    // 10^(PwrDB / 20), kept in step with PwrDB; not stored in files.
    float ToneLinearAmplitude = 1.0f;

    void UpdateLinearAmplitude();

    bool operator==(const ToneSettings&) const = default;
};

struct NoiseBurstSettings {
    // 1 pink, 0 white
    std::uint16_t Type = 1;
    std::int32_t BurstTimeMsec = 1000;
    std::int32_t CycleTimeMsec = 2000;
    bool operator==(const NoiseBurstSettings&) const = default;
};

struct FreqSweepSettings {
    float FStartHz = 1000.0f;
    float FStopHz = 2000.0f;
    std::int32_t TimeMSec = 10000;
    // 1 linear, 2 logarithmic
    std::int32_t SweepType = 1;
    std::uint8_t SingleSweepFlag = 0;
    std::uint8_t ReturnSweepFlag = 0;
    bool operator==(const FreqSweepSettings&) const = default;
};

struct FreqStepSettings {
    float FStartHz = 20.0f;
    float FStopHz = 22000.0f;
    // Hz, linear steps
    float StepSize = 1000.0f;
    // Fraction denominator of octave steps (3 = third octaves).
    std::int32_t OctaveNumber = 3;
    std::int32_t DwellTimeMSec = 1000;
    // 1 linear, 2 octave fractions
    std::int32_t StepType = 1;
    std::uint8_t SingleStepFlag = 0;
    std::uint8_t ReturnStepFlag = 0;
    bool operator==(const FreqStepSettings&) const = default;
};

struct LevelSweepSettings {
    // dB relative to the output level
    float StartDB = -20.0f;
    float StopDB = 0.0f;
    float FreqHz = 1000.0f;
    std::int32_t TimeMSec = 10000;
    bool operator==(const LevelSweepSettings&) const = default;
};

struct ToneBurstSettings {
    // Whole Hz.
    std::int32_t FreqHz = 1000;
    std::int32_t BurstTimeMsec = 1000;
    std::int32_t CycleTimeMsec = 2000;
    bool operator==(const ToneBurstSettings&) const = default;
};

struct IMDSettings {
    // 0 and 1 the standard tone pairs, 2 the custom pair below
    std::uint16_t IMDtype = 0;
    float LoFreqHz = 100.0f;
    float HiFreqHz = 5000.0f;
    float PwrRatio = 4.0f;
    bool operator==(const IMDSettings&) const = default;
};

struct PulseSettings {
    // Both in microseconds, whatever the names say.
    std::int32_t WidthNSec = 200;
    std::int32_t RepIntervalNSec = 10000;
    std::uint8_t OneShotFlag = 0;
    bool operator==(const PulseSettings&) const = default;
};

struct SawtoothSettings {
    // +1 rising, −1 falling
    std::int32_t Slope = 1;
    float FreqHz = 1000.0f;
    bool operator==(const SawtoothSettings&) const = default;
};

struct TriangularSettings {
    float FreqHz = 1000.0f;
    bool operator==(const TriangularSettings&) const = default;
};

struct SquareSettings {
    float FreqHz = 2000.0f;
    std::int32_t DutyCyclePct = 50;
    bool operator==(const SquareSettings&) const = default;
};

struct UserDefinedSettings {
    static constexpr std::size_t kFileNameSize = 260;
    char WaveFileName[kFileNameSize] = {};
    std::uint8_t RepeatFlag = 1;
    bool operator==(const UserDefinedSettings&) const = default;
};

struct DTMFSettings {
    static constexpr std::size_t kKeyStringSize = 100;
    char KeyString[kKeyStringSize] = "1234567890*#ABCD";
    std::int32_t PulseWidthMsec = 100;
    std::int32_t PulseSpacingMsec = 100;
    float TwistDB = 3.0f;
    std::uint8_t RepeatFlag = 0;
    bool operator==(const DTMFSettings&) const = default;
};

struct SigGenChannelSettings {
    static constexpr std::size_t kToneCount = 10;

    std::int32_t SigType = kSigTone1kHz;
    NoiseBurstSettings NoiseBurst;
    FreqSweepSettings FreqSweep;
    FreqStepSettings FreqStep;
    LevelSweepSettings LevelSweep;
    // Tone 0 on at 1000 Hz, tone n off at 1000 × (n + 1) Hz.
    ToneSettings Tones[kToneCount] = {{1, 1000.0f},  {0, 2000.0f}, {0, 3000.0f}, {0, 4000.0f},
                                      {0, 5000.0f},  {0, 6000.0f}, {0, 7000.0f}, {0, 8000.0f},
                                      {0, 9000.0f}, {0, 10000.0f}};
    ToneBurstSettings ToneBurst;
    IMDSettings IMD;
    PulseSettings Pulse;
    SawtoothSettings Sawtooth;
    TriangularSettings Triangular;
    SquareSettings Square;
    UserDefinedSettings UserDefined;
    DTMFSettings DTMF;

    void UpdateToneAmplitudes();

    bool operator==(const SigGenChannelSettings&) const = default;
};

struct SigGenOutputSettings {
    // In OutputUnits, per channel.
    float OutputLevel = -6.0f;
    float OutputLevelR = -6.0f;
    // 0 dB full scale, 1 percent of full scale, 2 V rms, 3 mV rms, 4 dBV,
    // 5 dBmV, 6 dBu
    std::int32_t OutputUnits = 0;
    // 1: the sound card's full-scale voltage is unknown; 0: it is FSVoltage
    std::uint16_t FSOption = 1;
    // Volts rms.
    float FSVoltage = 1.0f;

    static constexpr std::int32_t kLastUnit = 6;

    bool operator==(const SigGenOutputSettings&) const = default;
};
