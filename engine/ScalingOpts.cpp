#include "engine/ScalingOpts.h"

ScalingOpts ScalingOpts::FrameDefaults(int channel)
{
    ScalingOpts opts;
    const bool right = channel == 1;
    opts.AmpScaleType = right ? kLogMagnitude : kLogarithmic;
    opts.FreqScaleType = kFftLinear;
    opts.OctaveNumber = 3;
    opts.UtilityFreqSpanType = 2;
    opts.UtilityFreqCustomStart = right ? 1.0f : 900.0f;
    opts.UtilityFreqCustomStop = right ? 250.0f : 95000.0f;
    return opts;
}
