// The frame's menus, accelerators and commands, its help and documents.

#include "app/CMainFrame.h"

#include "app/CAboutDialog.h"
#include "app/CHelpWindow.h"
#include "app/CSidebar.h"
#include "app/CToolbar2.h"
#include "app/SidebarButtons.h"
#include "app/ToolbarButtons.h"
#include "app/core/FrameCommandIds.h"
#include "app/core/FrameMenus.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "platform/MessageBox.h"
#include "widgets/CToolBtn.h"
#include "widgets/ScreenPlacement.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QWindow>
#include <QUrl>

namespace {

// The maker's home page ("Go to Website...").
constexpr const char* kMakerWebsite = "https://www.talvenor.example/";

// Commands the bars send: the numbered ones are frame commands, the rest
// the frame's own operations.
bool IsBarCommandBuilt(FrameCommand command)
{
    const auto id = static_cast<std::uint32_t>(command);
    if (id < static_cast<std::uint32_t>(FrameCommand::ProcessingSettingsPage0))
        return frame_menus::IsCommandBuilt(id);
    return command == FrameCommand::ResetAveraging || command == FrameCommand::DataLoggingSettings ||
           command == FrameCommand::ProcessingSettingsPage0 || command == FrameCommand::ProcessingSettingsPage1 ||
           command == FrameCommand::ProcessingSettingsPage2;
}

// A button whose window is not in this program stays in its place, greyed,
// so that the bar keeps its familiar layout and no click goes nowhere.
void DisableButton(CToolBtn* button)
{
    if (button == nullptr)
        return;
    button->setEnabled(false);
    auto* effect = new QGraphicsOpacityEffect(button);
    effect->setOpacity(0.35);
    button->setGraphicsEffect(effect);
}

} // namespace

QAction* CMainFrame::MakeAction(std::uint32_t id, const QString& text)
{
    auto it = m_Actions.find(id);
    if (it != m_Actions.end())
        return it->second;
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("Command%1").arg(id));
    action->setEnabled(frame_menus::IsCommandBuilt(id));
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_Actions.emplace(id, action);
    return action;
}

QAction* CMainFrame::ActionFor(std::uint32_t id) const
{
    const auto it = m_Actions.find(id);
    return it == m_Actions.end() ? nullptr : it->second;
}

void CMainFrame::CreateMenus()
{
    QMenuBar* bar = menuBar();
    for (const frame_menus::MenuPopup& popup : frame_menus::MenuBar()) {
        QMenu* menu = bar->addMenu(QString::fromLatin1(popup.title));
        menu->setObjectName(QString::fromLatin1(popup.title).remove(QLatin1Char('&')) + QStringLiteral("Menu"));
        for (const frame_menus::MenuItem& item : popup.items) {
            if (item.id == 0)
                menu->addSeparator();
            else
                menu->addAction(MakeAction(item.id, QString::fromLatin1(item.text)));
        }
    }
    // Commands that only bars or callers reach still get an action: one
    // place that knows whether they are live and carries their check mark.
    using namespace frame_command;
    for (std::uint32_t id : {kStart, kStop, kRestart, kStopCommand, kCalibrationSettings, kToggleSidebar,
                             kToggleToolbar, kToggleStatusbar, kToggleSeriesToolStrip, kTogglePlotToolStrips,
                             kReinitInput, kCloseAllPlots, kSaveConfiguration, kOpenConfiguration, kFileIOOptions,
                             kSignalGenerator, kSaveGeneratorWave, kLockGeneratorChannels, kRecorder})
        MakeAction(id, QString());
}

void CMainFrame::CreateAccelerators()
{
    for (const frame_menus::Accelerator& accelerator : frame_menus::Accelerators()) {
        // Run's key is taken by the event filter below, in every window of
        // the program and before any shortcut or mnemonic is looked up: held
        // with Alt, R runs rather than open the "P&rint" menu, which stays
        // reachable the keyboard way (Alt, let go, then R).
        if (accelerator.id == frame_command::kStart)
            continue;
        QAction* action = MakeAction(accelerator.id, QString());
        QList<QKeySequence> keys = action->shortcuts();
        keys.append(QKeySequence(QString::fromLatin1(accelerator.keys)));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        // Accelerators act whether or not their command sits in a menu.
        addAction(action);
    }
}

