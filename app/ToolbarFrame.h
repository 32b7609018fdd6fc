#pragma once
// The main frame as the tool bar sees it: which windows exist.

#include "app/FrameCommandTarget.h"

class ToolbarFrame : public virtual FrameCommandTarget {
public:
    virtual bool IsTriggerEnabled() const = 0;
    virtual bool HasSignalGenerator() const = 0;
    // Either of the two spectrum plots.
    virtual bool HasSpectrumPlot() const = 0;
    virtual bool HasPeakFrequencyViewer() const = 0;
    virtual bool HasPeakAmplitudeViewer() const = 0;
    virtual bool HasTotalPowerViewer() const = 0;

protected:
    ~ToolbarFrame() = default;
};
