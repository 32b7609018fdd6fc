// Placeholder: being written.
#include "engine/SpectralData.h"

void SpectralData::AverageLeftRight(const float*, const float*) {}
void SpectralData::CrossSpectrum(const float*, const float*) {}
void SpectralData::MagnitudeRatio(const float*, const float*, const float*, const float*) {}
void SpectralData::TransferFunction(const float*) {}
void SpectralData::Coherence(const float*, const float*) {}
