#include "app/core/InputDeliveryWatch.h"

#include <algorithm>

double InputDeliveryWatch::LimitFor(std::uint32_t blockFrames, std::uint32_t rate)
{
    const double block = rate > 0 ? static_cast<double>(blockFrames) / rate : 0.0;
    return std::max(2.0 * block, kShortestLimitSeconds);
}

void InputDeliveryWatch::Start(double now, double limitSeconds, const SoundInputPort::DeliveryState& state)
{
    m_LastChange = now;
    m_LastCheck = now;
    m_Limit = limitSeconds;
    m_LastBuffers = state.Buffers;
}

InputDeliveryWatch::Fault InputDeliveryWatch::Check(double now, const SoundInputPort::DeliveryState& state)
{
    if (state.ResetRequested)
        return Fault::ResetRequested;
    const bool heldUp = now - m_LastCheck > m_Limit;
    m_LastCheck = now;
    if (state.Buffers != m_LastBuffers || heldUp) {
        m_LastBuffers = state.Buffers;
        m_LastChange = now;
        return Fault::None;
    }
    return now - m_LastChange > m_Limit ? Fault::Stalled : Fault::None;
}
