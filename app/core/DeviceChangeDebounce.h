#pragma once
// What the frame does when sound devices come and go. Notices arrive in
// bursts (a USB module brings several device nodes), so each notice re-arms
// a 1500 ms timer and only the last one leads to a refresh: the input port
// is released (the next Run makes a new one on whatever device is there
// then), the DAQ module is opened afresh, and, while stopped, the output
// port goes too and the module's cached input configuration is forgotten.
//
// Notices during acquisition or playback, or while a run is starting (its
// start may wait on a message box), are ignored: the running analyzer keeps
// its port. A refresh armed while stopped must not reach a run that starts
// within the 1.5 s, so starting a run cancels it, and the refresh looks at
// the run state again when it fires and is dropped if a run has begun.

#include <cstdint>

class DeviceChangeDebounce {
public:
    static constexpr std::uint32_t kDebounceMs = 1500;
    static constexpr std::uint32_t kSettleMs = 500;

    class Host {
    public:
        virtual ~Host() = default;
        // The one-shot timer that calls OnTimer.
        virtual void ArmTimer(std::uint32_t milliseconds) = 0;
        virtual void KillTimer() = 0;
        // Acquisition or playback runs or is starting.
        virtual bool IsRunning() const = 0;
        virtual void ReleaseInputPort() = 0;
        virtual bool HasOutputPort() const = 0;
        virtual void ReleaseOutputPort() = 0;
        virtual void Pause(std::uint32_t milliseconds) = 0;
        virtual void ReopenDaq() = 0;
        virtual void ResetDaqCachedConfig() = 0;
    };

    explicit DeviceChangeDebounce(Host& host) : m_Host(host) {}

    // A device arrived or left. Always answers true, as the notice's
    // handler must.
    bool OnDeviceChange();
    // The timer fired: the refresh, unless a run has begun meanwhile.
    void OnTimer();
    // A run starts: a pending refresh is dropped.
    void Cancel();

    bool IsPending() const { return m_Pending; }
    // Refreshes carried out so far.
    int RefreshCount() const { return m_Refreshes; }
    // Refreshes dropped because a run had begun when they fell due.
    int DroppedCount() const { return m_Dropped; }

private:
    Host& m_Host;
    bool m_Pending = false;
    int m_Refreshes = 0;
    int m_Dropped = 0;
};
