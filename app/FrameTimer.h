#pragma once
// A one-shot window timer as the run control and the device-change debounce
// ask for one: armed for an interval, killed at will, re-armed from its own
// handler.

#include "app/core/AcquisitionTimer.h"

#include <QTimer>

#include <functional>

class FrameTimer final : public AcquisitionTimer {
public:
    explicit FrameTimer(std::function<void()> onTimeout);

    void Start(std::uint32_t intervalMs) override;
    void Stop() override { m_Timer.stop(); }
    bool IsActive() const { return m_Timer.isActive(); }
    int Interval() const { return m_Timer.interval(); }

private:
    QTimer m_Timer;
};
