#pragma once
// Whether the input device of a run is still delivering. A driver whose
// device or server goes away asks to be reset and then hands over nothing;
// a device that simply stops hands over nothing either. Judged by time on
// the run's clock, not by how often it is asked, so a loop that steps only
// when data arrives and one that polls agree. A check that comes more than
// the limit after the one before judges nothing: the whole program was held
// up (a stalled machine), the driver with it, and its loss is told apart.

#include <cstdint>

#include "audio/SoundInputPort.h"

class InputDeliveryWatch {
public:
    enum class Fault { None, ResetRequested, Stalled };

    // The shortest time without a buffer that counts as a stop: a
    // scheduler's hiccup on a loaded machine must not end a run.
    static constexpr double kShortestLimitSeconds = 0.5;

    // Two analysis blocks, but never below the shortest limit.
    static double LimitFor(std::uint32_t blockFrames, std::uint32_t rate);

    // The run starts at `now` with the port's state as it is then.
    void Start(double now, double limitSeconds, const SoundInputPort::DeliveryState& state);
    Fault Check(double now, const SoundInputPort::DeliveryState& state);
    double GetLimitSeconds() const { return m_Limit; }

private:
    double m_LastChange = 0.0;
    double m_LastCheck = 0.0;
    double m_Limit = kShortestLimitSeconds;
    std::uint32_t m_LastBuffers = 0;
};
