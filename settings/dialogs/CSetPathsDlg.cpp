#include "settings/dialogs/CSetPathsDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/MessageBox.h"
#include "platform/qt/Utf8LengthValidator.h"
#include "settings/PathDialogsLogic.h"
#include "settings/dialogs/DialogIds.h"

namespace {

QString Shown(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

CSetPathsDlg::CSetPathsDlg(DataPaths& paths, std::string dataRoot, QWidget* parent)
    : QDialog(parent),
      m_Paths(paths),
      m_StoredOverlay(paths.Get(DataPaths::kOverlay)),
      m_StoredLog(paths.Get(DataPaths::kLog)),
      m_DataRoot(std::move(dataRoot))
{
    setWindowTitle(QStringLiteral("Set Paths"));
    m_Overlay = WithId(new QLineEdit(Shown(m_StoredOverlay)), 1988);
    m_Log = WithId(new QLineEdit(Shown(m_StoredLog)), 1989);
    for (QLineEdit* edit : {m_Overlay, m_Log}) {
        edit->setValidator(new Utf8LengthValidator(DataPaths::kPathSize - 1, edit));
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

std::string CSetPathsDlg::FolderOf(const QLineEdit* edit, const std::string& stored) const
{
    // A name that is not UTF-8 shows with replacement characters; read
    // back, those would name another folder.
    if (edit->text() == Shown(stored))
        return stored;
    return edit->text().toStdString();
}

void CSetPathsDlg::accept()
{
    const auto ask = [](const std::string& folder) {
        return platform::ShowMessageBox(path_dialogs::MissingFolderQuestion(folder), platform::MessageIcon::Question,
                                        platform::MessageButtons::YesNo)
               == platform::MessageResult::Yes;
    };
    if (const auto failure = path_dialogs::ApplySetPaths(m_Paths, FolderOf(m_Overlay, m_StoredOverlay),
                                                         FolderOf(m_Log, m_StoredLog), ask)) {
        if (!failure->empty())
            platform::ShowMessageBox(*failure, platform::MessageIcon::Error);
        return;
    }
    QDialog::accept();
}
