#include "app/core/SpectrumPlotRules.h"

#include "app/core/ChannelMode.h"

namespace spectrum_plot_rules {

bool IsPlotUsed(bool independentScaling, std::uint16_t channelMode, int plot)
{
    if (!independentScaling)
        return true;
    switch (channelMode) {
    case channel_mode::kBoth:
    case channel_mode::kTransferCoherenceLeftRight:
    case channel_mode::kTransferCoherenceRightLeft:
        return true;
    case channel_mode::kRight:
        return plot == 1;
    default:
        return plot == 0;
    }
}

bool ShouldCreatePlot(bool independentScaling, std::uint16_t channelMode, int plot)
{
    if (!independentScaling && plot == 1)
        return false;
    return IsPlotUsed(independentScaling, channelMode, plot);
}

std::string PlotTitle(bool independentScaling, std::uint16_t channelMode, int plot)
{
    if (independentScaling && channelMode == channel_mode::kBoth)
        return plot == 1 ? "Spectrum - Right" : "Spectrum - Left";
    return "Spectrum";
}

} // namespace spectrum_plot_rules
