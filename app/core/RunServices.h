#pragma once
// Everything outside the run control that a run touches, handed over in one
// piece. None of it is owned; all of it outlives the run control.

#include "app/core/AcquisitionTimer.h"
#include "app/core/AudioSystem.h"
#include "app/core/DaqControl.h"
#include "app/core/DataLogControl.h"
#include "app/core/PlotViews.h"
#include "app/core/RunClock.h"
#include "app/core/RunObserver.h"
#include "app/core/RunUtilities.h"

struct RunServices {
    AcquisitionTimer& Timer;
    AudioSystem& Audio;
    DaqControl& Daq;
    RunClock& Clock;
    RunObserver& Observer;
    PlotViews& Plots;
    RunUtilities& Utilities;
    DataLogControl& DataLog;
};
