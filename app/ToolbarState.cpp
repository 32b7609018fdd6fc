#include "app/ToolbarState.h"

#include "app/ToolbarButtons.h"

using namespace ToolbarButtons;

bool ToolbarState::IsLatchable(std::uint32_t id)
{
    switch (id) {
    case IDC_SPECTRUM:
    case IDC_TRIGGER:
    case IDC_GENERATE:
    case IDC_PEAK_FREQ:
    case IDC_PEAK_AMP:
    case IDC_TOTAL_PWR:
        return true;
    default:
        return false;
    }
}

std::array<ToolbarLatch, 6> ToolbarState::SyncLatches(const ToolbarFrame& frame)
{
    return {{
        {IDC_TRIGGER, frame.IsTriggerEnabled()},
        {IDC_GENERATE, frame.HasSignalGenerator()},
        {IDC_SPECTRUM, frame.HasSpectrumPlot()},
        {IDC_PEAK_FREQ, frame.HasPeakFrequencyViewer()},
        {IDC_PEAK_AMP, frame.HasPeakAmplitudeViewer()},
        {IDC_TOTAL_PWR, frame.HasTotalPowerViewer()},
    }};
}
