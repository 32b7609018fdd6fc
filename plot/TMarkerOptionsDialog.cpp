#include "plot/TMarkerOptionsDialog.h"

#include "platform/MessageBox.h"
#include "platform/qt/Utf8LengthValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kFrequencyWidth = 90;
constexpr int kCustomWidth = 160;

} // namespace

TMarkerOptionsDialog::TMarkerOptionsDialog(QWidget* parent, MarkerOpts* opts) : QDialog(parent), m_Opts(opts)
{
    setWindowTitle(QStringLiteral("Marker Options"));
    setObjectName(QStringLiteral("MarkerOptions"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->addWidget(new QLabel(QStringLiteral("Frequency (Hz)"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Label Type"), this), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Custom Label"), this), 0, 4);

    const MarkerOptionsForm form = marker_options::Fill(*m_Opts);
    for (int i = 0; i < static_cast<int>(MarkerOpts::kMarkerCount); ++i) {
        Row& row = m_Rows[static_cast<std::size_t>(i)];
        const MarkerRowForm& values = form.Rows[i];
        const int line = i + 1;
        grid->addWidget(new QLabel(QString::number(line), this), line, 0);
        row.Enable = new QCheckBox(this);
        row.Enable->setObjectName(QStringLiteral("Enable%1").arg(line));
        row.Enable->setChecked(values.Enabled);
        row.Frequency = new QLineEdit(QString::fromStdString(values.Frequency), this);
        row.Frequency->setObjectName(QStringLiteral("Frequency%1").arg(line));
        row.Frequency->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.Frequency->setFixedWidth(kFrequencyWidth);
        row.Label = new QComboBox(this);
        row.Label->setObjectName(QStringLiteral("LabelType%1").arg(line));
        for (std::size_t t = 0; t < std::size(marker_options::kLabelTypes); ++t)
            row.Label->addItem(QString::fromUtf8(marker_options::kLabelTypes[t]), static_cast<int>(t));
        row.Label->setCurrentIndex(static_cast<int>(values.LabelType));
        row.Custom = new QLineEdit(QString::fromStdString(values.CustomLabel), this);
        row.Custom->setObjectName(QStringLiteral("CustomLabel%1").arg(line));
        row.Custom->setValidator(new Utf8LengthValidator(marker_options::kCustomLabelLength, row.Custom));
        row.Custom->setFixedWidth(kCustomWidth);
        grid->addWidget(row.Enable, line, 1);
        grid->addWidget(row.Frequency, line, 2);
        grid->addWidget(row.Label, line, 3);
        grid->addWidget(row.Custom, line, 4);
        connect(row.Enable, &QCheckBox::clicked, this, [this, i] { EnableRow(i); });
        connect(row.Label, &QComboBox::currentIndexChanged, this, [this, i] { EnableRow(i); });
        EnableRow(i);
    }
    layout->addLayout(grid);
    m_PeakHold = new QCheckBox(QStringLiteral("Mark Peak Hold Trace if Available"), this);
    m_PeakHold->setObjectName(QStringLiteral("PeakHoldFlag"));
    m_PeakHold->setChecked(form.PeakHold);
    layout->addWidget(m_PeakHold);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TMarkerOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TMarkerOptionsDialog::reject);
    layout->addWidget(buttons);
}

void TMarkerOptionsDialog::EnableRow(int i)
{
    const Row& row = m_Rows[static_cast<std::size_t>(i)];
    const bool enabled = row.Enable->isChecked();
    row.Frequency->setEnabled(enabled);
    row.Label->setEnabled(enabled);
    row.Custom->setEnabled(
        marker_options::CustomLabelEnabled(enabled, static_cast<std::uint32_t>(row.Label->currentData().toInt())));
}

MarkerOptionsForm TMarkerOptionsDialog::ReadForm() const
{
    MarkerOptionsForm form;
    for (std::size_t i = 0; i < MarkerOpts::kMarkerCount; ++i) {
        const Row& row = m_Rows[i];
        MarkerRowForm& values = form.Rows[i];
        values.Enabled = row.Enable->isChecked();
        values.Frequency = row.Frequency->text().toStdString();
        values.LabelType = static_cast<std::uint32_t>(std::max(0, row.Label->currentData().toInt()));
        values.CustomLabel = row.Custom->text().toStdString();
    }
    form.PeakHold = m_PeakHold->isChecked();
    return form;
}

void TMarkerOptionsDialog::accept()
{
    const std::string message = marker_options::Validate(ReadForm(), *m_Opts);
    if (!message.empty()) {
        platform::ShowMessageBox(message, platform::MessageIcon::Error);
        return;
    }
    QDialog::accept();
}
