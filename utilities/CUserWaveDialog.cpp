#include "utilities/CUserWaveDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>
#include <string>

#include "utilities/siggenlogic/SigGenText.h"

namespace {

QString PickWaveFile(QWidget* parent, const QString& folder)
{
    QFileDialog dialog(parent, "Open Wave File", folder, "Wave Files (*.wav)");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setDefaultSuffix("wav");
    dialog.selectFile("*.wav");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void CopyName(char* destination, const std::string& name)
{
    const std::size_t length = siggen_text::CutToBuffer(name, CUserWaveDialog::kEditBuffer).size();
    std::memcpy(destination, name.data(), length);
    destination[length] = '\0';
}

} // namespace

CUserWaveDialog::CUserWaveDialog(QWidget* parent, char* fileName, std::uint8_t* repeat, const QString& waveFolder)
    : CSigGenDialog(parent, "User Defined Signal", kHelpContext), fileName_(fileName), repeat_(repeat),
      waveFolder_(waveFolder), picker_(PickWaveFile),
      file_(new QLineEdit(QFile::decodeName(QByteArray(fileName, static_cast<int>(::strnlen(fileName, kEditBuffer)))), this)),
      repeatCheck_(MakeCheck(1978, "Repeat waveform continuously"))
{
    file_->setObjectName("1947");
    file_->setMinimumWidth(320);
    auto* pick = new QPushButton("Pick...", this);
    pick->setObjectName("1946");
    connect(pick, &QPushButton::clicked, this, &CUserWaveDialog::OnPick);
    repeatCheck_->setChecked(*repeat != 0);

    auto* source = new QGroupBox("Wave File to use as waveform source", this);
    auto* row = new QHBoxLayout(source);
    row->addWidget(file_, 1);
    row->addWidget(pick);

    auto* content = new QVBoxLayout;
    content->addWidget(source);
    content->addWidget(repeatCheck_);
    SetContent(content);
}

void CUserWaveDialog::OnPick()
{
    const QString chosen = picker_ ? picker_(this, waveFolder_) : QString();
    if (chosen.isEmpty())
        return;
    CopyName(fileName_, QFile::encodeName(chosen).toStdString());
    file_->setText(QFile::decodeName(fileName_));
}

bool CUserWaveDialog::OnOK()
{
    // A name that is not valid UTF-8 shows with replacement characters;
    // read back, those would name another file. Unedited, its bytes stay.
    const QByteArray stored(fileName_, static_cast<qsizetype>(::strnlen(fileName_, kEditBuffer)));
    if (file_->text() != QFile::decodeName(stored))
        CopyName(fileName_, QFile::encodeName(file_->text()).toStdString());
    *repeat_ = repeatCheck_->isChecked() ? 1 : 0;
    return true;
}
