#pragma once
// Intermodulation test tones: one of two standard pairs or a custom pair
// with its amplitude ratio.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QLineEdit;
class QRadioButton;

class CIMDtones : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 520;
    static constexpr std::size_t kEditBuffer = 80;

    CIMDtones(QWidget* parent, IMDSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    void OnInitDialog();

    IMDSettings* section_;
    std::int32_t nyquist_;
    QRadioButton* set_[3];
    QLineEdit* low_;
    QLineEdit* high_;
    QLineEdit* ratio_;
};
