#pragma once
// Fixed texts of the spectrum plot: the power readouts' names by weighting,
// the level readout, the spectral-density unit, the axis title and the
// peak-hold choices.

#include <array>
#include <cstdint>
#include <string>

// "Pwr", "Pwr A", "Pwr B", "Pwr C" for weighting 0 … 3; "Pwr" otherwise.
const char* PowerCaption(std::uint16_t weighting);

// "<caption> =%1.2f".
std::string LevelReadoutText(std::uint16_t weighting, float power);

// "PSD: Units^2/Hz" (type 0) or "PSD: Units/sqrt(Hz)".
const char* DensityUnitText(std::uint16_t densityType);

inline constexpr const char* kFrequencyAxisTitle = "Frequency (Hz)";
inline constexpr const char* kCoherenceUnitLabel = "Coherence";
inline constexpr const char* kOverlayLegendHeading = "Overlays";

// The peak-hold list's items; an item's data is its index.
inline constexpr std::array<const char*, 5> kPeakHoldItems = {"Off", "Fast", "Medium", "Slow", "Forever"};
