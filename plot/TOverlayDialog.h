#pragma once
// "Overlay Options": the legends, offsets and colours of the seven overlays
// of one pane (six stored ones and the composite "C"), the legend's width,
// and each slot's import from and export to an overlay, microphone-
// compensation or filter file. Edits the caller's copy of the plot's
// SpectrumOpts; the slot files' titles are the legends and are written on
// OK, after every field has passed its check.

#include "plot/overlay/OverlaySlots.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
struct DataPaths;
struct SpectrumOpts;

class TOverlayDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 120;
    static constexpr int kRows = overlay_slots::kSlots;

    // Asks for a file to load (save false) or to save to, starting in a
    // folder; an empty answer is a cancel. Tests replace the file dialog.
    using FileChooser = std::function<QString(QWidget* parent, bool save, const QString& folder)>;
    static void SetFileChooser(FileChooser chooser);

    // pane 1 or 2; freqScaleType 2 steps the tables; workingPaths' overlay
    // entry is where the file dialogs start, and follows the folder chosen.
    TOverlayDialog(QWidget* parent, SpectrumOpts* options, std::string folder, int channel,
                   std::uint16_t freqScaleType, int pane, DataPaths* workingPaths, std::function<void(int)> help);

    void accept() override;

    // Row n of 0 … 6.
    QLineEdit* LegendEdit(int n) const { return m_Legend[n]; }
    QLineEdit* OffsetEdit(int n) const { return m_Offset[n]; }
    QScrollBar* OffsetSpin(int n) const { return m_Spin[n]; }
    QPushButton* SaveButton(int n) const { return m_Save[n]; }
    QPushButton* LoadButton(int n) const { return m_Load[n]; }
    QLabel* Swatch(int n) const { return m_Swatch[n]; }
    QLineEdit* LegendSizeEdit() const { return m_LegendSize; }
    QPushButton* DefaultsButton() const { return m_Defaults; }

private:
    void BuildRows();
    void OnLoad(int n);
    void OnSave(int n);
    void OnChangeColour(int n);
    void OnDefaults();
    void StepOffset(int n, float step);
    void PaintSwatch(int n);
    QString ChooseFile(bool save);
    bool FolderUsable() const;
    std::uint8_t& ShowFlag(int n);
    float& PaneOffset(int n);

    SpectrumOpts* m_Options;
    std::string m_Folder;
    int m_Channel;
    std::uint16_t m_FreqScaleType;
    int m_Pane;
    DataPaths* m_WorkingPaths;
    std::function<void(int)> m_Help;

    std::array<QLineEdit*, kRows> m_Legend{};
    std::array<QLineEdit*, kRows> m_Offset{};
    std::array<QScrollBar*, kRows> m_Spin{};
    std::array<QPushButton*, kRows> m_Save{};
    std::array<QPushButton*, kRows> m_Load{};
    std::array<QPushButton*, kRows> m_Change{};
    std::array<QLabel*, kRows> m_Swatch{};
    QLineEdit* m_LegendSize = nullptr;
    QPushButton* m_Defaults = nullptr;
};
