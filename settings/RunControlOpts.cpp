#include "settings/RunControlOpts.h"

void RunControlOpts::ApplyFixedValues()
{
    Mode = 0;
    LimitFFT = 100;
    LimitSeconds = 10.0f;
    bEnableRunDelay = 0;
    RunDelaySeconds = 1.0f;
    bUpdateIntervalFlag = 0;
    UpdateIntervalMilliseconds = 100;
    bStartMultipleInstances = 0;
}
