#include "settings/TriggerOpts.h"

void TriggerOpts::ClearRunState()
{
    const TriggerOpts cleared;
    TriggerCount = cleared.TriggerCount;
    DetectedFlag = cleared.DetectedFlag;
    AcquiringFlag = cleared.AcquiringFlag;
    AcquiringPercent = cleared.AcquiringPercent;
    StartPosition = cleared.StartPosition;
    ReadPosition = cleared.ReadPosition;
    SparePosition = cleared.SparePosition;
    ForceFlag = cleared.ForceFlag;
}
