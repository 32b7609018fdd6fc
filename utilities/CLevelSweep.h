#pragma once
// Level sweep parameters: start and stop levels relative to the output
// level, the tone's frequency and the sweep time.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QLineEdit;

class CLevelSweep : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 500;
    static constexpr std::size_t kEditBuffer = 80;

    CLevelSweep(QWidget* parent, LevelSweepSettings* section, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    LevelSweepSettings* section_;
    std::int32_t nyquist_;
    QLineEdit* start_;
    QLineEdit* stop_;
    QLineEdit* frequency_;
    QLineEdit* time_;
};
