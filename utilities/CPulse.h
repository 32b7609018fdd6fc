#pragma once
// Pulse parameters: width and repetition interval in microseconds, and
// whether the pulse fires once.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QCheckBox;
class QLineEdit;

class CPulse : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 470;
    static constexpr std::size_t kEditBuffer = 80;

    CPulse(QWidget* parent, PulseSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    PulseSettings* section_;
    std::int32_t nyquist_;
    QLineEdit* width_;
    QLineEdit* interval_;
    QCheckBox* oneShot_;
};
