#include "plot/PlotCaptions.h"

#include "platform/NumberText.h"

const char* PowerCaption(std::uint16_t weighting)
{
    switch (weighting) {
    case 1: return "Pwr A";
    case 2: return "Pwr B";
    case 3: return "Pwr C";
    default: return "Pwr";
    }
}

std::string LevelReadoutText(std::uint16_t weighting, float power)
{
    return std::string(PowerCaption(weighting)) + " =" + platform::FormatFixed(power, 2);
}

const char* DensityUnitText(std::uint16_t densityType)
{
    return densityType == 0 ? "PSD: Units^2/Hz" : "PSD: Units/sqrt(Hz)";
}
