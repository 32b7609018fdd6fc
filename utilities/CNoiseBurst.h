#pragma once
// Noise burst parameters: white or pink noise, burst and cycle times.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QLineEdit;
class QRadioButton;

class CNoiseBurst : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 560;
    static constexpr std::size_t kEditBuffer = 20;

    CNoiseBurst(QWidget* parent, NoiseBurstSettings* section);

protected:
    bool OnOK() override;

private:
    void OnInitDialog();

    NoiseBurstSettings* section_;
    QRadioButton* white_;
    QRadioButton* pink_;
    QLineEdit* burst_;
    QLineEdit* cycle_;
};
