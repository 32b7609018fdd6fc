#include "settings/DataLogSettings.h"

LoggingOpts LoggingOpts::FrameDefaults(int channel)
{
    LoggingOpts opts;
    if (channel == 1) {
        opts.StartFreq = 20.0f;
        opts.StopFreq = 250.0f;
        opts.ThresholdType = 50;
        opts.ThresholdLevel = 0.025f;
        opts.DataItem[1] = 1;
    } else {
        opts.StartFreq = 900.0f;
        opts.StopFreq = 95000.0f;
        opts.ThresholdType = 25;
        opts.ThresholdLevel = 40.0f;
        opts.DataItem[0] = 1;
        opts.DataItem[25] = 1;
    }
    return opts;
}
