#pragma once
// The main frame as the side bar sees it.

#include "app/FrameCommandTarget.h"

class SidebarFrame : public virtual FrameCommandTarget {
public:
    virtual bool IsRunning() const = 0;
    // Data logging is switched on for this run (DataLogSettings::Active).
    virtual bool IsDataLoggingActive() const = 0;

protected:
    ~SidebarFrame() = default;
};
