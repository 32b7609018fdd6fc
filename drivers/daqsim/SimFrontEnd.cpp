#include "drivers/daqsim/SimFrontEnd.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {
constexpr std::uint32_t kSeed = 0x7A1E;
// The room's own sequence, apart from the converter's, so switching the room
// off leaves the converter noise as it was.
constexpr std::uint32_t kRoomSeed = 0x400F;
constexpr double kPi = 3.14159265358979323846;
} // namespace

double SimFrontEnd::GaussianSource::Next()
{
    State += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = State;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    // Four uniforms on [0, 1): mean 2, variance 4/12 = 1/3.
    const double sum = static_cast<double>((z & 0xFFFF) + ((z >> 16) & 0xFFFF) + ((z >> 32) & 0xFFFF) + (z >> 48));
    constexpr double kScale = 1.0 / 65536.0;
    constexpr double kUnitVariance = 1.7320508075688772;  // sqrt(3)
    return (sum * kScale - 2.0) * kUnitVariance;
}

SimFrontEnd::SimFrontEnd(int channel) : Channel(channel)
{
    Reset(48000.0);
}

bool SimFrontEnd::AmbientFromEnvironment()
{
    const char* value = std::getenv(kAmbientVariable);
    if (value == nullptr)
        return true;
    const std::string_view v(value);
    return !(v == "0" || v == "off" || v == "OFF" || v == "no" || v == "false");
}

void SimFrontEnd::Reset(double sampleRate)
{
    Random.Seed(kSeed + static_cast<std::uint32_t>(Channel));
    Room.Seed(kRoomSeed + static_cast<std::uint32_t>(Channel));
    Rumble = 0.0;
    Ambient = AmbientFromEnvironment();
    SettleFactor = 1.0 - std::exp(-1.0 / (kSensorSettleSeconds * sampleRate));
    RumbleFactor = 1.0 - std::exp(-2.0 * kPi * kAmbientRumbleHz / sampleRate);
}

float SimFrontEnd::Next(float played, double rangeVolts, bool sensorOn)
{
    if (sensorOn && !SensorWasOn)
        SensorVolts += kSensorStepVolts;
    SensorWasOn = sensorOn;
    const double target = sensorOn ? kSensorResidualVolts : 0.0;
    SensorVolts += (target - SensorVolts) * SettleFactor;

    double volts = played * kOutputFullScaleVolts + kNoiseVolts * Random.Next() + SensorVolts;
    if (Ambient) {
        // One-pole low-pass: unity gain below the corner, so the rumble's
        // lines stand kAmbientRumbleVolts / kAmbientHissVolts above the hiss.
        Rumble += (kAmbientRumbleVolts * Room.Next() - Rumble) * RumbleFactor;
        volts += kAmbientHissVolts * Room.Next() + Rumble;
    }
    return static_cast<float>(volts / rangeVolts);
}
