#pragma once
// The wave file a "user defined" channel plays, and whether it repeats.

#include <QString>

#include <cstdint>
#include <functional>

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

class QCheckBox;
class QLineEdit;

class CUserWaveDialog : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 450;
    static constexpr std::size_t kEditBuffer = UserDefinedSettings::kFileNameSize;

    // Asks for an existing wave file starting in a folder; empty when the
    // operator cancels. Replaceable so that tests need no file dialog.
    using FilePicker = std::function<QString(QWidget* parent, const QString& folder)>;

    // fileName: the channel's WaveFileName (260 characters); repeat: its
    // RepeatFlag; waveFolder: where the Pick... dialog starts.
    CUserWaveDialog(QWidget* parent, char* fileName, std::uint8_t* repeat, const QString& waveFolder);

    void SetFilePicker(FilePicker picker) { picker_ = std::move(picker); }

    // Pick...: a chosen file is stored at once, even if the dialog is then
    // cancelled.
    void OnPick();

protected:
    bool OnOK() override;

private:
    char* fileName_;
    std::uint8_t* repeat_;
    QString waveFolder_;
    FilePicker picker_;
    QLineEdit* file_;
    QCheckBox* repeatCheck_;
};
