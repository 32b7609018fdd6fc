#pragma once
// Tone burst parameters: the tone's frequency, burst and cycle times.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QLineEdit;

class CToneBurst : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 550;
    static constexpr std::size_t kEditBuffer = 20;

    CToneBurst(QWidget* parent, ToneBurstSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    void OnInitDialog();

    ToneBurstSettings* section_;
    std::int32_t nyquist_;
    QLineEdit* frequency_;
    QLineEdit* burst_;
    QLineEdit* cycle_;
};
