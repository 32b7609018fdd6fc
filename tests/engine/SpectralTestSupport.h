#pragma once
// Building blocks for spectral-data tests: settings, synthetic blocks in
// sample codes, one pass of the chain, and access to the object's arrays.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/SpectralData.h"
#include "engine/TSmoothing.h"
#include "platform/MessageBox.h"

namespace spectral_test {

// The message a spectral-data object shows when memory cannot be had.
inline const std::string kNoMemory = "SpectralData - Insufficient memory available for working memory";

// A record as the main frame runs it, at the given rate and size: one
// channel, 16-bit, Flattop window, linear-then-exponential averaging over
// `blocks` blocks (AverageMode 0).
TProcessingSettings MakeSettings(std::uint32_t rate = 48000, std::uint32_t fftSize = 65536,
                                 std::uint32_t blocks = 1, std::uint16_t averageType = 0);

// Flat narrowband scaling with the given amplitude scale.
ScalingOpts MakeScaling(std::uint16_t ampScale = ScalingOpts::kLinear,
                        std::uint16_t freqScale = ScalingOpts::kFftLinear);

// N samples of a sine (in sample codes) of `fraction` of full scale at
// `frequency` Hz; full scale is the format's half range.
std::vector<float> Tone(const TProcessingSettings& settings, double frequency, double fraction);

// Gaussian white noise of the given RMS (in sample codes), seeded.
std::vector<float> WhiteNoise(std::uint32_t count, double rms, unsigned seed);

// Copies the block in, applies the window, transforms, averages and
// updates the hold: one pass of the chain for one channel.
void RunBlock(SpectralData& data, const std::vector<float>& samples, const TSmoothing& window, double blockTime = 0);

// Sets lines' averaged power, and their dB where the object keeps dB, as a new average.
void SetLines(SpectralData& data, const std::vector<std::pair<std::uint32_t, double>>& lines);

} // namespace spectral_test

// Direct access to a spectral-data object's arrays, for tests that set a
// known spectrum and check what is derived from it.
struct SpectralDataTestAccess {
    static float* AvgPower(SpectralData& d) { return d.m_AvgPower.data(); }
    static float* AvgDb(SpectralData& d) { return d.m_AvgDb.data(); }
    static float* AvgComplex(SpectralData& d) { return d.m_AvgComplex.data(); }
    static float* LatestPower(SpectralData& d) { return d.m_LatestPower.data(); }
    static float* BandLevels(SpectralData& d) { return d.m_BandLevels.data(); }
    static THoldEntry* Hold(SpectralData& d) { return d.m_Hold.data(); }
    // Writes past the object's own bookkeeping, as nothing in it does.
    static float* Correction(SpectralData& d) { return d.m_Correction.data(); }
    static void SetPeakLine(SpectralData& d, std::uint32_t line) { d.m_PeakLine = line; }
    static void MarkAveraged(SpectralData& d) { ++d.m_AveragePass; }
    static void SetTotalPower(SpectralData& d, float power) { d.m_TotalPower = power; }
    static void SetHoldTotalPower(SpectralData& d, float power) { d.m_HeldTotalPower = power; }
    static void ComputeBandLevels(SpectralData& d, bool means, bool latest) { d.ComputeBandLevels(means, latest); }
    static float* LatestBandLevels(SpectralData& d) { return d.m_LatestBandLevels.data(); }
    static TBandLineMap* BandLineMap(SpectralData& d) { return d.m_BandLineMap.data(); }
    static void BuildOctaveBands(SpectralData& d) { d.BuildOctaveBands(); }
    static void BuildBandLineMap(SpectralData& d) { d.BuildBandLineMap(); }
};
