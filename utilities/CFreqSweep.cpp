#include "utilities/CFreqSweep.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenChecks.h"

CFreqSweep::CFreqSweep(QWidget* parent, FreqSweepSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "Frequency Sweep Settings", kHelpContext), section_(section), nyquist_(nyquist),
      start_(MakeEdit(1958, {})), stop_(MakeEdit(1959, {})), linear_(MakeRadio(1960, "Linear")),
      logarithmic_(MakeRadio(1961, "Logarithmic")), jumpBack_(MakeRadio(1962, "Jump back to start frequency")),
      sweepBack_(MakeRadio(1963, "Sweep back to start frequency")), single_(MakeCheck(1964, "Stop after a single sweep")),
      time_(MakeEdit(1956, {}))
{
    auto* range = new QFormLayout;
    AddField(range, "Start Freq (Hz)", start_);
    AddField(range, "Stop Freq (Hz)", stop_);
    auto* timing = new QFormLayout;
    AddField(timing, "Sweep Time (msec)", time_);

    auto* content = new QVBoxLayout;
    content->addLayout(range);
    content->addWidget(MakeChoiceFrame(linear_, logarithmic_, Qt::Horizontal));
    content->addWidget(MakeChoiceFrame(jumpBack_, sweepBack_, Qt::Vertical));
    content->addWidget(single_);
    content->addLayout(timing);
    SetContent(content);
    OnInitDialog();
}

void CFreqSweep::OnInitDialog()
{
    start_->setText(QString::fromStdString(siggen_text::Format62(section_->FStartHz)));
    stop_->setText(QString::fromStdString(siggen_text::Format62(section_->FStopHz)));
    linear_->setChecked(section_->SweepType == 1);
    logarithmic_->setChecked(section_->SweepType == 2);
    (section_->ReturnSweepFlag != 0 ? sweepBack_ : jumpBack_)->setChecked(true);
    single_->setChecked(section_->SingleSweepFlag != 0);
    time_->setText(QString::number(section_->TimeMSec));
}

bool CFreqSweep::OnOK()
{
    FreqSweepSettings read = *section_;
    read.FStartHz = ReadReal(start_, kEditBuffer);
    read.FStopHz = ReadReal(stop_, kEditBuffer);
    if (linear_->isChecked())
        read.SweepType = 1;
    else if (logarithmic_->isChecked())
        read.SweepType = 2;
    read.ReturnSweepFlag = sweepBack_->isChecked() ? 1 : 0;
    read.SingleSweepFlag = single_->isChecked() ? 1 : 0;
    read.TimeMSec = ReadInteger(time_, kEditBuffer);
    if (const CheckResult refusal = TSigGenChecks::CheckFreqSweep(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
