#pragma once
// One page of the data-logging sheet: a log channel's switch, measurements,
// interval, span, threshold and file-name stem, edited in that channel's
// LoggingOpts inside the sheet's copy of the settings. The checks are
// data_log_sheet's; the page only moves texts and check marks.

#include "app/core/DataLogSheetRules.h"
#include "settings/DataLogSettings.h"

#include <QWidget>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class CDataLogSetupDlg : public QWidget {
    Q_OBJECT

public:
    // What the folder buttons do; an empty action greys its button.
    struct Actions {
        std::function<void()> openFolder;
        std::function<void()> setFolder;
        // Shows the channel's newest log file; empty path: none yet.
        std::function<void(const std::string& path)> viewFile;
        // The log folder as it is when asked: Set Paths may move it while
        // the sheet is open.
        std::function<std::string()> logFolder;
    };

    CDataLogSetupDlg(QWidget* parent, int channel, LoggingOpts* opts, std::string channelName, Actions actions);

    int Channel() const { return m_Channel; }
    // Reads the controls into the channel's LoggingOpts; false (after the
    // message) when a field is refused, with the focus on it.
    bool Validate();
    void SetDefaults();

private:
    void FillList();
    void FillThresholdTypes();
    void FillFields();
    void EnableControls();
    void OnApplyThreshold();
    void StoreListChecks();
    void OnViewFile();

    int m_Channel;
    LoggingOpts* m_Opts;
    std::string m_ChannelName;
    Actions m_Actions;

    QCheckBox* m_Enable;
    QLineEdit* m_Interval;
    QLineEdit* m_Start;
    QLineEdit* m_Stop;
    QCheckBox* m_Apply;
    QLineEdit* m_Level;
    QComboBox* m_Type;
    QListWidget* m_List;
    QLineEdit* m_FileName;
    QPushButton* m_SetFolder;
    QPushButton* m_OpenFolder;
    QPushButton* m_ViewFile;
};
