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
    Random.seed(kSeed + static_cast<std::uint32_t>(Channel));
    Noise.reset();
    Room.seed(kRoomSeed + static_cast<std::uint32_t>(Channel));
    Hiss.reset();
    RumbleSource.reset();
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

    double volts = played * kOutputFullScaleVolts + Noise(Random) + SensorVolts;
    if (Ambient) {
        // One-pole low-pass: unity gain below the corner, so the rumble's
        // lines stand kAmbientRumbleVolts / kAmbientHissVolts above the hiss.
        Rumble += (RumbleSource(Room) - Rumble) * RumbleFactor;
        volts += Hiss(Room) + Rumble;
    }
    return static_cast<float>(volts / rangeVolts);
}
