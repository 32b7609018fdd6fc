#pragma once
// The ticks beside the amplitude axis (and the power meter): a round step
// from the top down over a linear or dB axis, every mantissa 1 … 9 of each
// decade up a log axis, or tenths of the 0 … 1.2 coherence scale. Positions
// count down from the pane's top edge; labels are thinned so that none
// crowds the one above (linear, dB, coherence) or below (log) it.

#include "plot/PlotTick.h"

namespace amplitude_ticks {

// Kept labels stand at least this far apart, screen and paper (600 dpi).
inline constexpr int kScreenLabelGap = 12;
inline constexpr int kPaperLabelGap = 120;
inline constexpr int kCoherenceLabelGap = 10;
inline constexpr float kCoherenceTop = 1.2f;

} // namespace amplitude_ticks

// The tick step of a dB range (0.01 … 10 dB) or of a linear top (1e-8 … 1e6).
float DbTickStep(float range);
float LinearTickStep(float range);

// Linear: 0 … top (range = top); dB: top − range … top. H is the pane's
// height. Nothing for a range of 0 or less.
PlotTicks BuildLinearDbTicks(float top, float range, bool dB, int height, int labelGap);

// Log axis from bottom to top; top ≤ 0 becomes 10, a bottom ≤ 0 or not
// below the top becomes 1e-6.
PlotTicks BuildLogTicks(float top, float bottom, int height, int labelGap);

// 1.2 down to 0 by 0.1, labelled "%3.2f".
PlotTicks BuildCoherenceTicks(int height);
