#pragma once
// Multiple tones: ten rows of enable, frequency and level relative to the
// output level.

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QCheckBox;
class QLineEdit;

class CTones : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 530;
    static constexpr std::size_t kEditBuffer = 80;
    static constexpr std::size_t kToneCount = SigGenChannelSettings::kToneCount;

    // tones: the channel's ten ToneSettings.
    CTones(QWidget* parent, ToneSettings* tones, std::int32_t nyquist);

protected:
    bool OnOK() override;

private:
    ToneSettings* tones_;
    std::int32_t nyquist_;
    QCheckBox* enable_[kToneCount];
    QLineEdit* frequency_[kToneCount];
    QLineEdit* level_[kToneCount];
};
