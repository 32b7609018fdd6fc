#include "utilities/CQueryCalibrationDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CQueryCalibrationDlg::CQueryCalibrationDlg(QWidget* parent, bool* result) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Calibration Warning"));
    auto* text = new QLabel(QString::fromUtf8(kText), this);
    text->setObjectName(QStringLiteral("Text2263"));
    text->setWordWrap(true);
    auto* keep = new QPushButton(QStringLiteral("Continue using Current Calibration"), this);
    keep->setObjectName(QStringLiteral("Button%1").arg(kContinueId));
    auto* disable = new QPushButton(QStringLiteral("Disable Calibration"), this);
    disable->setObjectName(QStringLiteral("Button%1").arg(kDisableId));
    connect(keep, &QPushButton::clicked, this, [this, result] {
        if (result != nullptr)
            *result = false;
        accept();
    });
    connect(disable, &QPushButton::clicked, this, [this, result] {
        if (result != nullptr)
            *result = true;
        accept();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(keep);
    buttons->addWidget(disable);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
}
