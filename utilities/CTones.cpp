#include "utilities/CTones.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenChecks.h"

CTones::CTones(QWidget* parent, ToneSettings* tones, std::int32_t nyquist)
    : CSigGenDialog(parent, "Tone Settings", kHelpContext), tones_(tones), nyquist_(nyquist)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    grid->addWidget(new QLabel("Frequency (Hz)", this), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel("Relative Power (dB)", this), 0, 2, Qt::AlignHCenter);
    for (std::size_t i = 0; i < kToneCount; ++i) {
        const int row = static_cast<int>(i) + 1;
        enable_[i] = MakeCheck(1899 + row - 1, {});
        frequency_[i] = MakeEdit(1909 + row - 1, siggen_text::Format62(tones[i].FreqHz));
        level_[i] = MakeEdit(1919 + row - 1, siggen_text::Format62(tones[i].PwrDB));
        enable_[i]->setChecked(tones[i].ToneEnable != 0);
        grid->addWidget(enable_[i], row, 0);
        grid->addWidget(frequency_[i], row, 1, Qt::AlignHCenter);
        grid->addWidget(level_[i], row, 2, Qt::AlignHCenter);
    }
    SetContent(grid);
}

bool CTones::OnOK()
{
    ToneSettings read[kToneCount];
    for (std::size_t i = 0; i < kToneCount; ++i) {
        read[i].ToneEnable = enable_[i]->isChecked() ? 1 : 0;
        read[i].FreqHz = ReadReal(frequency_[i], kEditBuffer);
        read[i].PwrDB = ReadReal(level_[i], kEditBuffer);
        // Disabled tones keep what was typed, unchecked, and their amplitude too.
        read[i].UpdateLinearAmplitude();
    }
    if (const CheckResult refusal = TSigGenChecks::CheckTones(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    std::copy(std::begin(read), std::end(read), tones_);
    return true;
}
