#pragma once
// Sawtooth parameters: frequency and slope.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QLineEdit;
class QRadioButton;

class CSawtooth : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 490;
    static constexpr std::size_t kEditBuffer = 20;

    CSawtooth(QWidget* parent, SawtoothSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    void OnInitDialog();

    SawtoothSettings* section_;
    std::int32_t nyquist_;
    QLineEdit* frequency_;
    QRadioButton* positive_;
    QRadioButton* negative_;
};
