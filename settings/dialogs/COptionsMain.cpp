#include "settings/dialogs/COptionsMain.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "settings/dialogs/CCalibrationDlgSPL.h"
#include "settings/dialogs/CDeviceDlg.h"
#include "settings/dialogs/CSettingsDlg.h"
#include "settings/dialogs/DialogIds.h"

COptionsMain::COptionsMain(ProcessingSheetRecords& records, ProcessingSheetServices& services, int startPage,
                           QWidget* parent)
    : QDialog(parent), m_Services(services)
{
    setWindowTitle(QStringLiteral("Processing Settings"));
    m_Pages = new QTabWidget;
    m_Settings = new CSettingsDlg(records);
    m_Calibration = new CCalibrationDlgSPL(records, services);
    m_Device = new CDeviceDlg(records, services);
    m_Pages->addTab(m_Settings, QStringLiteral("Settings"));
    m_Pages->addTab(m_Calibration, QStringLiteral("Calibration"));
    m_Pages->addTab(m_Device, QStringLiteral("Device"));
    m_Current = processing_sheet::StartPage(startPage);
    m_Pages->setCurrentIndex(m_Current);
    connect(m_Pages, &QTabWidget::currentChanged, this, [this](int page) { OnPageChanging(page); });

    auto* help = WithId(new QPushButton(QStringLiteral("Help")), 302);
    auto* defaults = WithId(new QPushButton(QStringLiteral("&Defaults")), 301);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { m_Services.ShowHelp(processing_sheet::kHelpContext[ActivePage()]); });
    connect(defaults, &QPushButton::clicked, this, [this] { OnDefaults(); });

    auto* row = new QHBoxLayout;
    row->addWidget(help);
    row->addWidget(defaults);
    row->addStretch(1);
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Pages);
    layout->addLayout(row);
}

int COptionsMain::ActivePage() const
{
    return m_Pages->currentIndex();
}

bool COptionsMain::ApplyPage(int page)
{
    switch (page) {
    case processing_sheet::kSettingsPage: return m_Settings->ApplySettings();
    case processing_sheet::kCalibrationPage: return m_Calibration->ApplyCalibration();
    default: return m_Device->ApplySettings();
    }
}

void COptionsMain::OnPageChanging(int newPage)
{
    if (m_Switching)
        return;
    const int leaving = m_Current;
    if (!ApplyPage(leaving)) {
        m_Switching = true;
        m_Pages->setCurrentIndex(leaving);
        m_Switching = false;
        return;
    }
    m_Current = newPage;
    // The pages read each other's copies: the channel count and the range.
    if (newPage == processing_sheet::kCalibrationPage)
        m_Calibration->UpdateControls();
}

void COptionsMain::OnDefaults()
{
    switch (ActivePage()) {
    case processing_sheet::kSettingsPage: m_Settings->ResetDefaults(); break;
    case processing_sheet::kCalibrationPage: m_Calibration->ResetDefaults(); break;
    default: m_Device->ResetDefaults(); break;
    }
}

void COptionsMain::accept()
{
    const int order[] = {processing_sheet::kSettingsPage, processing_sheet::kDevicePage,
                         processing_sheet::kCalibrationPage};
    for (int page : order) {
        if (!ApplyPage(page)) {
            m_Switching = true;
            m_Pages->setCurrentIndex(page);
            m_Current = page;
            m_Switching = false;
            return;
        }
    }
    processing_sheet::RememberPage(ActivePage());
    QDialog::accept();
}

void COptionsMain::reject()
{
    m_Calibration->AbortCalibration();
    QDialog::reject();
}
