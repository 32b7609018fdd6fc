#include "app/CDataLoggingMainDlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CDataLoggingMainDlg::CDataLoggingMainDlg(QWidget* parent, DataLogSettings* settings,
                                         const std::vector<PageEntry>& pages, const CDataLogSetupDlg::Actions& actions,
                                         std::function<void(int)> showHelp)
    : QDialog(parent), m_Settings(settings), m_Tabs(new QTabWidget(this)), m_ShowHelp(std::move(showHelp))
{
    setWindowTitle("Data Logging Settings");
    setObjectName("DataLoggingSettings");
    for (const PageEntry& item : pages) {
        if (item.channel != 0 && item.channel != 1)
            continue;
        auto* page = new CDataLogSetupDlg(m_Tabs, item.channel, &m_Settings->Channel[item.channel], item.channelName,
                                          actions);
        m_Pages[item.channel] = page;
        m_Tabs->addTab(page, item.channel == 0 ? "Data Log Settings - Left" : "Data Log Settings - Right");
    }

    // The platform's button order, as in every other sheet.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName("1");
    ok->setDefault(true);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName("2");
    QPushButton* help = buttons->button(QDialogButtonBox::Help);
    help->setObjectName("303");
    auto* defaults = buttons->addButton("&Defaults", QDialogButtonBox::ResetRole);
    defaults->setObjectName("301");
    help->setEnabled(static_cast<bool>(m_ShowHelp));
    defaults->setEnabled(m_Tabs->count() > 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Tabs, 1);
    layout->addWidget(buttons);

    connect(help, &QPushButton::clicked, this, [this] { m_ShowHelp(kHelpContext); });
    connect(defaults, &QPushButton::clicked, this, &CDataLoggingMainDlg::OnDefaults);
    connect(ok, &QPushButton::clicked, this, &CDataLoggingMainDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CDataLoggingMainDlg::reject);
}

CDataLogSetupDlg* CDataLoggingMainDlg::Page(int channel) const
{
    return channel == 0 || channel == 1 ? m_Pages[channel] : nullptr;
}

void CDataLoggingMainDlg::OnDefaults()
{
    if (auto* page = qobject_cast<CDataLogSetupDlg*>(m_Tabs->currentWidget()))
        page->SetDefaults();
}

void CDataLoggingMainDlg::accept()
{
    for (CDataLogSetupDlg* page : m_Pages) {
        if (page == nullptr)
            continue;
        // Shown before its check, so a refused field can take the focus.
        QWidget* shown = m_Tabs->currentWidget();
        m_Tabs->setCurrentWidget(page);
        if (!page->Validate())
            return;
        m_Tabs->setCurrentWidget(shown);
    }
    QDialog::accept();
}
