#include "app/FrameTimer.h"

FrameTimer::FrameTimer(std::function<void()> onTimeout)
{
    m_Timer.setSingleShot(true);
    // Window timers fire at millisecond steps; a coarse timer would stretch
    // the 10 ms acquisition interval.
    m_Timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_Timer, &QTimer::timeout, [callback = std::move(onTimeout)] { callback(); });
}

void FrameTimer::Start(std::uint32_t intervalMs)
{
    m_Timer.start(static_cast<int>(intervalMs));
}
