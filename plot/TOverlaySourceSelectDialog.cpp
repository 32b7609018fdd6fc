#include "plot/TOverlaySourceSelectDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

TOverlaySourceSelectDialog::TOverlaySourceSelectDialog(QWidget* parent, std::uint8_t* choice)
    : QDialog(parent), m_Choice(choice)
{
    setWindowTitle(QStringLiteral("Select Data Source"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* frame = new QGroupBox(QStringLiteral("Select Data Source"), this);
    auto* column = new QVBoxLayout(frame);
    m_PeakHold = new QRadioButton(QStringLiteral("Peak Hold Data"), frame);
    m_Spectral = new QRadioButton(QStringLiteral("Spectral Data"), frame);
    column->addWidget(m_PeakHold);
    column->addWidget(m_Spectral);
    layout->addWidget(frame);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TOverlaySourceSelectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TOverlaySourceSelectDialog::reject);
    layout->addWidget(buttons);
    (m_Choice != nullptr && *m_Choice == 1 ? m_PeakHold : m_Spectral)->setChecked(true);
}

void TOverlaySourceSelectDialog::accept()
{
    if (m_Choice != nullptr)
        *m_Choice = m_PeakHold->isChecked() ? 1 : 0;
    QDialog::accept();
}
