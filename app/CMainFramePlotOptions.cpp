// The plot options sheet: run over copies of both plots' records, copied
// back on OK, and the changed plots reset.

#include "app/CMainFrame.h"

#include "app/core/TProcessingObjects.h"
#include "engine/SpectralData.h"
#include "plot/CPlotOptionsMain.h"
#include "plot/TQuarnPlot.h"

void CMainFrame::OnOptionsPlotOptions()
{
    ShowPlotOptions(2, 0);
}

void CMainFrame::ShowPlotOptions(int, int startPage)
{
    FrameSettings& s = m_Settings;
    const std::array<SpectrumOpts, 2> spectrumBefore = {s.Spectrum[0], s.Spectrum[1]};
    const std::array<MarkerOpts, 2> markersBefore = {s.Markers[0], s.Markers[1]};
    std::array<SpectrumOpts, 2> spectrum = spectrumBefore;
    std::array<MarkerOpts, 2> markers = markersBefore;

    std::array<CPlotOptionsMain::Page, 2> pages;
    for (std::size_t c = 0; c < 2; ++c)
        pages[c] = {&spectrum[c], &markers[c], s.Scaling[c].AmpScaleType};
    CPlotOptionsMain sheet(this, s.Processing.Format.NumChannels, startPage, pages);
    sheet.SetHelpHandler([this](int contextId) { ShowHelp(contextId); });
    if (m_PlotColourChooser)
        sheet.SetColourChooser(m_PlotColourChooser);
    if (sheet.exec() != QDialog::Accepted)
        return;

    for (std::size_t c = 0; c < 2; ++c) {
        s.Spectrum[c] = spectrum[c];
        s.Markers[c] = markers[c];
    }
    for (int c = 0; c < 2; ++c) {
        const auto i = static_cast<std::size_t>(c);
        if (m_Plot[i] != nullptr && (s.Spectrum[i] != spectrumBefore[i] || s.Markers[i] != markersBefore[i]))
            m_Plot[i]->ResetView();
    }
    // The tool-strip toggle's check mark follows the plots' records.
    UpdateBarsMenu();
    // Each display object holds as the plot it follows: plot 2 only when the
    // channels are scaled apart, else plot 1. A new mode clears the hold, so
    // only a changed one is given.
    const bool independent = s.Processing.IndependentScalingAndCalibration == 1;
    for (int c = 0; c < 2; ++c) {
        const auto holdPlot = static_cast<std::size_t>(c == 1 && independent ? 1 : 0);
        SpectralData* display = m_Processing != nullptr ? m_Processing->GetDisplayData(c) : nullptr;
        if (display != nullptr && s.Spectrum[holdPlot].PeakHold != spectrumBefore[holdPlot].PeakHold)
            display->SetPeakHoldMode(s.Spectrum[holdPlot].PeakHold);
    }
}
