#pragma once
// The range of every floating-point field the .cfg file carries, record by
// record. A value outside its field's range (NaN and the infinities are
// outside every range) takes the field's default: the value the reader gives
// a missing key, handed in as a whole record.
//
// These are sanity ranges: wide enough for anything a dialog accepts, even
// in a field that is switched off, and narrow enough that no later sum,
// product or integer cast overflows. What a dialog narrows further (a plot
// top within its amplitude scale's limits, a frequency up to Nyquist, a
// level up to full scale, with a value beyond an inclusive bound set to that
// bound) the settings limits do after this.

#include <cstdint>
#include <string>

#include "settings/FrameSettings.h"

struct FloatRange {
    float Low;
    float High;
    // An open end excludes the bound itself ("greater than zero").
    bool LowOpen = false;
    bool HighOpen = false;
    bool Contains(float value) const
    {
        return (LowOpen ? value > Low : value >= Low) && (HighOpen ? value < High : value <= High);
    }
};

// A typed number as a float field holds it: beyond the float range it is an
// infinity (which no range contains), never an undefined conversion.
float ToFloatField(double value);

// A field's value as a sheet shows it: "%.<decimals>f" when that reads back
// as the value, else the fewest digits that do, so that OK on an unchanged
// sheet never rounds what it stores.
std::string FloatFieldText(float value, int decimals);

// Ranges a sheet checks typed values against and the reader keeps, so that
// whatever a sheet accepts comes back unchanged from the file.
namespace field_ranges {
// Hz: every frequency a sheet takes (a span, a marker, a plot's start and
// stop), far above any rate's Nyquist.
inline constexpr float kHighestFrequencyHz = 1.0e6f;
inline constexpr FloatRange kFrequencyHz{0.0f, kHighestFrequencyHz, true, false};
// A calibrator's level, dB SPL: 194 dB is the loudest undistorted sound in air.
inline constexpr FloatRange kCalibratorLevelDb{0.0f, 200.0f, true, false};
// A microphone's or accelerometer's sensitivity, V/Pa or V/g (1 µV to 10 V).
inline constexpr FloatRange kSensitivityVolts{1.0e-6f, 10.0f};
// A hydrophone's sensitivity, dB re 1 V/µPa: always below zero.
inline constexpr FloatRange kHydrophoneDb{-240.0f, 0.0f, false, true};
// A reading in display units (a data-log threshold).
inline constexpr FloatRange kReadingLevel{-1.0e6f, 1.0e6f};
// The generator's full-scale output, volts.
inline constexpr FloatRange kFullScaleVolts{1.0e-6f, 1.0e6f};
// A printed page's margin, inches.
inline constexpr FloatRange kMarginInches{0.0f, 20.0f};
} // namespace field_ranges

void BoundPrintFloats(PrintOpts& opts, const PrintOpts& defaults);
void BoundProcessingFloats(TProcessingSettings& settings, const TProcessingSettings& defaults);
void BoundScalingFloats(ScalingOpts& opts, const ScalingOpts& defaults);
void BoundCalibrationFloats(TChannelCalibration& cal, const TChannelCalibration& defaults);
// The name of the first float field of a calibration record ("CalRatio")
// that lies outside the range the reader above keeps it to; empty when every
// one lies inside; value receives the field's value. Records from elsewhere
// (a wave file's) are checked with it before they are taken: as read, then
// once more after their ratio has been derived.
//
// As read, a zero in a field the record's method never reads (older records
// leave them so), or a zero ratio the method derives, counts as unset. A
// method that derives the ratio from the input range (volts, sensitivity)
// needs a range above zero. A derived ratio is never unset: zero is refused.
enum class CalibrationStage { AsRead, Derived };
std::string CalibrationFieldOutOfRange(const TChannelCalibration& cal, float* value = nullptr,
                                       CalibrationStage stage = CalibrationStage::AsRead);
void BoundTriggerFloats(TriggerOpts& opts, const TriggerOpts& defaults);
void BoundRunControlFloats(RunControlOpts& opts, const RunControlOpts& defaults);
void BoundMarkerFloats(MarkerOpts& opts, const MarkerOpts& defaults);
void BoundSeriesFloats(SeriesOpts& opts, const SeriesOpts& defaults);
void BoundSpectrumFloats(SpectrumOpts& opts, const SpectrumOpts& defaults);
void BoundLoggingFloats(LoggingOpts& opts, const LoggingOpts& defaults);
void BoundSigGenChannelFloats(SigGenChannelSettings& settings, const SigGenChannelSettings& defaults);
void BoundSigGenOutputFloats(SigGenOutputSettings& settings, const SigGenOutputSettings& defaults);

// Every record above; defaults holds what the reader gives missing keys.
void BoundFloatFields(FrameSettings& settings, const FrameSettings& defaults);
