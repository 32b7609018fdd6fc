#include "utilities/CFreqStep.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenChecks.h"

namespace {
constexpr int kOctaveFractions[] = {1, 3, 6, 9, 12, 24, 48, 96};
} // namespace

CFreqStep::CFreqStep(QWidget* parent, FreqStepSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "Frequency Step Settings", kHelpContext), section_(section), nyquist_(nyquist),
      start_(MakeEdit(1958, {})), stop_(MakeEdit(1959, {})), linear_(MakeRadio(1967, "Linear")),
      octave_(MakeRadio(1966, "Octave")), stepSize_(MakeEdit(1971, {})), octaveNumber_(new QComboBox(this)),
      jumpBack_(MakeRadio(1962, "Jump back to start frequency")),
      stepBack_(MakeRadio(1969, "Step back to start frequency")), single_(MakeCheck(1968, "Stop after a single pass")),
      dwell_(MakeEdit(1970, {}))
{
    octaveNumber_->setObjectName("1972");
    octaveNumber_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const int fraction : kOctaveFractions)
        octaveNumber_->addItem(QString("1/%1 Octave").arg(fraction), fraction);

    auto* range = new QFormLayout;
    AddField(range, "Start Freq (Hz)", start_);
    AddField(range, "Stop Freq (Hz)", stop_);

    // The step size sits beside linear steps, the fraction beside octaves.
    auto* stepGroup = new QGroupBox("Step Size", this);
    auto* steps = new QFormLayout(stepGroup);
    steps->addRow(linear_, stepSize_);
    steps->addRow(octave_, octaveNumber_);
    auto* group = new QButtonGroup(stepGroup);
    group->addButton(linear_);
    group->addButton(octave_);

    auto* timing = new QFormLayout;
    AddField(timing, "Dwell time per step (msec)", dwell_);

    auto* content = new QVBoxLayout;
    content->addLayout(range);
    content->addWidget(stepGroup);
    content->addWidget(MakeChoiceFrame(jumpBack_, stepBack_, Qt::Vertical));
    content->addWidget(single_);
    content->addLayout(timing);
    SetContent(content);
    OnInitDialog();
}

void CFreqStep::OnInitDialog()
{
    start_->setText(QString::fromStdString(siggen_text::Format62(section_->FStartHz)));
    stop_->setText(QString::fromStdString(siggen_text::Format62(section_->FStopHz)));
    linear_->setChecked(section_->StepType == 1);
    octave_->setChecked(section_->StepType == 2);
    stepSize_->setText(QString::fromStdString(siggen_text::Format62(section_->StepSize)));
    // A denominator the list does not offer leaves it without a selection.
    octaveNumber_->setCurrentIndex(octaveNumber_->findData(section_->OctaveNumber));
    (section_->ReturnStepFlag != 0 ? stepBack_ : jumpBack_)->setChecked(true);
    single_->setChecked(section_->SingleStepFlag != 0);
    dwell_->setText(QString::number(section_->DwellTimeMSec));
}

bool CFreqStep::OnOK()
{
    FreqStepSettings read = *section_;
    read.FStartHz = ReadReal(start_, kEditBuffer);
    read.FStopHz = ReadReal(stop_, kEditBuffer);
    if (linear_->isChecked())
        read.StepType = 1;
    else if (octave_->isChecked())
        read.StepType = 2;
    read.StepSize = ReadReal(stepSize_, kEditBuffer);
    // Without a selection the stored fraction stays, since the list offers
    // nothing to replace it with.
    if (octaveNumber_->currentIndex() >= 0)
        read.OctaveNumber = octaveNumber_->currentData().toInt();
    read.ReturnStepFlag = stepBack_->isChecked() ? 1 : 0;
    read.SingleStepFlag = single_->isChecked() ? 1 : 0;
    read.DwellTimeMSec = ReadInteger(dwell_, kEditBuffer);
    if (const CheckResult refusal = TSigGenChecks::CheckFreqStep(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
