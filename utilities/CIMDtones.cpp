#include "utilities/CIMDtones.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenChecks.h"

namespace {

QLabel* Fixed(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

CIMDtones::CIMDtones(QWidget* parent, IMDSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "IMD Tone Settings", kHelpContext), section_(section), nyquist_(nyquist),
      set_{MakeRadio(1930, "Standard Tone Set 1"), MakeRadio(1931, "Standard Tone Set 2"),
           MakeRadio(1932, "Custom Tone Set")},
      low_(MakeEdit(1933, {})), high_(MakeEdit(1934, {})), ratio_(MakeEdit(1935, {}))
{
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i)
        group->addButton(set_[i], i);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->addWidget(new QLabel("Frequencies (Hz)", this), 0, 1, 1, 2, Qt::AlignHCenter);
    grid->addWidget(new QLabel("Amplitude Ratio", this), 0, 3, Qt::AlignHCenter);
    const char* const standard[2][3] = {{"250", "8020", "4:1"}, {"60", "7000", "4:1"}};
    for (int row = 0; row < 2; ++row) {
        grid->addWidget(set_[row], row + 1, 0);
        for (int column = 0; column < 3; ++column)
            grid->addWidget(Fixed(standard[row][column], this), row + 1, column + 1);
    }
    auto* ratio = new QHBoxLayout;
    ratio->setSpacing(4);
    ratio->addWidget(ratio_);
    ratio->addWidget(new QLabel(":1", this));
    grid->addWidget(set_[2], 3, 0);
    grid->addWidget(low_, 3, 1);
    grid->addWidget(high_, 3, 2);
    grid->addLayout(ratio, 3, 3);
    SetContent(grid);
    OnInitDialog();
}

void CIMDtones::OnInitDialog()
{
    for (int i = 0; i < 3; ++i)
        set_[i]->setChecked(section_->IMDtype == i);
    low_->setText(QString::fromStdString(siggen_text::FormatFixedWidth(section_->LoFreqHz, 6, 1)));
    high_->setText(QString::fromStdString(siggen_text::FormatFixedWidth(section_->HiFreqHz, 6, 1)));
    // Shown whole, though a settings file may hold a fraction.
    ratio_->setText(QString::number(static_cast<std::int32_t>(section_->PwrRatio)));
}

bool CIMDtones::OnOK()
{
    IMDSettings read = *section_;
    for (std::uint16_t i = 0; i < 3; ++i) {
        if (set_[i]->isChecked())
            read.IMDtype = i;
    }
    read.LoFreqHz = ReadReal(low_, kEditBuffer);
    read.HiFreqHz = ReadReal(high_, kEditBuffer);
    read.PwrRatio = ReadReal(ratio_, kEditBuffer);
    if (const CheckResult refusal = TSigGenChecks::CheckIMDTones(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
