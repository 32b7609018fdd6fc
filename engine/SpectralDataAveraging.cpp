// Placeholder: being written.
#include "engine/SpectralData.h"

void SpectralData::SetBlockTime(double) {}
void SpectralData::SetAveraging(std::uint16_t, std::uint32_t) {}
void SpectralData::ResetAveraging() {}
void SpectralData::Average(bool) {}
void SpectralData::UpdatePeakHold() {}
void SpectralData::SetPeakHoldMode(std::uint16_t) {}
void SpectralData::ClearHold() {}
void SpectralData::AverageCountFromSpeed(double) {}
float SpectralData::HoldTime() const { return 0.0f; }
float SpectralData::HoldDecay() const { return 0.0f; }
