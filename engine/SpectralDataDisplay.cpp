// Placeholder: being written.
#include "engine/SpectralData.h"

float SpectralData::GetValue(std::uint32_t, bool) const { return 0.0f; }
const char* SpectralData::GetUnitLabel(bool) const { return ""; }
void SpectralData::SetUnitLabels(const char*, const char*) {}
void SpectralData::AddOffset(float, const TChannelCalibration&) {}
float SpectralData::GetUnitOffsetDb() const { return 0.0f; }
