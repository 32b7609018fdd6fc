#include "settings/dialogs/CSetPathsDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/MessageBox.h"
#include "settings/PathDialogsLogic.h"
#include "settings/dialogs/DialogIds.h"

CSetPathsDlg::CSetPathsDlg(DataPaths& paths, std::string dataRoot, QWidget* parent)
    : QDialog(parent), m_Paths(paths), m_DataRoot(std::move(dataRoot))
{
    setWindowTitle(QStringLiteral("Set Paths"));
    m_Overlay = WithId(new QLineEdit(QString::fromStdString(std::string(paths.Get(DataPaths::kOverlay)))), 1988);
    m_Log = WithId(new QLineEdit(QString::fromStdString(std::string(paths.Get(DataPaths::kLog)))), 1989);
    for (QLineEdit* edit : {m_Overlay, m_Log}) {
        edit->setMaxLength(DataPaths::kPathSize - 1);
        edit->setMinimumWidth(360);
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Overlay Files:"), m_Overlay);
    form->addRow(QStringLiteral("Data Log Files:"), m_Log);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* defaults = WithId(buttons->addButton(QStringLiteral("Defaults"), QDialogButtonBox::ResetRole), 1994);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] {
        m_Overlay->setText(QString::fromStdString(path_dialogs::DefaultOverlayFolder(m_DataRoot)));
        m_Log->setText(QString::fromStdString(path_dialogs::DefaultLogFolder(m_DataRoot)));
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CSetPathsDlg::accept()
{
    if (const auto failure =
            path_dialogs::ApplySetPaths(m_Paths, m_Overlay->text().toStdString(), m_Log->text().toStdString())) {
        platform::ShowMessageBox(*failure, platform::MessageIcon::Error);
        return;
    }
    QDialog::accept();
}
