#pragma once
// Frequency sweep parameters: start and stop frequencies, linear or
// logarithmic, how it returns to the start, once or repeated, and its time.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

class CFreqSweep : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 510;
    static constexpr std::size_t kEditBuffer = 80;

    CFreqSweep(QWidget* parent, FreqSweepSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    void OnInitDialog();

    FreqSweepSettings* section_;
    std::int32_t nyquist_;
    QLineEdit* start_;
    QLineEdit* stop_;
    QRadioButton* linear_;
    QRadioButton* logarithmic_;
    QRadioButton* jumpBack_;
    QRadioButton* sweepBack_;
    QCheckBox* single_;
    QLineEdit* time_;
};
