#include "utilities/CSigGenOutputLevelDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "utilities/siggenlogic/SigGenText.h"

namespace {

std::string Format63(float value)
{
    return siggen_text::FormatFixedWidth(value, 6, 3);
}

} // namespace

CSigGenOutputLevelDlg::CSigGenOutputLevelDlg(QWidget* parent, SigGenOutputSettings* settings, bool outputIsDaq)
    : CSigGenDialog(parent, "Generator Output Level", kHelpContext), settings_(settings), outputIsDaq_(outputIsDaq),
      left_(MakeEdit(2222, {})), right_(MakeEdit(2223, {})), unit_(new QComboBox(this)),
      unknown_(MakeRadio(2225, "I don't know (units will be in relative dB Full Scale)")),
      known_(MakeRadio(2226, "Level (Volts RMS)")), fullScale_(MakeEdit(2227, {})),
      fullScaleGroup_(new QGroupBox("The Full Scale output level of my sound card is:", this))
{
    if (outputIsDaq_)
        TOutputLevelOptions::ApplyDaqOutput(*settings_);

    unit_->setObjectName("2224");
    unit_->setMinimumWidth(150);
    fullScaleGroup_->setObjectName("2278");
    auto* choice = new QButtonGroup(this);
    choice->addButton(unknown_);
    choice->addButton(known_);
    auto* fullScale = new QGridLayout(fullScaleGroup_);
    fullScale->addWidget(unknown_, 0, 0, 1, 2);
    fullScale->addWidget(known_, 1, 0);
    fullScale->addWidget(fullScale_, 1, 1, Qt::AlignLeft);
    fullScale->setColumnStretch(1, 1);

    auto* levels = new QFormLayout;
    AddField(levels, "Level (Left)", left_);
    AddField(levels, "Level (Right)", right_);
    AddField(levels, "Units", unit_);

    auto* content = new QVBoxLayout;
    content->addLayout(levels);
    content->addWidget(fullScaleGroup_);
    SetContent(content);

    // The DAQ module's full scale is fixed: nothing to ask.
    fullScaleGroup_->setVisible(!outputIsDaq_);
    OnInitDialog();

    connect(unknown_, &QRadioButton::clicked, this, &CSigGenOutputLevelDlg::FillUnits);
    connect(known_, &QRadioButton::clicked, this, &CSigGenOutputLevelDlg::FillUnits);
    connect(unit_, &QComboBox::activated, this, &CSigGenOutputLevelDlg::OnUnitChanged);
}

void CSigGenOutputLevelDlg::OnInitDialog()
{
    left_->setText(QString::fromStdString(Format63(settings_->OutputLevel)));
    right_->setText(QString::fromStdString(Format63(settings_->OutputLevelR)));
    fullScale_->setText(QString::fromStdString(Format63(settings_->FSVoltage)));
    unknown_->setChecked(settings_->FSOption == 1);
    known_->setChecked(settings_->FSOption == 0);
    FillUnits();
}

void CSigGenOutputLevelDlg::FillUnits()
{
    units_ = TOutputLevelOptions::OfferedUnits(known_->isChecked(), outputIsDaq_);
    const QSignalBlocker quiet(unit_);
    unit_->clear();
    for (const auto& entry : units_)
        unit_->addItem(entry.Text, entry.Unit);
    unit_->setCurrentIndex(TOutputLevelOptions::SelectedEntry(units_, settings_->OutputUnits));
    fullScale_->setEnabled(known_->isChecked());
}

void CSigGenOutputLevelDlg::OnUnitChanged(int entry)
{
    if (entry < 0 || entry >= static_cast<int>(units_.size()))
        return;
    const QString level = TOutputLevelOptions::DefaultLevelText(units_[static_cast<std::size_t>(entry)].Unit);
    left_->setText(level);
    right_->setText(level);
}

bool CSigGenOutputLevelDlg::OnOK()
{
    SigGenOutputSettings read = *settings_;
    if (known_->isChecked())
        read.FSOption = 0;
    else if (unknown_->isChecked())
        read.FSOption = 1;
    if (unit_->currentIndex() >= 0)
        read.OutputUnits = unit_->currentData().toInt();
    read.OutputLevel = ReadReal(left_, kEditBuffer);
    read.OutputLevelR = ReadReal(right_, kEditBuffer);
    read.FSVoltage = ReadReal(fullScale_, kEditBuffer);
    if (const auto refusal = TOutputLevelOptions::Check(read)) {
        // This dialog's refusals carry no icon.
        Refuse(*refusal, platform::MessageIcon::Information);
        return false;
    }
    *settings_ = read;
    return true;
}
