#include "utilities/CNoiseBurst.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "utilities/siggenlogic/TSigGenChecks.h"

CNoiseBurst::CNoiseBurst(QWidget* parent, NoiseBurstSettings* section)
    : CSigGenDialog(parent, "Noise Burst Settings", kHelpContext), section_(section),
      white_(MakeRadio(1888, "White Noise")), pink_(MakeRadio(1889, "Pink Noise")),
      burst_(MakeEdit(1890, {})), cycle_(MakeEdit(1891, {}))
{
    auto* type = new QGroupBox("Noise Type", this);
    auto* typeLayout = new QVBoxLayout(type);
    typeLayout->addWidget(white_);
    typeLayout->addWidget(pink_);

    auto* times = new QFormLayout;
    AddField(times, "Burst Time (msec)", burst_);
    AddField(times, "Cycle Time (msec)", cycle_);

    auto* content = new QVBoxLayout;
    content->addWidget(type);
    content->addLayout(times);
    SetContent(content);
    OnInitDialog();
}

void CNoiseBurst::OnInitDialog()
{
    (section_->Type != 0 ? pink_ : white_)->setChecked(true);
    burst_->setText(QString::number(section_->BurstTimeMsec));
    cycle_->setText(QString::number(section_->CycleTimeMsec));
}

bool CNoiseBurst::OnOK()
{
    NoiseBurstSettings read = *section_;
    read.Type = white_->isChecked() ? 0 : 1;
    read.BurstTimeMsec = ReadInteger(burst_, kEditBuffer);
    read.CycleTimeMsec = ReadInteger(cycle_, kEditBuffer);
    if (const CheckResult refusal = TSigGenChecks::CheckNoiseBurst(read)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
