// Placeholder: being written.
#include "engine/SpectralData.h"

void SpectralData::FindPeak(std::uint32_t, std::uint32_t, float*, float*, int) const {}
void SpectralData::FindMinimum(std::uint32_t, std::uint32_t, float*, float*) const {}
float SpectralData::GetHoldValue(std::uint32_t) const { return kNoValue; }
float SpectralData::GetHoldMax(int, int) const { return kNoValue; }
float SpectralData::GetHoldPeakFrequency(int, int) const { return kNoValue; }
float SpectralData::GetBandPower(std::uint32_t, std::uint32_t, int, int, bool) { return kNoBandPower; }
float SpectralData::GetLevelAtFrequency(float) const { return 0.0f; }
float SpectralData::GetMaxValue(int, int) const { return kNoValue; }
float SpectralData::GetTHD() const { return 0.0f; }
float SpectralData::GetTHDN() const { return 0.0f; }
float SpectralData::GetSNR() const { return 0.0f; }
float SpectralData::GetSINAD() const { return 0.0f; }
float SpectralData::GetIMD() const { return 0.0f; }
float SpectralData::GetPhase(std::uint32_t) const { return 0.0f; }
void SpectralData::GetComplexValue(std::uint32_t, float* re, float* im) const { if (re) *re = 0; if (im) *im = 0; }
void SpectralData::SmoothAcrossBins(int) {}
std::uint32_t SpectralData::FindPeakLine(std::uint32_t, std::uint32_t, int) const { return 0; }
std::uint32_t SpectralData::FindPeakBand(std::uint32_t, std::uint32_t, int) const { return 0; }
void SpectralData::BuildGaussianPeakTable() {}
float SpectralData::GetGaussianPeakFrequency(std::uint32_t, std::uint32_t) const { return 0.0f; }
