#pragma once
// What the simulated module's inputs hear: its own outputs through a loopback
// cable, the converter's own low noise, the room a measurement microphone
// would pick up, and, while a channel's sensor current is on, the settling DC
// step an IEPE input shows. Everything is worked out in volts and scaled by
// the input range the module is set to; every noise comes from a fixed seed.
//
// The room (the ambient floor) is broadband hiss plus a low rumble below
// about 100 Hz. Its level is set so that, at the default range and
// calibration (full scale 0.625 V read as 1 Pa peak), the default analysis
// (65536 lines' worth of Flattop at 192 kHz) draws it some 10 dB above the
// default plot's 0 dB SPL floor, with the rumble some 20 dB higher still; a
// −6 dBFS tone stands about 75 dB above it. Tests that need the converter's
// quiet alone switch it off: TALVENOR_DAQSIM_AMBIENT=0 (read at each start).

#include <cstdint>

class SimFrontEnd {
public:
    // Full-scale output in volts: at the default range (gain 16) the loopback
    // gives back exactly what was played.
    static constexpr double kOutputFullScaleVolts = 0.625;
    // Input-referred converter noise, volts rms.
    static constexpr double kNoiseVolts = 2e-6;
    // The room: broadband hiss, volts rms, and the rumble's source (volts
    // rms before its low-pass) and corner.
    static constexpr double kAmbientHissVolts = 3.9e-3;
    static constexpr double kAmbientRumbleVolts = 3.9e-2;
    static constexpr double kAmbientRumbleHz = 100.0;
    // The environment variable that switches the room off ("0", "off", "no").
    static constexpr const char* kAmbientVariable = "TALVENOR_DAQSIM_AMBIENT";
    // The sensor current's step when switched on, what remains of it once
    // settled, and how fast it settles.
    static constexpr double kSensorStepVolts = 0.02;
    static constexpr double kSensorResidualVolts = 0.001;
    static constexpr double kSensorSettleSeconds = 0.2;

    explicit SimFrontEnd(int channel);

    // Restarts the noise sequences, settles the sensor state at a rate and
    // reads whether the environment switches the room off.
    void Reset(double sampleRate);
    // One input sample, full scale ±1, for an output sample (full scale ±1)
    // played one buffer earlier on the same channel.
    float Next(float played, double rangeVolts, bool sensorOn);

    bool AmbientOn() const { return Ambient; }

    // Whether the environment leaves the room on (it does unless told).
    static bool AmbientFromEnvironment();

    // A seeded, cheap, near-Gaussian source (unit variance): the sum of four
    // 16-bit uniforms from one SplitMix64 step. The tails end at ±3.5 σ, which
    // a noise floor never shows; the library's normal distribution cost the
    // simulated module more than the whole analysis.
    class GaussianSource {
    public:
        void Seed(std::uint64_t seed) { State = seed; }
        double Next();

    private:
        std::uint64_t State = 0;
    };

private:
    int Channel;
    GaussianSource Random;
    GaussianSource Room;
    double RumbleFactor = 0.0;
    double Rumble = 0.0;
    bool Ambient = true;
    double SettleFactor = 0.0;
    double SensorVolts = 0.0;
    bool SensorWasOn = false;
};
