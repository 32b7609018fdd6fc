#include "settings/SpectrumOpts.h"

SpectrumOpts SpectrumOpts::FrameDefaults(int plot)
{
    SpectrumOpts opts;
    if (plot == 1) {
        opts.PlotTop = 1.0f;
        opts.PlotRange = 0.0001f;
        opts.StartFreq = 1.0f;
        opts.StopFreq = 500.0f;
        opts.DrawThickSpectrum = 1;
        opts.DrawThickPeakHold = 1;
        opts.DrawThickOverlays = 1;
    }
    return opts;
}
