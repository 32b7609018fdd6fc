#pragma once
// How one channel's spectrum is scaled and shown: amplitude and frequency
// axes, octave bands, spectral density, weighting, microphone compensation,
// and the span the analysis viewers measure over. Two live in the main frame.

#include <cstdint>

struct ScalingOpts {
    // 0 "Linear", 1 "Logarithmic" (dB), 2 "Log Magnitude"
    std::uint16_t AmpScaleType = 0;
    // 0 FFT lines on a linear axis, 1 FFT lines on a log axis, 2 fractional-octave bands
    std::uint16_t FreqScaleType = 0;
    // b of the 1/b-octave bands; 0 is taken as 1
    std::uint16_t OctaveNumber = 3;
    std::uint8_t SpectralDensityFlag = 0;
    // 0 "PSD: Units^2/Hz", 1 "PSD: Units/sqrt(Hz)"
    std::uint16_t SpectralDensityType = 0;
    // 0 flat, 1 A, 2 B, 3 C
    std::uint16_t StandardWeighting = 0;
    std::uint16_t TotalPowerWeighting = 0;
    std::uint8_t MicCompEnable = 0;
    char MicCompFilename[260] = {};
    // 0 full analyzer span, 1 the plot's displayed span, 2 custom
    std::uint16_t UtilityFreqSpanType = 2;
    float UtilityFreqCustomStart = 0.0f;
    float UtilityFreqCustomStop = 0.0f;

    enum AmpScale : std::uint16_t { kLinear = 0, kLogarithmic = 1, kLogMagnitude = 2 };
    enum FreqScale : std::uint16_t { kFftLinear = 0, kFftLog = 1, kOctave = 2 };

    // The main frame's starting values for channel 0 (left) or 1 (right).
    static ScalingOpts FrameDefaults(int channel);

    bool operator==(const ScalingOpts&) const = default;
};
