#pragma once
// Triangular signal parameters: its frequency.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QLineEdit;

class CTriangular : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 480;
    static constexpr std::size_t kEditBuffer = 20;

    CTriangular(QWidget* parent, TriangularSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    TriangularSettings* section_;
    std::int32_t nyquist_;
    QLineEdit* frequency_;
};
