#pragma once
// The "Plot Options" sheet: a "Spectrum" page per plot ("Spectrum - Left"
// and "Spectrum - Right" when two channels are analysed) over working copies
// of the plots' display and marker records. OK checks each shown page and
// stays on the first that refuses.

#include "plot/CPlotOptionsSpectrum.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QTabWidget;

class CPlotOptionsMain : public QDialog {
    Q_OBJECT

public:
    struct Page {
        SpectrumOpts* Spectrum = nullptr;
        MarkerOpts* Markers = nullptr;
        std::uint16_t AmpScale = 0;
    };

    // channels: 1 or 2; startPage: 0 or 1 (the page of that channel).
    CPlotOptionsMain(QWidget* parent, int channels, int startPage, const std::array<Page, 2>& pages);

    void SetColourChooser(const CPlotOptionsSpectrum::ColourChooser& chooser);
    void SetHelpHandler(const CPlotOptionsSpectrum::HelpHandler& handler);

    // The sheet's OK.
    bool ValidateAndClose();
    void accept() override;

    int PageCount() const;
    CPlotOptionsSpectrum* SpectrumPage(int channel) const;
    QTabWidget* Tabs() const { return m_Tabs; }

private:
    QTabWidget* m_Tabs;
    std::array<CPlotOptionsSpectrum*, 2> m_Pages{};
};
