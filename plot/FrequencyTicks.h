#pragma once
// The ticks under the frequency axis: round frequencies (decades and their
// multiples on log axes, a round linear step otherwise) at the columns that
// show them, labelled in Hz or kHz, with labels thinned so that none
// crowds its right-hand neighbour.

#include "plot/ColumnBinTable.h"
#include "plot/PlotTick.h"

#include <functional>
#include <string>

namespace frequency_ticks {

// Kept labels stand at least this far apart, screen and paper (600 dpi).
inline constexpr int kScreenLabelGap = 30;
inline constexpr int kPaperLabelGap = 300;

} // namespace frequency_ticks

// "0.0" for 0; below 1 kHz "%1.0f", from 1 kHz on "%1.1fk" of kHz; two
// decimals instead when the span is below 100 Hz, three below 10 Hz. Given
// the step between ticks, kHz labels carry as many decimals as the step
// needs, so that each names its own tick's frequency: with 50 Hz steps
// 1050 Hz reads "1.05k", where one decimal would call it "1.1k" like 1100 Hz.
std::string FrequencyTickLabel(float frequency, float span, float step = 0.0f);

// The largest of 10000, 5000, 1000, 500, 200, 100, 50, 20, 10, 5, 2, 1 that
// fits at least four times into the span; 1 when none does.
float LinearFrequencyStep(float span);

// The decade below f: 1 under 10 Hz, 10 under 100 Hz, … 100000 under 1 MHz.
float DecadeFrequencyStep(float frequency);

// The width a label takes on the device, in pixels.
using LabelWidthFn = std::function<int(const std::string&)>;

// Ticks from start to stop at the table's columns; at most capacity - 1 of
// them. Log and octave axes step by decades, and fall back once to linear
// steps when that gives fewer than four ticks (a narrow zoom).
PlotTicks BuildFrequencyTicks(float start, float stop, bool linearScale, int capacity, int labelGap,
                              const ColumnBinTable& columns, const LabelWidthFn& labelWidth = {});

// Clears every label that stands closer than gap pixels to the next kept
// label on its right; the rightmost label always stays. With the labels'
// widths known, two centred labels also keep a few pixels of space between
// them, however wide a font makes them.
void ThinFrequencyLabels(PlotTicks& ticks, int gap, const LabelWidthFn& labelWidth = {});