bool CMainFrame::HandleStartAccelerator(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_R || (key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return false;
    // Any window of the program, a tool window over the frame included: there
    // a window shortcut of the frame (a menu's mnemonic) could claim the key.
    // A modal dialog keeps its keys, as it blocks the frame's commands.
    if (qobject_cast<QWidget*>(watched) == nullptr || QApplication::activeModalWidget() != nullptr)
        return false;
    event->accept();
    if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
        OnCommand(frame_command::kStart);
    return true;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_Client && event->type() == QEvent::Resize)
        RecalcLayout();
    if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) {
        // The frame's margins are known now: the main window's area goes
        // where Open Configuration would put it.
        screen_placement::OpenFramed(*this, m_PendingPlacement);
        if (m_UtilitiesPending)
            ReopenUtilityWindows();
    }
    if (HandleStartAccelerator(watched, event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::DisableUnbuiltBarButtons()
{
    for (const SidebarButtonEntry& entry : SidebarButtons::kButtons)
        if (!IsBarCommandBuilt(entry.command))
            DisableButton(m_Sidebar->Button(entry.id));
    for (const ToolbarButtonEntry& entry : ToolbarButtons::kButtons)
        if (!entry.command || !IsBarCommandBuilt(*entry.command))
            DisableButton(m_Toolbar->Button(entry.id));
}

void CMainFrame::ExecuteCommand(FrameCommand command)
{
    if (!IsBarCommandBuilt(command))
        return;
    if (command == FrameCommand::ResetAveraging) {
        m_Processing->ResetAveraging();
        return;
    }
    if (command == FrameCommand::DataLoggingSettings) {
        OnDataLoggingSettings();
        return;
    }
    if (command >= FrameCommand::ProcessingSettingsPage0 && command <= FrameCommand::ProcessingSettingsPage2) {
        OnProcessingSettings(static_cast<int>(command) - static_cast<int>(FrameCommand::ProcessingSettingsPage0));
        return;
    }
    OnCommand(static_cast<std::uint32_t>(command));
}

void CMainFrame::OnCommand(std::uint32_t id)
{
    if (!frame_menus::IsCommandBuilt(id))
        return;
    using namespace frame_command;
    switch (id) {
    case kAppExit: close(); break;
    case kStart: OnStart(); break;
    case kStop: OnStop(); break;
    case kRestart: StartRun(true); break;
    case kStopCommand: m_Run->OnStopCommand(); break;
    case kAppAbout: OnAppAbout(); break;
    case kHelpContents: EnsureHelpWindow().ShowContents(); break;
    case kGettingStarted: ShowHelp(CAboutDialog::kGettingStartedContext); break;
    case kHelpSearch: EnsureHelpWindow().ShowSearch(); break;
    case kReleaseNotes: OpenDocument("readme.txt"); break;
    case kShowDisclaimer: OpenDocument("disclaim.txt"); break;
    case kGoToWebsite: OpenExternal(QUrl(QString::fromLatin1(kMakerWebsite))); break;
    case kToggleSidebar:
    case kToggleToolbar:
    case kToggleStatusbar: OnToggleBar(id); break;
    case kTogglePlotToolStrips: OnTogglePlotToolStrips(); break;
    case kReinitInput: ReinitInput(); break;
    case kCloseAllPlots: OnCloseAllPlots(); break;
    case kReopenPlots: OnReopenPlots(); break;
    case kSaveConfiguration: OnSaveConfiguration(); break;
    case kOpenConfiguration: OnOpenConfiguration(); break;
    case kProcessingSettings: OnProcessingSettings(-1); break;
    case kCalibrationSettings: OnProcessingSettings(1); break;
    case kSetPaths: OnSetPaths(); break;
    case kFileIOOptions: OnFileIOOptions(); break;
    case kSignalGenerator: OnSignalGenerator(); break;
    case kSaveGeneratorWave: OnSaveGeneratorWave(); break;
    case kLockGeneratorChannels: OnToggleLockGeneratorChannels(); break;
    case kCloseAllUtilities: OnCloseAllUtilities(); break;
    case kFilePrint: PrintPlots(); break;
    case kFilePrintSetup: OnFilePrintSetup(); break;
    case kPrintAnnotations: OnPrintAnnotations(); break;
    case kDataLoggingSettings: OnDataLoggingSettings(); break;
    case kPlotOptions: OnOptionsPlotOptions(); break;
    case kRecorder: OnRecorder(); break;
    case kPeakFrequency: OnUtilityViewer(kSlotPeakFrequency); break;
    case kPeakAmplitude: OnUtilityViewer(kSlotPeakAmplitude); break;
    case kTotalPower: OnUtilityViewer(kSlotTotalPower); break;
    default: break;
    }
}

void CMainFrame::OnAppAbout()
{
    CAboutDialog about(this, m_Paths.InstallIniPath, false, [this](int id) { ShowHelp(id); });
    about.exec();
}

CHelpWindow& CMainFrame::EnsureHelpWindow()
{
    if (!m_Help)
        m_Help = new CHelpWindow(this);
    return *m_Help;
}

void CMainFrame::ShowHelp(int contextId)
{
    EnsureHelpWindow().ShowContext(contextId);
}

void CMainFrame::OpenDocument(const char* fileName)
{
    // A missing file is for the viewer to report, as a text editor would.
    OpenExternal(QUrl::fromLocalFile(QString::fromStdString(m_Paths.ProgramFolder) + QString::fromLatin1(fileName)));
}

void CMainFrame::OpenExternal(const QUrl& url)
{
    if (m_Options.openExternal) {
        if (!m_Options.openExternal(url))
            ReportOpenFailure(url, {});
        return;
    }
    // The desktop's opener reports a missing handler only through its exit
    // code and on stderr; Qt's own launch counts a started opener as success.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(url))
            ReportOpenFailure(url, {});
        return;
    }
    // Not the frame's child: closing the program must not wait for, or kill,
    // a browser the opener may still be waiting on.
    auto* process = new QProcess(qApp);
    process->setProgram(opener);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    process->setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer running;
    running.start();
    connect(process, &QProcess::finished, this,
            [this, process, url, running](int code, QProcess::ExitStatus status) {
                // An opener that ran for long was waiting on the browser or
                // viewer it started: how that one ended is not a missing handler.
                constexpr qint64 kWaitedOnProgramMs = 20000;
                if ((status != QProcess::NormalExit || code != 0) && running.elapsed() < kWaitedOnProgramMs)
                    ReportOpenFailure(url, QString::fromLocal8Bit(process->readAllStandardError()).trimmed());
                process->deleteLater();
            });
    connect(process, &QProcess::errorOccurred, this, [this, process, url](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        ReportOpenFailure(url, process->errorString());
        process->deleteLater();
    });
    process->start();
}

void CMainFrame::ReportOpenFailure(const QUrl& url, const QString& reason)
{
    const QString target = url.isLocalFile() ? url.toLocalFile() : url.toString();
    std::string text = url.isLocalFile() && !QFileInfo::exists(target)
                           ? "This file or folder cannot be found:\n\n     " + target.toStdString()
                           : "The desktop has no program that opens:\n\n     " + target.toStdString() +
                                 "\n\nInstall a file manager, text viewer or web browser for it, or open it by hand.";
    if (!reason.isEmpty())
        text += "\n\nThe desktop said: " + reason.toStdString();
    platform::ShowMessageBox(text, platform::MessageIcon::Warning);
}

void CMainFrame::OnSaveConfiguration()
{
    // A new name is the point of saving: the file need not exist. A name
    // typed without ".cfg" gets it before the overwrite question, so that
    // the question is about the file written and the Open dialog lists it.
    QFileDialog dialog(this, tr("Save Configuration File"), QFile::decodeName(m_Configuration->DialogFolder().c_str()),
                       tr("Configuration Files (*.cfg)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("cfg"));
    dialog.selectFile(QStringLiteral("*.cfg"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().front();
    // The pattern left as it started names no file.
    if (QFileInfo(path).fileName().contains(QLatin1Char('*')))
        return;
    // Paths go to the file system as its own bytes.
    const std::string file = QFile::encodeName(path).toStdString();
    m_Configuration->RememberDialogFolder(file);
    SaveConfigurationTo(file);
}

void CMainFrame::OnOpenConfiguration()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Configuration File"),
                                                      QFile::decodeName(m_Configuration->DialogFolder().c_str()),
                                                      tr("Configuration Files (*.cfg)"));
    if (path.isEmpty())
        return;
    const std::string file = QFile::encodeName(path).toStdString();
    m_Configuration->RememberDialogFolder(file);
    OpenConfigurationFrom(file);
}
