#include "plot/TCompositeOverlayDialog.h"

#include "plot/overlay/OverlayChecks.h"

#include "platform/MessageBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TCompositeOverlayDialog::TCompositeOverlayDialog(QWidget* parent, CompositeSetup* setup,
                                                 std::function<void(int)> help)
    : QDialog(parent), m_Setup(setup), m_Help(std::move(help))
{
    setWindowTitle(QStringLiteral("Composite Overlay Setup"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* frame = new QGroupBox(QStringLiteral("Operation"), this);
    auto* grid = new QGridLayout(frame);
    m_Average = new QRadioButton(QStringLiteral("Average:"), frame);
    m_Subtract = new QRadioButton(QStringLiteral("Subtract:"), frame);
    grid->addWidget(m_Average, 0, 0);
    grid->addWidget(m_Subtract, 0, 2, 1, 3);
    const std::array<QButtonGroup*, 2> columns{new QButtonGroup(this), new QButtonGroup(this)};
    for (int n = 0; n < 6; ++n) {
        const QString number = QString::number(n + 1);
        m_Boxes[n] = new QCheckBox(number, frame);
        grid->addWidget(m_Boxes[n], n + 1, 0);
        for (int c = 0; c < 2; ++c) {
            m_Columns[c][n] = new QRadioButton(number, frame);
            columns[c]->addButton(m_Columns[c][n], n);
            grid->addWidget(m_Columns[c][n], n + 1, c == 0 ? 2 : 4);
        }
    }
    grid->addWidget(new QLabel(QStringLiteral("from"), frame), 3, 3, 2, 1);
    grid->setColumnMinimumWidth(1, 24);
    layout->addWidget(frame);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help,
                                         this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TCompositeOverlayDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TCompositeOverlayDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_Help)
            m_Help(kHelpContext);
    });
    layout->addWidget(buttons);

    const CompositeSetup s = m_Setup != nullptr ? *m_Setup : CompositeSetup{};
    for (int n = 0; n < 6; ++n)
        m_Boxes[n]->setChecked(s.IncludeInAverage[n] == 1);
    // "Subtract: [b] from [a]" reads as a − b, which is what the composite
    // computes: the first column holds the second index.
    if (s.DifferenceIndex2 < 6)
        m_Columns[0][s.DifferenceIndex2]->setChecked(true);
    if (s.DifferenceIndex1 < 6)
        m_Columns[1][s.DifferenceIndex1]->setChecked(true);
    (s.CompositeType == CompositeSetup::kAverage ? m_Average : m_Subtract)->setChecked(true);
    connect(m_Average, &QRadioButton::toggled, this, &TCompositeOverlayDialog::EnableForType);
    EnableForType();
}

void TCompositeOverlayDialog::EnableForType()
{
    const bool average = m_Average->isChecked();
    for (int n = 0; n < 6; ++n) {
        m_Boxes[n]->setEnabled(average);
        m_Columns[0][n]->setEnabled(!average);
        m_Columns[1][n]->setEnabled(!average);
    }
}

void TCompositeOverlayDialog::accept()
{
    CompositeSetup s = m_Setup != nullptr ? *m_Setup : CompositeSetup{};
    s.CompositeType = m_Average->isChecked() ? CompositeSetup::kAverage : CompositeSetup::kDifference;
    for (int n = 0; n < 6; ++n)
        s.IncludeInAverage[n] = m_Boxes[n]->isChecked() ? 1 : 0;
    for (int n = 0; n < 6; ++n) {
        if (m_Columns[0][n]->isChecked())
            s.DifferenceIndex2 = static_cast<std::uint16_t>(n);
        if (m_Columns[1][n]->isChecked())
            s.DifferenceIndex1 = static_cast<std::uint16_t>(n);
    }
    const std::string refusal = overlay_checks::CheckComposite(s);
    if (!refusal.empty()) {
        platform::ShowMessageBox(refusal, platform::MessageIcon::Error);
        return;
    }
    if (m_Setup != nullptr)
        *m_Setup = s;
    QDialog::accept();
}
