#pragma once
// Frequency step parameters: start and stop frequencies, linear steps of a
// size or octave fractions, how it returns to the start, once or repeated,
// and the dwell time per step.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

class CFreqStep : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 515;
    static constexpr std::size_t kEditBuffer = 80;

    CFreqStep(QWidget* parent, FreqStepSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    void OnInitDialog();

    FreqStepSettings* section_;
    std::int32_t nyquist_;
    QLineEdit* start_;
    QLineEdit* stop_;
    QRadioButton* linear_;
    QRadioButton* octave_;
    QLineEdit* stepSize_;
    QComboBox* octaveNumber_;
    QRadioButton* jumpBack_;
    QRadioButton* stepBack_;
    QCheckBox* single_;
    QLineEdit* dwell_;
};
