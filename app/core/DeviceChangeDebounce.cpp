#include "app/core/DeviceChangeDebounce.h"

#include "platform/Trace.h"

bool DeviceChangeDebounce::OnDeviceChange()
{
    if (m_Host.IsRunning())
        return true;
    m_Host.KillTimer();
    m_Host.ArmTimer(kDebounceMs);
    m_Pending = true;
    return true;
}

void DeviceChangeDebounce::OnTimer()
{
    m_Host.KillTimer();
    if (!m_Pending)
        return;
    m_Pending = false;
    // A run that began while the timer was armed owns its port now.
    if (m_Host.IsRunning()) {
        ++m_Dropped;
        return;
    }
    ++m_Refreshes;
    m_Host.ReleaseInputPort();
    platform::Trace("------------------- REFRESH DAQ ----------------\n");
    // The module needs a moment after its device nodes settle before it
    // answers on USB again.
    m_Host.Pause(kSettleMs);
    m_Host.ReopenDaq();
    if (!m_Host.IsRunning()) {
        if (m_Host.HasOutputPort()) {
            platform::Trace("--------- calling delete m_PSoundOut  ---------\n");
            m_Host.ReleaseOutputPort();
        }
        m_Host.ResetDaqCachedConfig();
    }
}

void DeviceChangeDebounce::Cancel()
{
    if (!m_Pending)
        return;
    m_Pending = false;
    m_Host.KillTimer();
}
