#include "utilities/CToneBurst.h"

#include <QFormLayout>
#include <QLineEdit>

#include "utilities/siggenlogic/TSigGenChecks.h"

CToneBurst::CToneBurst(QWidget* parent, ToneBurstSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "Tone Burst Settings", kHelpContext), section_(section), nyquist_(nyquist),
      frequency_(MakeEdit(1893, {})), burst_(MakeEdit(1890, {})), cycle_(MakeEdit(1891, {}))
{
    auto* content = new QFormLayout;
    AddField(content, "Tone Frequency (Hz)", frequency_);
    AddField(content, "Burst Time (msec)", burst_);
    AddField(content, "Cycle Time (msec)", cycle_);
    SetContent(content);
    OnInitDialog();
}

void CToneBurst::OnInitDialog()
{
    frequency_->setText(QString::number(section_->FreqHz));
    burst_->setText(QString::number(section_->BurstTimeMsec));
    cycle_->setText(QString::number(section_->CycleTimeMsec));
}

bool CToneBurst::OnOK()
{
    ToneBurstSettings read = *section_;
    read.FreqHz = ReadInteger(frequency_, kEditBuffer);
    read.BurstTimeMsec = ReadInteger(burst_, kEditBuffer);
    read.CycleTimeMsec = ReadInteger(cycle_, kEditBuffer);
    if (const CheckResult refusal = TSigGenChecks::CheckToneBurst(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
