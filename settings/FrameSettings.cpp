#include "settings/FrameSettings.h"

FrameSettings::FrameSettings()
{
    Processing.SetFrameDefaults();
    for (int c = 0; c < 2; ++c) {
        Scaling[c] = ScalingOpts::FrameDefaults(c);
        Calibration[c] = DefaultChannelCalibration(c);
        Spectrum[c] = SpectrumOpts::FrameDefaults(c);
    }
}

void FrameSettings::ApplyStartupFixups()
{
    Processing.IndependentScalingAndCalibration = 1;
    Processing.ChannelProcessing = 2;
}
