#pragma once
// Turning a channel's calibration method (calibrator level, or a
// transducer's sensitivity) into the ratio the spectra are scaled by, and
// the unit conversions the readouts and the relative calibration share.
// Plain functions over TChannelCalibration; no device is touched here: the
// caller says whether the input is the DAQ module and at what range.

#include <cstdint>
#include <optional>

#include "audio/format/TChannelCalibration.h"

namespace calibration {

// CalCreateMode
inline constexpr std::uint16_t kModeCalibrator = 0;
inline constexpr std::uint16_t kModeVolts = 1;
inline constexpr std::uint16_t kModeSensitivity = 2;

// RefUnits codes this program writes.
inline constexpr std::uint32_t kUnitVolts = 1;
inline constexpr std::uint32_t kUnitPascals = 2;
inline constexpr std::uint32_t kUnitG = 3;
inline constexpr std::uint32_t kUnitRelative = 4;
inline constexpr std::uint32_t kUnitDbu = 7;
inline constexpr std::uint32_t kUnitHydrophonePascals = 10;

inline constexpr float kNoValue = -999.9f;
inline constexpr float kRmsOfPeak = 0.70710677f;

// Peak factor of RefType: 1, √2 or ½ (1 for unknown types).
float PeakFactor(std::uint32_t refType);

// selector 0: dB re 20 µPa; 1: dB re 1 µPa; others give 0.
float DbToPascals(int selector, float dB);
float PascalsToDb(int selector, float pascals);
float DbuToVolts(float dBu);
float VoltsToDbu(float volts);

// The reference level in the record's linear unit (the calibrator method).
float ReferenceLevelInUnits(const TChannelCalibration& record);
// The factor between the unit and the unit the dB values are shown against.
float UnitFactor(std::uint32_t refUnits);

// Derives CalRatio from the record's method. daqRange: the full-scale range
// in volts of the DAQ module's current input range, or nothing when the
// input is not the module. A calibrator level measured at another range is
// rescaled to the current one, and the record then says it was measured at
// the current one, so applying the same range again changes nothing.
void RecomputeCalibration(TChannelCalibration& record, std::optional<float> daqRange);

// A plot level (display units, amplitude scaling `ampScale`) as a fraction
// of full scale; *offsetDb receives the level's dB offset.
float LevelToFullScaleFraction(const TChannelCalibration& record, float level, std::uint16_t ampScale,
                               float* offsetDb);

} // namespace calibration
