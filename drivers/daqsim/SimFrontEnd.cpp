#include "drivers/daqsim/SimFrontEnd.h"

#include <cmath>

namespace {
constexpr std::uint32_t kSeed = 0x7A1E;
} // namespace

SimFrontEnd::SimFrontEnd(int channel) : Channel(channel)
{
    Reset(48000.0);
}

void SimFrontEnd::Reset(double sampleRate)
{
    Random.seed(kSeed + static_cast<std::uint32_t>(Channel));
    Noise.reset();
    SettleFactor = 1.0 - std::exp(-1.0 / (kSensorSettleSeconds * sampleRate));
}

float SimFrontEnd::Next(float played, double rangeVolts, bool sensorOn)
{
    if (sensorOn && !SensorWasOn)
        SensorVolts += kSensorStepVolts;
    SensorWasOn = sensorOn;
    const double target = sensorOn ? kSensorResidualVolts : 0.0;
    SensorVolts += (target - SensorVolts) * SettleFactor;

    const double volts = played * kOutputFullScaleVolts + Noise(Random) + SensorVolts;
    return static_cast<float>(volts / rangeVolts);
}
