#pragma once
// Which of the two spectrum plots a channel mode shows, and their titles.

#include <cstdint>
#include <string>

namespace spectrum_plot_rules {

// plot 0 or 1. With independent scaling and calibration off, both plots
// may show; with it on, modes 2, 11 and 12 show both, mode 1 only plot 2
// (the right channel) and every other mode only plot 1.
bool IsPlotUsed(bool independentScaling, std::uint16_t channelMode, int plot);

// Whether the frame creates plot 1 or 2 at all: never a second one while
// scaling is shared, and only where the mode uses it.
bool ShouldCreatePlot(bool independentScaling, std::uint16_t channelMode, int plot);

// "Spectrum", or "Spectrum - Left" / "Spectrum - Right" when the two
// channels are shown side by side with their own scaling.
std::string PlotTitle(bool independentScaling, std::uint16_t channelMode, int plot);

} // namespace spectrum_plot_rules
