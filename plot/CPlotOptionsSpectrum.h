#pragma once
// The "Spectrum" page of the plot options: one plot's display record (graph
// type, Plot Top and Plot Range with their spinners, span, update interval,
// grids, tool strip, overlay controls, cursor pull, power meter, peak hold,
// line widths, colours) and its markers through the marker dialog. It edits
// the working copies the sheet hands it; a page never shown is not checked
// and changes nothing.

#include "plot/PlotOptionsForm.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TLimitScroll;
struct MarkerOpts;
struct SpectrumOpts;

class CPlotOptionsSpectrum : public QWidget {
    Q_OBJECT

public:
    // A colour 0x00BBGGRR chosen starting from the current one; none on Cancel.
    using ColourChooser = std::function<std::optional<std::uint32_t>(QWidget* parent, std::uint32_t current)>;
    using HelpHandler = std::function<void(int contextId)>;
    static constexpr int kHelpContext = 110;
    static constexpr const char* kMessageCaption = "Spectrum Plot Options";

    CPlotOptionsSpectrum(QWidget* parent, int channel, std::uint16_t ampScale, SpectrumOpts* spectrum,
                         MarkerOpts* markers);

    void SetColourChooser(ColourChooser chooser) { m_ChooseColour = std::move(chooser); }
    void SetHelpHandler(HelpHandler handler) { m_Help = std::move(handler); }

    // Fills the controls from the record the first time only.
    void FillOnce();
    bool IsInitialised() const { return m_Initialised; }
    // Page to record; false (with its message shown) keeps the sheet open.
    bool Validate();
    int Channel() const { return m_Channel; }

    PlotOptionsForm ReadForm() const;
    void WriteForm(const PlotOptionsForm& form);
    void OnDefaults();
    void OnMarkerOptions();
    // 0 line/bar, 1 peak hold, 2 background, 3 grid, 4 markers.
    void OnColour(int which);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void EnableInterval();
    void PaintSwatches();
    std::uint32_t& ColourField(int which);

    int m_Channel;
    std::uint16_t m_AmpScale;
    SpectrumOpts* m_Spectrum;
    MarkerOpts* m_Markers;
    bool m_Initialised = false;
    ColourChooser m_ChooseColour;
    HelpHandler m_Help;

    std::array<QRadioButton*, 3> m_PlotType{};
    QLineEdit* m_Top = nullptr;
    QLineEdit* m_Range = nullptr;
    QLabel* m_RangeLabel = nullptr;
    TLimitScroll* m_TopSpin = nullptr;
    TLimitScroll* m_RangeSpin = nullptr;
    QLineEdit* m_Start = nullptr;
    QLineEdit* m_Stop = nullptr;
    QRadioButton* m_OftenAsPossible = nullptr;
    QRadioButton* m_SpecificInterval = nullptr;
    QLineEdit* m_Interval = nullptr;
    TLimitScroll* m_IntervalSpin = nullptr;
    QCheckBox* m_GridX = nullptr;
    QCheckBox* m_GridY = nullptr;
    QCheckBox* m_ShowToolbar = nullptr;
    QCheckBox* m_ShowOverlayControls = nullptr;
    QCheckBox* m_GrabCursor = nullptr;
    QCheckBox* m_PowerMeter = nullptr;
    QCheckBox* m_RMSLevel = nullptr;
    std::array<QCheckBox*, PlotOptionsForm::kThickCount> m_Thick{};
    QComboBox* m_PeakHold = nullptr;
    std::array<QLabel*, 5> m_Swatch{};
};
