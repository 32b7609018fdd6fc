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

#include "settings/FrameSettings.h"

struct FloatRange {
    float Low;
    float High;
    bool Contains(float value) const { return value >= Low && value <= High; }
};

void BoundPrintFloats(PrintOpts& opts, const PrintOpts& defaults);
void BoundProcessingFloats(TProcessingSettings& settings, const TProcessingSettings& defaults);
void BoundScalingFloats(ScalingOpts& opts, const ScalingOpts& defaults);
void BoundCalibrationFloats(TChannelCalibration& cal, const TChannelCalibration& defaults);
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
