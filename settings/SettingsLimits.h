#pragma once
// Values read from a file kept within what the dialogs that edit them
// accept, so that a hand-edited or damaged file cannot hand the generator,
// the plots or the data log a value that their dialogs would have refused
// (a frequency of 0 or above the Nyquist frequency, a zero duration, an
// octave fraction of 0 would each divide by zero later).
//
// The rule throughout: a value beyond an inclusive bound is set to that
// bound; a value the dialog refuses for any other reason (at or below an
// exclusive bound, not a number, not one of the listed choices, a start not
// below its stop) takes the default the file reader gives a missing key.

#include <cstdint>

#include "settings/FrameSettings.h"

// The generator's Nyquist frequency for an analysis format: the output runs
// at the analysis rate, but never below 48000 Hz.
std::int32_t GeneratorNyquist(const TProcessingSettings& processing);

void LimitSigGenChannel(SigGenChannelSettings& settings, std::int32_t nyquist);
void LimitSigGenOutput(SigGenOutputSettings& settings);
void LimitSpectrumOpts(SpectrumOpts& opts, int plot);
void LimitMarkerOpts(MarkerOpts& opts);
void LimitLoggingOpts(LoggingOpts& opts);
void LimitScalingOpts(ScalingOpts& opts, int channel);
void LimitProcessingSettings(TProcessingSettings& settings);

// All of the above over the frame's records.
void ApplySettingsLimits(FrameSettings& settings);
