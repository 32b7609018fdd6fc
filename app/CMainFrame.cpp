// Construction, window creation, closing and destruction of the main frame.

#include "app/CMainFrame.h"

#include "app/CAboutDialog.h"
#include "app/CHelpWindow.h"
#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/CToolbar2.h"
#include "app/DeviceWatcher.h"
#include "settings/CfgFileCheck.h"
#include "app/core/DefaultDataTree.h"
#include "app/core/FrameLayout.h"
#include "app/core/TDataLog.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Trace.h"
#include "plot/QuarnPlotLayout.h"
#include "plot/TQuarnPlot.h"
#include "resources/BitmapResources.h"
#include "settings/CfgSettingsFile.h"
#include "settings/IniSettingsFile.h"
#include "settings/SettingsFiles.h"
#include "utilities/CAnalysisView.h"
#include "utilities/CSigGen.h"
#include "utilities/TRecorder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

namespace {

std::string DocumentsFolder(const std::optional<std::string>& given)
{
    if (given)
        return *given;
    return QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).toStdString();
}

} // namespace

CMainFrame::CMainFrame(Options options)
    : m_Options(std::move(options))
    , m_RunTimer([this] { m_Run->OnTimer(); })
    , m_DeviceTimer([this] { OnDeviceChangeTimer(); })
{
    setObjectName(QString::fromLatin1(kWindowClass));
    QIcon icon(BitmapResourcePath(QStringLiteral("IDI_MAIN_APP"), 1));
    icon.addFile(BitmapResourcePath(QStringLiteral("IDI_MAIN_APP"), 2));
    setWindowIcon(icon);
    m_TimeBase = m_Clock.SteadySeconds();
    // The module settles after a boot; the wait keeps the windows painting.
    m_Daq.SetWait([](std::uint32_t ms) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    });

    // The file system's own bytes: a folder name that is not UTF-8 must
    // still lead to the settings beside the program.
    std::string program = m_Options.programPath.empty() ? RunningProgramPath() : m_Options.programPath;
    if (program.empty())
        program = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    m_Paths = FramePaths::Derive(program, DocumentsFolder(m_Options.documentsFolder));
    const WindowPlacement frameDefault = WindowPlacement::FrameDefault(Desktop());
    m_Settings.Windows.Store(kSlotMainWindow, &frameDefault);

    default_data_tree::CopyIfMissing(
        m_Paths.WindowsInstall, m_Paths.DataRoot,
        default_data_tree::Candidates(m_Paths.ProgramFolder, qgetenv("XDG_DATA_DIRS").toStdString()));
    LoadSettings();
    MakeDataFolders();

    m_Processing = std::make_unique<TProcessingObjects>(m_Settings, *this);
    m_Processing->SetSettingsFilePath(m_Paths.IniPath());
    CreateDataLog();
    m_Run = std::make_unique<TRunControl>(
        m_Settings, *m_Processing,
        RunServices{m_RunTimer, m_Audio, m_DaqControl, m_Clock, *this, *this, m_Utilities, *m_DataLog});
    m_Configuration = std::make_unique<ConfigurationCommands>(m_Settings, *this, m_Paths.DataRoot);

    m_Daq.Open();
}

void CMainFrame::LoadSettings()
{
    SettingsFiles files;
    files.dataRoot = m_Paths.DataRoot;
    files.RemoveStaleTempFiles();
    // An .ini that is there but cannot be read gives the defaults, as a
    // damaged .cfg does, and is named.
    std::string iniFailure;
    if (!LoadIniSettings(m_Paths.IniPath(), {m_Paths.DataRoot, m_Paths.WindowsInstall}, m_Settings, &iniFailure))
        platform::ShowMessageBox(UnreadableIniNote(m_Paths.IniPath(), iniFailure), platform::MessageIcon::Warning);
    const std::string cfg = m_Paths.CfgPath();
    switch (CheckCfgFile(cfg)) {
    case CfgFileState::Readable:
        LoadCfgSettings(cfg, m_Settings, [this] { return m_Audio.FindDaqInputDevice(); });
        break;
    case CfgFileState::Damaged:
        // Read as it is, a damaged file would set whatever its keys' file
        // defaults are; the frame's own defaults are the sane start.
        m_DamagedCfg = true;
        platform::ShowMessageBox(DamagedCfgNote(cfg), platform::MessageIcon::Warning);
        break;
    case CfgFileState::Missing:
        break;
    }
    m_Settings.ApplyStartupFixups();
    m_Settings.m_DataPathsInUse = m_Settings.m_DataPaths;
}

