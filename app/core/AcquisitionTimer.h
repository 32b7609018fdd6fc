#pragma once
// The acquisition timer the run control arms and kills. The frame backs it
// with a single-shot QTimer whose timeout calls TRunControl::OnTimer; tests
// use a fake that only remembers what was asked.

#include <cstdint>

class AcquisitionTimer {
public:
    virtual ~AcquisitionTimer() = default;
    // (Re)arms the timer to fire once after the interval.
    virtual void Start(std::uint32_t intervalMs) = 0;
    // Harmless when the timer is not armed.
    virtual void Stop() = 0;
};
