#include "utilities/CSawtooth.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenChecks.h"

CSawtooth::CSawtooth(QWidget* parent, SawtoothSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "Sawtooth Settings", kHelpContext), section_(section), nyquist_(nyquist),
      frequency_(MakeEdit(1895, {})), positive_(MakeRadio(1896, "Positive")), negative_(MakeRadio(1897, "Negative"))
{
    auto* slope = new QHBoxLayout;
    slope->addStretch();
    slope->addWidget(positive_);
    slope->addWidget(negative_);

    auto* content = new QFormLayout;
    AddField(content, "Frequency (Hz)", frequency_);
    content->addRow("Slope:", slope);
    SetContent(content);
    OnInitDialog();
}

void CSawtooth::OnInitDialog()
{
    frequency_->setText(QString::fromStdString(siggen_text::Format62(section_->FreqHz)));
    (section_->Slope == 1 ? positive_ : negative_)->setChecked(true);
}

bool CSawtooth::OnOK()
{
    SawtoothSettings read = *section_;
    read.FreqHz = ReadReal(frequency_, kEditBuffer);
    read.Slope = positive_->isChecked() ? 1 : -1;
    if (const CheckResult refusal = TSigGenChecks::CheckSawtooth(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