void CMainFrame::MakeDataFolders()
{
    const DataPaths& paths = m_Settings.m_DataPathsInUse;
    std::vector<std::string> folders;
    for (std::size_t slot : {DataPaths::kWave, DataPaths::kCalibration, DataPaths::kOverlay, DataPaths::kLog})
        folders.emplace_back(paths.Get(slot));
    // A folder that cannot be made is reported where it is used, with the
    // way to choose another.
    for (const std::string& folder : default_data_tree::MakeDataFolders(m_Paths.DataRoot, folders))
        platform::Trace("Data folder missing: " + folder + "\n");
}

bool CMainFrame::Create()
{
    if (m_Created)
        return true;
    m_Client = new QWidget(this);
    m_Client->setObjectName(QStringLiteral("FrameClient"));
    m_Client->installEventFilter(this);
    setCentralWidget(m_Client);
    // Narrower, a plot's tool strip would run off the window's right edge.
    setMinimumWidth(FrameLayout::kSidebarWidth + quarn_layout::kToolStripWidth);
    CreateMenus();
    CreateAccelerators();
    qApp->installEventFilter(this);

    if (m_Options.showSplash) {
        CAboutDialog splash(nullptr, m_Paths.InstallIniPath, true, [this](int id) { ShowHelp(id); });
        QTimer::singleShot(0, &splash, [] { platform::Trace("Splash shown\n"); });
        splash.exec();
        platform::Trace("Splash closed\n");
    }

    CreateBars();
    m_Statusbar->ConnectProgress(m_Progress);
    UpdateBarsMenu();
    UpdateUtilityMenu();
    m_Statusbar->UpdateStatus(CStatusbar::kUpdateAll);
    CreatePorts();

    if (m_Options.watchDevices) {
        m_DeviceWatcher = new DeviceWatcher(DeviceWatcher::SoundFolders(), this);
        connect(m_DeviceWatcher, &DeviceWatcher::DeviceChanged, this, [this] { OnDeviceChange(); });
    }
    UpdateTitle();
    m_Created = true;
    return true;
}

void CMainFrame::CreatePorts()
{
    m_Settings.m_InputDevice = m_Audio.FindDaqInputDevice();
    // Input and output must share one driver; every settings load pairs
    // them the same way.
    m_Settings.m_OutputDevice = m_Settings.m_InputDevice;
    m_Settings.SoundCardDriverMode = AudioSystem::kAsioDriverMode;
    m_Run->SetOutputPort(m_Audio.CreateOutput(m_Settings.m_OutputDevice, AudioSystem::kAsioDriverMode));
    // The input port, the processing objects, the hop and the delay.
    ReinitInput();
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_FirstShown || !m_Created)
        return;
    m_FirstShown = true;
    OpenInitialWindows();
    RecalcLayout();
    RefreshUtilityWindows();
    m_Sidebar->UpdateAll();
    UpdateTitle();
    platform::Trace("Main window shown\n");
}

