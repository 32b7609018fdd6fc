// Placeholder: being written.
#include "engine/SpectralData.h"

float SpectralData::NominalBandCenter(float) const { return 0.0f; }
float SpectralData::GetBandCenter(std::uint32_t) const { return 0.0f; }
float SpectralData::GetBandLowerEdge(std::uint32_t) const { return 0.0f; }
float SpectralData::GetBandUpperEdge(std::uint32_t) const { return 0.0f; }
std::uint32_t SpectralData::FrequencyToBand(float) const { return 0; }
std::uint32_t SpectralData::GetFirstBand() const { return 0; }
std::uint32_t SpectralData::GetLastBand() const { return 0; }
void SpectralData::BuildOctaveBands() {}
void SpectralData::BuildBandLineMap() {}
void SpectralData::ComputeBandLevels(bool, bool) {}
