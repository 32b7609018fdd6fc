#pragma once
// The linear amplitude of a channel (1.0 = full scale) from the output level
// in its unit.

#include "settings/SigGenSettings.h"

class TSigGenAmplitude {
public:
    // In [0, 1]. A level beyond full scale plays at full scale; one that
    // gives no positive amplitude (0 %, 0 V, a damaged value) plays silence:
    // full scale into a transducer or an ear is never the safe reading.
    // A full-scale voltage not above 0 is set to 1.0 in `output`.
    static double GetChannelAmplitude(SigGenOutputSettings& output, int channel);
};
