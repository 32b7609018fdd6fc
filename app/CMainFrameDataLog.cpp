// The data log in the frame: the logger the run control drives, its
// settings sheet, and the log folder and files shown on the desktop.

#include "app/CMainFrame.h"

#include "app/CDataLoggingMainDlg.h"
#include "app/CSidebar.h"
#include "app/core/DataLogSheetRules.h"
#include "app/core/FrameCommandIds.h"
#include "app/core/FrameMenus.h"
#include "app/core/TDataLog.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "platform/MessageBox.h"
#include "settings/TextField.h"

#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <filesystem>

void CMainFrame::CreateDataLog()
{
    m_DataLog = std::make_unique<TDataLog>(m_Settings, *m_Processing, m_Clock, *this);
    // Failures come up inside the acquisition timer's handler: the message
    // waits until that handler has returned, so the run is never re-entered
    // from under the message box.
    m_DataLog->SetReport([this](const std::string& text) {
        QTimer::singleShot(0, this, [text] { platform::ShowMessageBox(text, platform::MessageIcon::Error); });
    });
}

void CMainFrame::OnDataLoggingSettings()
{
    // The sheet changes what the open files hold: they close first, and the
    // next Run opens new ones.
    if (IsRunning())
        OnStop();
    m_DataLog->StopDataLogging();

    std::vector<CDataLoggingMainDlg::PageEntry> pages;
    for (int c = 0; c < 2; ++c) {
        if (m_DataLog->GetLogSpectrum(c) == nullptr)
            continue;
        // Log channel 0 of the right-channel mode serves the right input.
        const int input = (c == 0 && m_Processing->GetBuiltMode() == 1) ? 1 : c;
        pages.push_back({c, std::string(TextFieldView(m_Settings.Calibration[input].ChannelName))});
    }
    if (pages.empty()) {
        platform::ShowMessageBox("No channels are enabled yet!", platform::MessageIcon::Information);
        return;
    }

    // Set Data Logging Folder... may move the folder while the sheet is
    // open: each button asks where it is when pressed.
    CDataLogSetupDlg::Actions actions;
    actions.logFolder = [this] { return m_DataLog->LogFolder(); };
    actions.openFolder = [this] {
        const std::string folder = m_DataLog->LogFolder();
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error)) {
            platform::ShowMessageBox("The data logging folder does not exist yet:\n\n     " + folder +
                                         "\n\nIt is created when logging starts.",
                                     platform::MessageIcon::Information);
            return;
        }
        OpenExternal(QUrl::fromLocalFile(QString::fromStdString(folder)));
    };
    if (frame_menus::IsCommandBuilt(frame_command::kSetPaths))
        actions.setFolder = [this] { OnCommand(frame_command::kSetPaths); };
    actions.viewFile = [this](const std::string& path) { OpenLogFileInViewer(path); };

    DataLogSettings copy = m_Settings.DataLog;
    CDataLoggingMainDlg sheet(this, &copy, pages, actions, [this](int id) { ShowHelp(id); });
    if (sheet.exec() != QDialog::Accepted)
        return;
    m_Settings.DataLog = copy;
    m_DataLog->ApplyEnableFlags();
    if (m_Sidebar != nullptr)
        m_Sidebar->UpdateRunState();
}

void CMainFrame::OpenLogFileInViewer(const std::string& path)
{
    if (path.empty()) {
        platform::ShowMessageBox("There is no log file of this channel yet in:\n\n     " + m_DataLog->LogFolder(),
                                 platform::MessageIcon::Information);
        return;
    }
    const data_log_sheet::ViewerChoice choice = data_log_sheet::ChooseLogViewer(
        TextFieldView(m_Settings.DataLog.LogViewerProgram), [](const std::string& name) {
            return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
        });
    switch (choice.kind) {
    case data_log_sheet::ViewerChoice::kDesktopDefault:
        OpenExternal(QUrl::fromLocalFile(QString::fromStdString(path)));
        break;
    case data_log_sheet::ViewerChoice::kProgram:
        if (!QProcess::startDetached(QString::fromStdString(choice.program), {QString::fromStdString(path)}))
            platform::ShowMessageBox("The log viewer program " + choice.program + " could not be started.",
                                     platform::MessageIcon::Error);
        break;
    case data_log_sheet::ViewerChoice::kMissing:
        platform::ShowMessageBox(choice.message, platform::MessageIcon::Error);
        break;
    }
}
