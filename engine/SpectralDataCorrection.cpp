// Placeholder: being written.
#include "engine/SpectralData.h"

void SpectralData::SetCalibration(const TChannelCalibration*) {}
void SpectralData::UpdateCorrection() {}
bool SpectralData::LoadCompensation(const char*, bool) { return false; }
bool SpectralData::BuildWeightingCurve(platform::ZeroFilledArray<float>&, int) { return true; }
bool SpectralData::ReadCompensationFile(const char*, float*) { return false; }
void SpectralData::InterpolateTable(const float*, std::uint32_t, float*, bool) const {}
float SpectralData::GetWindowBandwidthFactor() const { return 1.0f; }
