#include "utilities/CSaveSignalLengthDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

#include <algorithm>

#include "audio/TWaveData.h"
#include "utilities/siggenlogic/SigGenText.h"

namespace {

QLabel* Seconds(QWidget* parent, int id)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::number(id));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(96);
    return label;
}

} // namespace

CSaveSignalLengthDlg::CSaveSignalLengthDlg(QWidget* parent, const TWaveData* buffer, int* copies)
    : CSigGenDialog(parent, "Signal Length Options", 0), copies_(copies),
      seconds_(buffer != nullptr ? buffer->GetLengthSeconds() : 0.0f), multiplier_(new QComboBox(this)),
      total_(Seconds(this, 2100))
{
    QLabel* length = Seconds(this, 2098);
    length->setText(QString::fromStdString(siggen_text::Format62(seconds_)));
    multiplier_->setObjectName("2099");
    multiplier_->setMinimumWidth(96);
    for (int i = 1; i <= kMaxCopies; ++i)
        multiplier_->addItem(QString::number(i));
    multiplier_->setCurrentIndex(std::clamp(*copies, 1, kMaxCopies) - 1);
    connect(multiplier_, &QComboBox::currentIndexChanged, this, &CSaveSignalLengthDlg::UpdateTotal);

    auto* content = new QFormLayout;
    AddField(content, "Default Length for this Signal (seconds)", length);
    AddField(content, "Signal Length Multiplier", multiplier_);
    AddField(content, "Total Wave File Length (seconds)", total_);
    SetContent(content);
    UpdateTotal();
}

void CSaveSignalLengthDlg::UpdateTotal()
{
    const int copies = multiplier_->currentIndex() + 1;
    total_->setText(QString::fromStdString(siggen_text::Format62(static_cast<double>(copies) * seconds_)));
}

bool CSaveSignalLengthDlg::OnOK()
{
    *copies_ = multiplier_->currentIndex() + 1;
    return true;
}
