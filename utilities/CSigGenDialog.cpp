#include "utilities/CSigGenDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "utilities/siggenlogic/SigGenText.h"

namespace {
// Wide enough for "-12345.67" in the dialog font, without stretching.
constexpr int kEditWidth = 96;
} // namespace

CSigGenDialog::CSigGenDialog(QWidget* parent, const QString& caption, int helpContext)
    : QDialog(parent), layout_(new QVBoxLayout(this)), helpContext_(helpContext)
{
    setWindowTitle(caption);
    setModal(true);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    layout_->setContentsMargins(14, 14, 14, 12);
    layout_->setSpacing(12);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    if (helpContext > 0)
        buttons->addButton(QDialogButtonBox::Help)->setObjectName(QString::number(kHelpButtonId));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSigGenDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSigGenDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &CSigGenDialog::OnHelp);
    layout_->addWidget(buttons);
}

void CSigGenDialog::SetContent(QLayout* content)
{
    layout_->insertLayout(0, content);
}

void CSigGenDialog::accept()
{
    if (OnOK())
        QDialog::accept();
}

void CSigGenDialog::OnHelp()
{
    if (helpHandler_)
        helpHandler_(helpContext_);
}

void CSigGenDialog::Refuse(const std::string& message, platform::MessageIcon icon)
{
    platform::ShowMessageBox(message, icon);
}

QLineEdit* CSigGenDialog::MakeEdit(int id, const std::string& text)
{
    auto* edit = new QLineEdit(QString::fromStdString(text), this);
    edit->setObjectName(QString::number(id));
    // Numbers line up on the right, as the "%6.2f" texts expect.
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setFixedWidth(kEditWidth);
    return edit;
}

void CSigGenDialog::AddField(QFormLayout* form, const QString& label, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(field);
    form->addRow(label, row);
}

QRadioButton* CSigGenDialog::MakeRadio(int id, const QString& caption)
{
    auto* radio = new QRadioButton(caption, this);
    radio->setObjectName(QString::number(id));
    return radio;
}

QCheckBox* CSigGenDialog::MakeCheck(int id, const QString& caption)
{
    auto* check = new QCheckBox(caption, this);
    check->setObjectName(QString::number(id));
    return check;
}

QGroupBox* CSigGenDialog::MakeChoiceFrame(QRadioButton* first, QRadioButton* second, Qt::Orientation orientation,
                                          const QString& title)
{
    auto* frame = new QGroupBox(title, this);
    QBoxLayout* layout = nullptr;
    if (orientation == Qt::Horizontal)
        layout = new QHBoxLayout(frame);
    else
        layout = new QVBoxLayout(frame);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addStretch();
    // Each pair is exclusive on its own, though all share the dialog.
    auto* group = new QButtonGroup(frame);
    group->addButton(first);
    group->addButton(second);
    return frame;
}

std::int32_t CSigGenDialog::ReadInteger(const QLineEdit* edit, std::size_t bufferSize)
{
    return siggen_text::ReadInteger(edit->text().toStdString(), bufferSize);
}

float CSigGenDialog::ReadReal(const QLineEdit* edit, std::size_t bufferSize)
{
    return siggen_text::ReadReal(edit->text().toStdString(), bufferSize);
}
