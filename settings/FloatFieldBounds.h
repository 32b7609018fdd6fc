#pragma once
// The range of every floating-point field the .cfg file carries, record by
// record. A value outside its field's range (NaN and the infinities are
// outside every range) takes the field's default: the value the reader gives
// a missing key, handed in as a whole record.
//
// The plot's amplitude fields take the plot's own limits. The others are
// sanity ranges: wide enough for anything a dialog accepts, even in a field
// that is switched off, and narrow enough that no later sum, product or
// integer cast overflows. What a dialog narrows further (a frequency up to
// Nyquist, a level up to full scale, with a value beyond an inclusive bound
// set to that bound) the settings limits do after this.

#include <cstdint>

#include "settings/FrameSettings.h"

struct FloatRange {
    float Low;
    float High;
    bool Contains(float value) const { return value >= Low && value <= High; }
};

// The plot's own amplitude fields (its tool strip's spinner limits) for an
// amplitude scale: 0 linear, 1 dB, 2 log. The linear scale does not use the
// range field; it keeps the widest range of the other two.
FloatRange PlotTopRange(std::uint16_t ampScale);
FloatRange PlotRangeRange(std::uint16_t ampScale);

void BoundPrintFloats(PrintOpts& opts, const PrintOpts& defaults);
void BoundProcessingFloats(TProcessingSettings& settings, const TProcessingSettings& defaults);
void BoundScalingFloats(ScalingOpts& opts, const ScalingOpts& defaults);
void BoundCalibrationFloats(TChannelCalibration& cal, const TChannelCalibration& defaults);
void BoundTriggerFloats(TriggerOpts& opts, const TriggerOpts& defaults);
void BoundRunControlFloats(RunControlOpts& opts, const RunControlOpts& defaults);
void BoundMarkerFloats(MarkerOpts& opts, const MarkerOpts& defaults);
void BoundSeriesFloats(SeriesOpts& opts, const SeriesOpts& defaults);
// ampScale: the plot's channel's amplitude scale, which decides the plot
// top and range limits.
void BoundSpectrumFloats(SpectrumOpts& opts, const SpectrumOpts& defaults, std::uint16_t ampScale);
void BoundLoggingFloats(LoggingOpts& opts, const LoggingOpts& defaults);
void BoundSigGenChannelFloats(SigGenChannelSettings& settings, const SigGenChannelSettings& defaults);
void BoundSigGenOutputFloats(SigGenOutputSettings& settings, const SigGenOutputSettings& defaults);

// Every record above; defaults holds what the reader gives missing keys.
void BoundFloatFields(FrameSettings& settings, const FrameSettings& defaults);
