#pragma once
// "Set Paths": the overlay and data-log folders of the configured data
// paths, changed in place on OK. A folder name that is not valid UTF-8
// shows as well as it can and is kept byte for byte unless edited.

#include <QDialog>

#include <string>

#include "settings/DataPaths.h"

class QLineEdit;

class CSetPathsDlg : public QDialog {
    Q_OBJECT

public:
    CSetPathsDlg(DataPaths& paths, std::string dataRoot, QWidget* parent = nullptr);
    void accept() override;

private:
    // The folder's bytes: the stored ones while the edit shows them unedited.
    std::string FolderOf(const QLineEdit* edit, const std::string& stored) const;

    DataPaths& m_Paths;
    std::string m_StoredOverlay;
    std::string m_StoredLog;
    std::string m_DataRoot;
    QLineEdit* m_Overlay = nullptr;
    QLineEdit* m_Log = nullptr;
};
