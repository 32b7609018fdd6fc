#pragma once
// "File I/O Options": how the recorder keeps recordings, edited in a copy
// that the caller takes back on OK.

#include <QDialog>

#include <functional>

#include "settings/FileIOOpts.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

class CFileIOoptionsDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 820;

    CFileIOoptionsDlg(FileIOOpts& options, std::function<void(int)> showHelp, QWidget* parent = nullptr);
    void accept() override;

private:
    void UpdateBackup();

    FileIOOpts& m_Options;
    QRadioButton* m_Ram = nullptr;
    QRadioButton* m_Disk = nullptr;
    QCheckBox* m_Backup = nullptr;
    QCheckBox* m_Calibration = nullptr;
    QLineEdit* m_RamSeconds = nullptr;
    QLineEdit* m_SizeMb = nullptr;
    QCheckBox* m_Buffering = nullptr;
    QLineEdit* m_BufferSeconds = nullptr;
    QCheckBox* m_Reopen = nullptr;
};
