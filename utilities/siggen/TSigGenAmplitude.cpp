#include "utilities/siggen/TSigGenAmplitude.h"

#include <cmath>

double TSigGenAmplitude::GetChannelAmplitude(SigGenOutputSettings& output, int channel)
{
    const double L = channel == 0 ? output.OutputLevel : channel == 1 ? output.OutputLevelR : 0.0;
    if (!(output.FSVoltage > 0.0f))
        output.FSVoltage = 1.0f;
    const double V = output.FSVoltage;

    double A = 1.0;
    switch (output.OutputUnits) {
    case 0: A = std::pow(10.0, L / 20.0); break;
    case 1: A = L / 100.0; break;
    case 2: A = L / V; break;
    case 3: A = L / 1000.0 / V; break;
    case 4: A = std::pow(10.0, L / 20.0) / V; break;
    case 5: A = std::pow(10.0, L / 20.0) / 1000.0 / V; break;
    case 6: A = std::pow(10.0, L / 20.0) / V * 0.775; break;
    default: break;
    }
    if (!(A > 0.0))
        return 0.0;
    return A > 1.0 ? 1.0 : A;
}
