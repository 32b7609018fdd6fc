#pragma once
// What the main window shows of a run: the side bar's Run and Stop buttons,
// the status bar, the plots' idle marks and the analysis viewers. The frame
// implements it over its widgets; the run control only says when.

class RunObserver {
public:
    // The status bar's refresh modes.
    enum StatusMode { kRunStateText = 1, kWholeStatus = 2, kLevelPanes = 3 };

    virtual ~RunObserver() = default;
    // The side bar's run buttons.
    virtual void UpdateRunState() = 0;
    virtual void UpdateStatus(StatusMode mode) = 0;
    virtual void SetPlotsActive() = 0;
    virtual void SetPlotsIdle() = 0;
    // Recomputes each open analysis viewer from the display objects.
    virtual void UpdateUtilityWindows() = 0;
};
