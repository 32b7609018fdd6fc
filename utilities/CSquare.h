#pragma once
// Square wave parameters: frequency and duty cycle.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QLineEdit;

class CSquare : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 460;
    static constexpr std::size_t kEditBuffer = 80;

    CSquare(QWidget* parent, SquareSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    SquareSettings* section_;
    std::int32_t nyquist_;
    QLineEdit* frequency_;
    QLineEdit* duty_;
};
