#include "settings/dialogs/CFileIOoptionsDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/MessageBox.h"
#include "settings/PathDialogsLogic.h"
#include "settings/dialogs/DialogIds.h"

CFileIOoptionsDlg::CFileIOoptionsDlg(FileIOOpts& options, std::function<void(int)> showHelp, QWidget* parent)
    : QDialog(parent), m_Options(options)
{
    setWindowTitle(QStringLiteral("File I/O Options"));
    const path_dialogs::FileIOFields f = path_dialogs::FieldsOf(options);

    auto* access = new QGroupBox(QStringLiteral("File Access Settings"));
    auto* accessForm = new QFormLayout(access);
    m_Ram = WithId(new QRadioButton(QStringLiteral("RAM")), 1996);
    m_Disk = WithId(new QRadioButton(QStringLiteral("Hard Disk")), 1997);
    m_Backup = WithId(new QCheckBox(QStringLiteral("Make Backup")), 1998);
    m_Calibration = WithId(new QCheckBox(QStringLiteral("Include Calibration Data in WAV file")), 1999);
    m_RamSeconds = WithId(new QLineEdit(QString::fromStdString(f.ramSeconds)), 2000);
    m_SizeMb = WithId(new QLineEdit(QString::fromStdString(f.sizeMegabytes)), 2001);
    m_Reopen = WithId(new QCheckBox(QStringLiteral("Automatically reopen WAV file when program launches")), 2156);
    accessForm->addRow(m_Ram);
    accessForm->addRow(m_Disk);
    accessForm->addRow(m_Backup);
    accessForm->addRow(m_Calibration);
    accessForm->addRow(QStringLiteral("Max Recording Time (Seconds)"), m_RamSeconds);
    accessForm->addRow(QStringLiteral("Max Recording Size (MB)"), m_SizeMb);
    accessForm->addRow(m_Reopen);

    auto* buffering = new QGroupBox(QStringLiteral("Real Time Mode Data Buffering"));
    auto* bufferingForm = new QFormLayout(buffering);
    m_Buffering = WithId(new QCheckBox(QStringLiteral("Enable Data Buffering")), 2002);
    m_BufferSeconds = WithId(new QLineEdit(QString::fromStdString(f.bufferSeconds)), 2003);
    bufferingForm->addRow(m_Buffering);
    bufferingForm->addRow(QStringLiteral("Data Buffer Size (Seconds)"), m_BufferSeconds);
    for (QLineEdit* edit : {m_RamSeconds, m_SizeMb, m_BufferSeconds})
        edit->setMaxLength(79);

    (f.ram ? m_Ram : m_Disk)->setChecked(true);
    m_Backup->setChecked(f.makeBackup);
    m_Calibration->setChecked(f.includeCalibration);
    m_Buffering->setChecked(f.buffering);
    m_Reopen->setChecked(f.autoReopen);
    UpdateBackup();
    connect(m_Ram, &QRadioButton::toggled, this, [this] { UpdateBackup(); });
    // Stored and kept in the settings files, but nothing in this version acts
    // on them yet (no size limit on disk recordings, no real-time buffering,
    // no reopening at start): greyed rather than shown as live.
    for (QWidget* inert : {static_cast<QWidget*>(m_SizeMb), static_cast<QWidget*>(m_Reopen),
                           static_cast<QWidget*>(m_Buffering), static_cast<QWidget*>(m_BufferSeconds)}) {
        inert->setEnabled(false);
        inert->setToolTip(QStringLiteral("Not used in this version of Talvenor Mobile"));
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    WithId(buttons->button(QDialogButtonBox::Help), 1001);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [showHelp] {
        if (showHelp)
            showHelp(kHelpContext);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(access);
    layout->addWidget(buffering);
    layout->addWidget(buttons);
}

void CFileIOoptionsDlg::UpdateBackup()
{
    m_Backup->setEnabled(!m_Ram->isChecked());
}

void CFileIOoptionsDlg::accept()
{
    path_dialogs::FileIOFields f;
    f.ram = m_Ram->isChecked();
    f.makeBackup = m_Backup->isChecked();
    f.includeCalibration = m_Calibration->isChecked();
    f.buffering = m_Buffering->isChecked();
    f.autoReopen = m_Reopen->isChecked();
    f.ramSeconds = m_RamSeconds->text().toStdString();
    f.sizeMegabytes = m_SizeMb->text().toStdString();
    f.bufferSeconds = m_BufferSeconds->text().toStdString();
    if (const auto failure = path_dialogs::ApplyFileIOFields(m_Options, f)) {
        platform::ShowMessageBox(*failure, platform::MessageIcon::Error);
        return;
    }
    QDialog::accept();
}
