#pragma once
// The generator's output levels per channel, their unit, and what the
// sound card's full-scale output is. The DAQ module's full scale is known,
// so its dialog offers absolute units only and hides the full-scale choice.

#include <vector>

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"
#include "utilities/siggenlogic/TOutputLevelOptions.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

class CSigGenOutputLevelDlg : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 600;
    static constexpr std::size_t kEditBuffer = 21;

    // settings: a copy of the frame's record, which the caller copies back
    // on OK; the DAQ's fixed full scale is applied to it here.
    CSigGenOutputLevelDlg(QWidget* parent, SigGenOutputSettings* settings, bool outputIsDaq);

protected:
    bool OnOK() override;

private:
    void OnInitDialog();
    // Offers the units the full-scale choice allows.
    void FillUnits();
    void OnUnitChanged(int entry);

    SigGenOutputSettings* settings_;
    bool outputIsDaq_;
    std::vector<TOutputLevelOptions::UnitEntry> units_;
    QLineEdit* left_;
    QLineEdit* right_;
    QComboBox* unit_;
    QRadioButton* unknown_;
    QRadioButton* known_;
    QLineEdit* fullScale_;
    QGroupBox* fullScaleGroup_;
};
