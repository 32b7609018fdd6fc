#include "utilities/CPulse.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>

#include "utilities/siggenlogic/TSigGenChecks.h"

CPulse::CPulse(QWidget* parent, PulseSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "Pulse Settings", kHelpContext), section_(section), nyquist_(nyquist),
      width_(MakeEdit(1942, std::to_string(section->WidthNSec))),
      interval_(MakeEdit(1943, std::to_string(section->RepIntervalNSec))),
      oneShot_(MakeCheck(1944, "Single Shot Pulse"))
{
    oneShot_->setChecked(section->OneShotFlag != 0);
    auto* content = new QFormLayout;
    AddField(content, "Pulse Width (microseconds)", width_);
    AddField(content, "Repetition Interval (microseconds)", interval_);
    content->addRow(oneShot_);
    SetContent(content);
}

bool CPulse::OnOK()
{
    PulseSettings read = *section_;
    read.WidthNSec = ReadInteger(width_, kEditBuffer);
    read.RepIntervalNSec = ReadInteger(interval_, kEditBuffer);
    read.OneShotFlag = oneShot_->isChecked() ? 1 : 0;
    if (const CheckResult refusal = TSigGenChecks::CheckPulse(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