void CMainFrame::OpenInitialWindows()
{
    RestoreMainWindowPlacement();
    CreateSpectrumPlot(0);
    if (m_Settings.Processing.Format.NumChannels == 2)
        CreateSpectrumPlot(1);
    UpdateTitle();
    // The utility windows wait for the frame to be on the screen: a window
    // manager that meets them before the frame it belongs to does not keep
    // them in front of it.
    QWindow* handle = windowHandle();
    if (handle != nullptr && !handle->isExposed()) {
        m_UtilitiesPending = true;
        // The frame's application-wide event filter sees the handle's expose.
        // Should the frame never be exposed (a start minimized), they open anyway.
        QTimer::singleShot(2000, this, [this] { ReopenUtilityWindows(); });
        return;
    }
    m_UtilitiesPending = true;
    ReopenUtilityWindows();
}

void CMainFrame::ReopenUtilityWindows()
{
    // A frame closed before it was ever on the screen, or closing, opens nothing.
    if (!m_UtilitiesPending || !isVisible() || m_ShutDown)
        return;
    m_UtilitiesPending = false;
    // The utility windows open at the last exit, in the order they always
    // open in.
    for (int slot : {kSlotSignalGenerator, kSlotPeakFrequency, kSlotPeakAmplitude, kSlotTotalPower, kSlotRecorder})
        if (m_Settings.Windows.IsOpen(slot))
            ReopenWindow(slot);
    UpdateTitle();
    RefreshUtilityWindows();
    // Should the window manager still stack them under the frame, once it is
    // up they come to the front.
    QTimer::singleShot(0, this, [this] {
        std::vector<QWidget*> windows{m_SigGen, m_Recorder};
        windows.insert(windows.end(), m_Viewers.begin(), m_Viewers.end());
        for (QWidget* window : windows)
            if (window != nullptr)
                window->raise();
    });
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The recorder's changed file comes first: keeping it keeps the program.
    if (!AskRecorderToClose()) {
        event->ignore();
        return;
    }
    // A run stops before anything else goes: the driver's thread must not
    // write into an input that is being deleted, and the logs get their
    // stop line.
    if (m_Run->IsRunning() || m_Run->IsPlayback())
        OnStop();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The generator's slot is stored while the window still stands, so
    // that the next start re-opens it where it was.
    StoreWindowPlacements();
    DestroySignalGenerator();
    DestroyRecorder();
    DestroyViewers();
    DestroyPlots();
    QApplication::restoreOverrideCursor();
    if (m_Help)
        m_Help->close();
    event->accept();
}

void CMainFrame::Shutdown()
{
    if (m_ShutDown)
        return;
    m_ShutDown = true;
    qApp->removeEventFilter(this);
    m_DeviceTimer.Stop();
    if (m_Run->IsRunning() || m_Run->IsPlayback())
        OnStop();
    // The generator plays through the driver the run control's ports share;
    // its build and output end before those ports go.
    DestroySignalGenerator();
    // The recorder's file may be what the output port plays, and the
    // viewers read the processing objects.
    DestroyRecorder();
    DestroyViewers();
    // The plots draw from the processing objects: they go first.
    DestroyPlots();
    if (m_Help)
        delete m_Help;
    // Saved while the run control and the processing objects still stand:
    // a failure's message box runs an event loop of its own.
    SettingsFiles files;
    files.dataRoot = m_Paths.DataRoot;
    files.programStem = m_Paths.ProgramStem;
    files.windowsInstall = m_Paths.WindowsInstall;
    files.SaveAtExit(m_Settings);
    m_Run.reset();
    m_Processing.reset();
    // No event loop may run while the frame is being taken apart.
    m_Daq.SetWait([this](std::uint32_t ms) { m_Clock.Sleep(ms); });
    m_Daq.Shutdown();
}

CMainFrame::~CMainFrame()
{
    Shutdown();
    // The bars ask the frame for its state while they go; they go while the
    // frame can still answer.
    delete m_Statusbar;
    delete m_Toolbar;
    delete m_Sidebar;
    m_Statusbar = nullptr;
    m_Toolbar = nullptr;
    m_Sidebar = nullptr;
}
