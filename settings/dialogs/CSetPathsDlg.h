#pragma once
// "Set Paths": the overlay and data-log folders of the configured data
// paths, changed in place on OK.

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
    DataPaths& m_Paths;
    std::string m_DataRoot;
    QLineEdit* m_Overlay = nullptr;
    QLineEdit* m_Log = nullptr;
};
