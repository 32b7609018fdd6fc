#pragma once
// The data-logging sheet: one tab per logged channel over a copy of the
// frame's DataLogSettings, with Help, Defaults (on the shown tab only), OK
// and Cancel. OK checks every tab and stays open on the first refusal,
// showing that tab; the caller copies the record back after OK.

#include "app/CDataLogSetupDlg.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QPushButton;
class QTabWidget;

class CDataLoggingMainDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 430;

    struct PageEntry {
        int channel = 0;
        // The channel's calibration name, the stem the page offers.
        std::string channelName;
    };

    CDataLoggingMainDlg(QWidget* parent, DataLogSettings* settings, const std::vector<PageEntry>& pages,
                        const CDataLogSetupDlg::Actions& actions, std::function<void(int)> showHelp);

    QTabWidget* Tabs() const { return m_Tabs; }
    // The page of log channel 0 or 1, or null.
    CDataLogSetupDlg* Page(int channel) const;
    void OnDefaults();
    void accept() override;

private:
    DataLogSettings* m_Settings;
    QTabWidget* m_Tabs;
    CDataLogSetupDlg* m_Pages[2] = {};
    std::function<void(int)> m_ShowHelp;
};
