#include "settings/SigGenSettings.h"

#include <cmath>

void ToneSettings::UpdateLinearAmplitude()
{
    // Single precision, as the generator has always computed it.
    ToneLinearAmplitude = std::pow(10.0f, PwrDB / 20.0f);
}

void SigGenChannelSettings::UpdateToneAmplitudes()
{
    for (ToneSettings& tone : Tones)
        tone.UpdateLinearAmplitude();
}
