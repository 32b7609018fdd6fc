#pragma once
// What the simulated module's inputs hear: its own outputs through a loopback
// cable, a low noise floor from a fixed seed, and, while a channel's sensor
// current is on, the settling DC step an IEPE input shows. Everything is
// worked out in volts and scaled by the input range the module is set to.

#include <cstdint>
#include <random>

class SimFrontEnd {
public:
    // Full-scale output in volts: at the default range (gain 16) the loopback
    // gives back exactly what was played.
    static constexpr double kOutputFullScaleVolts = 0.625;
    // Input-referred noise, volts rms.
    static constexpr double kNoiseVolts = 2e-6;
    // The sensor current's step when switched on, what remains of it once
    // settled, and how fast it settles.
    static constexpr double kSensorStepVolts = 0.02;
    static constexpr double kSensorResidualVolts = 0.001;
    static constexpr double kSensorSettleSeconds = 0.2;

    explicit SimFrontEnd(int channel);

    // Restarts the noise sequence and settles the sensor state at a rate.
    void Reset(double sampleRate);
    // One input sample, full scale ±1, for an output sample (full scale ±1)
    // played one buffer earlier on the same channel.
    float Next(float played, double rangeVolts, bool sensorOn);

private:
    int Channel;
    std::mt19937 Random;
    std::normal_distribution<double> Noise{0.0, kNoiseVolts};
    double SettleFactor = 0.0;
    double SensorVolts = 0.0;
    bool SensorWasOn = false;
};
