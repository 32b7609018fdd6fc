#pragma once
// The one main window of the program and the owner of everything else: the
// settings, the DAQ module, the sound ports (through the run control), the
// processing objects, the two spectrum plots, the side bar, tool bar and
// status bar, the help window. It lays its children out itself, turns its
// menus, accelerators and bar buttons into commands, and answers device
// notices.
//
// Life: the constructor sets the defaults, finds the data folder, reads the
// settings files and opens the DAQ module; Create shows the splash and
// builds the bars, the ports and the processing objects; the first showing
// opens the plots; closing stops a run and stores the placements; the
// destructor writes the settings files and shuts the module down.
//
// The work is split by concern:
//   CMainFrame.cpp          construction, creation, closing, destruction
//   CMainFrameCommands.cpp  menus, accelerators, commands, help, documents
//   CMainFrameWindows.cpp   layout, bars, plots, placements
//   CMainFrameRun.cpp       run control, device changes, what the bars and
//                           the run control ask of the frame
//   CMainFrameUtilities.cpp the signal generator window: its toggle, its
//                           closing notice, its commands, what it and the
//                           run control ask of the frame
//   CMainFrameRecorder.cpp  the recorder and the three analysis viewers:
//                           their toggles and what they ask of the frame
//   CMainFrameConfig.cpp    configuration save and load
//   CMainFrameSettings.cpp  the processing-settings sheet, Set Paths, File I/O
//   CMainFrameDataLog.cpp   the data log and its settings sheet
//   CMainFramePlotOptions.cpp the plot options sheet

#include "app/CHelpWindow.h"
#include "app/SidebarFrame.h"
#include "app/StatusbarFrame.h"
#include "app/ToolbarFrame.h"
#include "app/FrameTimer.h"
#include "app/core/AsioAudioSystem.h"
#include "app/core/DaqDeviceControl.h"
#include "app/core/DeviceChangeDebounce.h"
#include "app/core/FramePaths.h"
#include "app/core/PlotViews.h"
#include "app/core/RunClock.h"
#include "app/core/RunObserver.h"
#include "app/core/RunUtilities.h"
#include "widgets/ProgressSignals.h"
#include "widgets/ScreenPlacement.h"
#include "audio/DaqDevice.h"
#include "settings/ConfigurationCommands.h"
#include "settings/FrameSettings.h"
#include "settings/PendingPlacement.h"
#include "utilities/AnalysisViewFrame.h"
#include "utilities/RecorderFrame.h"
#include "utilities/SigGenFrame.h"

#include <QMainWindow>
#include <QPrinter>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class COptionsMain;
class CAnalysisView;
class CSidebar;
class CSigGen;
class CStatusbar;
class CToolbar2;
class DeviceWatcher;
class QAction;
class QUrl;
class TProcessingObjects;
class TQuarnPlot;
class TRecorder;
class TDataLog;
class TRunControl;

class CMainFrame : public QMainWindow,
                   public SidebarFrame,
                   public ToolbarFrame,
                   public StatusbarFrame,
                   public RunObserver,
                   public PlotViews,
                   public ConfigurationHost,
                   public SigGenFrame,
                   public RecorderFrame,
                   public AnalysisViewFrame {
    Q_OBJECT

public:
    // The window class name the frame registers under.
    static constexpr const char* kWindowClass = "Tonvexa-RT";
    static constexpr int IDT_DEVICE_CHANGE = 104;

    struct Options {
        // The program file; empty: the running program's.
        std::string programPath;
        // The user's documents folder; unset: the desktop's.
        std::optional<std::string> documentsFolder;
        bool showSplash = true;
        bool watchDevices = true;
        // Opens documents and the web site, false when nothing can; unset:
        // the desktop's handler.
        std::function<bool(const QUrl&)> openExternal;
    };

    explicit CMainFrame(Options options);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Window creation: the splash, the bars, the ports and the processing
    // objects. False when the frame cannot be built.
    bool Create();

    // ---- Commands (CMainFrameCommands.cpp) --------------------------------
    // A command by number, from the menus, the accelerators or a caller.
    void OnCommand(std::uint32_t id);
    void ExecuteCommand(FrameCommand command) override;
    // The action of a command number, or null.
    QAction* ActionFor(std::uint32_t id) const;
    void OnAppAbout();
    void ShowHelp(int contextId) override;
    // The help window, once any help has been asked for.
    CHelpWindow* HelpWindow() const { return m_Help; }

    // ---- Printing (CMainFramePrint.cpp) ------------------------------------
    // Print…: the printer dialog, the annotation dialog, then every plot on
    // a page of its own. Stops a run first.
    void PrintPlots();
    // The job itself, without dialogs; false (and said) when the printer
    // cannot be opened.
    bool PrintPlotsTo(QPrinter& printer);
    void OnFilePrintSetup();
    void OnPrintAnnotations();
    // The printer the jobs share: the default one in landscape at first, a
    // PDF file beside the settings when the desktop knows no printer.
    QPrinter& Printer();

    // ---- Run control (CMainFrameRun.cpp) ----------------------------------
    void OnStart();
    void OnStop();
    void ReinitInput() override;
    // A device arrived or left; answers true as the notice must.
    bool OnDeviceChange();
    // Timer 104.
    void OnDeviceChangeTimer();
    bool IsDeviceRefreshPending() const { return m_DeviceChange.IsPending(); }
    int DeviceRefreshCount() const { return m_DeviceChange.RefreshCount(); }

    // ---- Windows (CMainFrameWindows.cpp) ----------------------------------
    void RecalcLayout();
    void CreateSpectrumPlot(int channel);
    void CloseSpectrumPlot(int channel);
    void OnCloseAllPlots();
    // The way back from Close All Plots: opens each plot the analysis shows
    // that is closed. Greyed in the View menu while none is missing.
    void OnReopenPlots();
    void UpdateTitle();
    void OnToggleBar(std::uint32_t id);
    void OnTogglePlotToolStrips();
    // The commands a plot leaves to its owner (help).
    void OnPlotCommand(int channel, std::uint32_t id);
    // The client area the bars and plots share.
    QWidget* ClientArea() const { return m_Client; }
    TQuarnPlot* Plot(int channel) const;
    CSidebar* Sidebar() const { return m_Sidebar; }
    CToolbar2* Toolbar() const { return m_Toolbar; }
    CStatusbar* Statusbar() const { return m_Statusbar; }

    // ---- Plot options (CMainFramePlotOptions.cpp) --------------------------
    // Command 57768 (F5): the sheet on the first page.
    void OnOptionsPlotOptions();
    // The sheet over copies of the plots' records, opened on startPage's
    // channel; OK copies them back and resets each plot whose records changed.
    // kind is the sheet kind the plots pass (2, the spectrum sheet).
    void ShowPlotOptions(int kind, int startPage);
    // Where tests make the colour dialog answer.
    void SetPlotOptionsColourChooser(std::function<std::optional<std::uint32_t>(QWidget*, std::uint32_t)> chooser)
    {
        m_PlotColourChooser = std::move(chooser);
    }

    // ---- State other windows and tests read ---------------------------------
    FrameSettings& Settings() { return m_Settings; }
    const FrameSettings& Settings() const { return m_Settings; }
    const FramePaths& Paths() const { return m_Paths; }
    TRunControl& RunControl() { return *m_Run; }
    TProcessingObjects& Processing() { return *m_Processing; }
    DaqDevice& Daq() { return m_Daq; }
    TDataLog& DataLog() { return *m_DataLog; }
    // Set when the start-up configuration file was damaged and not read.
    bool StartedWithDamagedCfg() const { return m_DamagedCfg; }

    // ---- What the bars ask (CMainFrameRun.cpp) -----------------------------
    bool IsRunning() const override;
    bool IsDataLoggingActive() const override;
    bool IsDataLogWriting() const override;
    bool IsTriggerEnabled() const override;
    bool HasSignalGenerator() const override { return m_SigGen != nullptr; }
    bool HasSpectrumPlot() const override;
    bool HasPeakFrequencyViewer() const override { return Viewer(kSlotPeakFrequency) != nullptr; }
    bool HasPeakAmplitudeViewer() const override { return Viewer(kSlotPeakAmplitude) != nullptr; }
    bool HasTotalPowerViewer() const override { return Viewer(kSlotTotalPower) != nullptr; }
    bool IsPlaybackOn() const override;
    std::uint32_t GetFrameCounter() const override;
    std::uint32_t GetFFTSize() const override;
    bool HasInputPort() const override;
    void EnsureInputPort() override;
    std::optional<std::uint32_t> GetInputSamplesAvailable() const override;
    bool CheckInputFormat(std::uint32_t rate, std::uint16_t bytesPerSample, std::uint16_t channels) const override;
    std::optional<std::int32_t> GetPeakValue(int channel) const override;
    void IncrementOverloadCount(int channel) override;
    TWaveFormat GetAnalysisFormat() const override;
    void SetAnalysisFormat(const TWaveFormat& format) override;
    void SetChannelMode(int mode) override;

    // ---- What the run control asks (CMainFrameRun.cpp) ----------------------
    void UpdateRunState() override;
    void UpdateStatus(StatusMode mode) override;
    void SetPlotsActive() override;
    void SetPlotsIdle() override;
    void UpdateUtilityWindows() override;
    bool HasPlot(int channel) const override;
    void SetSpectralData(int channel, SpectralData* trace1, SpectralData* trace2) override;
    void ResetView(int channel) override;
    void SetTimeAxis(int channel, bool timeAxis) override;
    void UpdateDisplay(int channel, double blockTime) override;

    // ---- Configuration commands (CMainFrameConfig.cpp) --------------------
    bool SaveConfigurationTo(const std::string& path);
    bool OpenConfigurationFrom(const std::string& path);
    void StopRun() override { OnStop(); }
    void StoreWindowSlot(int slotId) override;
    void CloseWindowsForLoad() override;
    void RebuildProcessing() override;
    void RestoreMainWindowPlacement() override;
    void ReopenWindow(int slotId) override;
    void RefreshAfterLoad() override;
    int FindDaqInputDevice() override;

    // ---- Settings dialogs (CMainFrameSettings.cpp) --------------------------
    // The processing-settings sheet: 0 Settings, 1 Calibration, 2 Device,
    // −1 the page of the last OK. A run is stopped while it is open and goes
    // on afterwards, with what OK changed.
    void OnProcessingSettings(int startPage);
    // Command 57792.
    void OnSetPaths();
    // Command 57790.
    void OnFileIOOptions();
    // Makes the level at a bin of a channel's display the channel's 0 dB
    // reference, asking first when confirm is set; false when nothing changed.
    bool SetRelativeCalibration(int channel, int bin, bool confirm);
    // The full-scale volts of the input range when the input is the DAQ
    // module; nothing for another device.
    std::optional<float> CurrentInputRange() override;

    // ---- The signal generator window (CMainFrameUtilities.cpp) -------------
    // Command 57811: opens the window, or stores its placement and closes it.
    void OnSignalGenerator();
    // Command 57812, only while the window exists.
    void OnSaveGeneratorWave();
    // Command 57877.
    void OnToggleLockGeneratorChannels();

    // ---- Data logging (CMainFrameDataLog.cpp) -------------------------------
    // The side bar's "Data Logging..." (and the tool bar's and menu's): stops
    // a run, then edits the logging settings in their sheet.
    void OnDataLoggingSettings();
    // Command 57830: every open utility window through its toggle.
    void OnCloseAllUtilities();
    // The window asked to be closed (queued, after its close handler
    // returned); null when it has gone meanwhile.
    void OnClosingUtility(CSigGen* window);
    // The open generator window, or null.
    CSigGen* SignalGenerator() const { return m_SigGen; }

    // ---- The recorder and the viewers (CMainFrameRecorder.cpp) --------------
    // Command 57922: opens the recorder, or closes it when its file allows.
    void OnRecorder();
    // Commands 57813 to 57815: a viewer of kind 7, 8 or 9 opens or closes.
    void OnUtilityViewer(int kind);
    // Re-lays out each open viewer (channel mode, device or settings changed).
    void RefreshUtilityWindows();
    void OnClosingUtility(TRecorder* window);
    void OnClosingUtility(CAnalysisView* window);
    TRecorder* Recorder() const { return m_Recorder; }
    // The open viewer of kind 7, 8 or 9, or null.
    CAnalysisView* Viewer(int kind) const;

    // ---- What the recorder and the viewers ask (CMainFrameRecorder.cpp) -----
    bool IsPlaybackRunning() const override { return IsPlaybackOn(); }
    void StopPlayback() override;
    bool StartRecordingInput() override;
    bool StartPlayback() override;
    SpectralData* GetModeProcessor(int index) const override;

    // ---- What the generator window asks (CMainFrameUtilities.cpp) ----------
    FrameSettings& GetSettings() override { return m_Settings; }
    bool IsAnalyzerRunning() const override { return IsRunning(); }
    void StopAnalyzer() override { OnStop(); }
    std::unique_ptr<SoundOutputPort> CreateOutputPort(int device, int driverMode) override;
    ProgressSignals* GetProgressSignals() override;

protected:
    // A change of the desktop's colours needs nothing here: Qt hands the
    // palette change to every child, and the bars, their buttons and the
    // plots each reload their bitmaps or brushes on it.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Run (or Restart) with device refreshes held off until the start is over.
    void StartRun(bool restart);

    // The device-change refresh's view of the frame.
    class DeviceRefresh final : public DeviceChangeDebounce::Host {
    public:
        explicit DeviceRefresh(CMainFrame& frame) : m_Frame(frame) {}
        void ArmTimer(std::uint32_t milliseconds) override { m_Frame.m_DeviceTimer.Start(milliseconds); }
        void KillTimer() override { m_Frame.m_DeviceTimer.Stop(); }
        bool IsRunning() const override;
        void ReleaseInputPort() override;
        bool HasOutputPort() const override;
        void ReleaseOutputPort() override;
        void Pause(std::uint32_t milliseconds) override { m_Frame.m_Clock.Sleep(milliseconds); }
        void ReopenDaq() override { m_Frame.m_Daq.Reopen(); }
        void ResetDaqCachedConfig() override { m_Frame.m_Daq.ResetCachedConfig(); }

    private:
        CMainFrame& m_Frame;
    };

    // The run's view of the utility windows: the generator's output starts
    // and stops with the analysis; the recorder's file is recorded into or
    // played from.
    class UtilityWindows final : public RunUtilities {
    public:
        explicit UtilityWindows(CMainFrame& frame) : m_Frame(frame) {}
        bool HasGenerator() const override { return m_Frame.m_SigGen != nullptr; }
        bool IsGeneratorPlaying() const override;
        void StartGenerator() override;
        void StopGeneratorOutput() override;

        bool HasRecorder() const override { return m_Frame.m_Recorder != nullptr; }
        std::uint32_t GetRecorderState() const override;
        void SetRecorderState(std::uint32_t state) override;
        TWaveFile* GetRecorderWaveFile() override;
        void UpdateRecorderPosition() override;
        void UpdateRecorderButtons() override;

    private:
        CMainFrame& m_Frame;
    };

    // CMainFrame.cpp
    void LoadSettings();
    // The Wave, Cal, Overlay and Log folders, made when missing.
    void MakeDataFolders();
    void CreateBars();
    void CreatePorts();
    void OpenInitialWindows();
    // Opens the utility windows open at the last exit, once the frame is on
    // the screen.
    void ReopenUtilityWindows();
    void Shutdown();

    // CMainFrameCommands.cpp
    void CreateMenus();
    void CreateAccelerators();
    QAction* MakeAction(std::uint32_t id, const QString& text);
    void DisableUnbuiltBarButtons();
    // Shows or hides each bar as the settings say.
    void ApplyBarVisibility();
    bool HandleStartAccelerator(QObject* watched, QEvent* event);
    void OpenDocument(const char* fileName);
    // Hands url to the desktop's handler; when there is none, or it fails,
    // the user is told in the program, not only on the terminal.
    void OpenExternal(const QUrl& url);
    void ReportOpenFailure(const QUrl& url, const QString& reason);
    void OnSaveConfiguration();
    void OnOpenConfiguration();
    CHelpWindow& EnsureHelpWindow();

    // CMainFrameWindows.cpp
    DesktopSize Desktop() const;
    WindowPlacement CurrentPlacement() const;
    void ApplyPlacement(const WindowPlacement& placement);
    void StoreWindowPlacements();
    void DestroyPlots();
    // After a change of format or mode: the plots the mode shows, with their
    // titles, as a new start would open them.
    void SyncPlotsWithMode();
    // Check marks of the bar and tool-strip toggles.
    void UpdateBarsMenu();
    // Whether a plot the analysis shows is closed; greys Reopen Plots.
    bool IsAnyPlotMissing() const;
    void UpdatePlotsMenu();

    // CMainFrameUtilities.cpp
    void OpenSignalGenerator();
    // Stops the window's output and build and deletes it; its slot is left
    // as it is.
    void DestroySignalGenerator();
    // Where a utility window stands now; none when it is not open.
    std::optional<WindowPlacement> UtilityPlacement(int slotId) const;
    void StoreUtilitySlot(int slotId);
    // A utility window just opened: on its screen, in front of the main
    // window, and (when it opened at its default corner, which may lie
    // under another) clear of the other utility windows.
    void PlaceUtilityWindow(QWidget& window, int slotId);
    // The open utility windows other than `window`, as others keep clear of
    // them: the generator at its full size, which it takes back at its stop.
    std::vector<screen_placement::Neighbour> UtilityWindowsBut(const QWidget* window) const;
    // Check marks of the utility toggles; the save-signal command is live
    // only while the generator window exists.
    void UpdateUtilityMenu();
    // After a utility window opened or closed.
    void AfterUtilityToggle();

    // CMainFrameSettings.cpp
    // The open sheet's device page hears of device changes too.
    void NotifySheetOfDeviceChange();
    // CMainFrameRecorder.cpp
    void OpenRecorder();
    // Stops the recorder and deletes it, file and all; its slot is left as
    // it is. Only after CloseFile allowed it, or at the end.
    void DestroyRecorder();
    void OpenViewer(int kind);
    void DestroyViewers();
    // False when the recorder keeps a changed file the operator chose to keep.
    bool AskRecorderToClose();
    // CMainFrameDataLog.cpp
    void CreateDataLog();
    void OpenLogFileInViewer(const std::string& path);

    // CMainFrameRun.cpp
    void AfterInputChange();
    float PlotSeconds(double blockTime) const;

    Options m_Options;
    FramePaths m_Paths;
    FrameSettings m_Settings;
    bool m_DamagedCfg = false;

    DaqDevice m_Daq;
    DaqDeviceControl m_DaqControl{m_Daq};
    AsioAudioSystem m_Audio;
    SystemRunClock m_Clock;
    UtilityWindows m_Utilities{*this};
    FrameTimer m_RunTimer;
    FrameTimer m_DeviceTimer;
    std::unique_ptr<TProcessingObjects> m_Processing;
    std::unique_ptr<TDataLog> m_DataLog;
    std::unique_ptr<TRunControl> m_Run;
    std::unique_ptr<QPrinter> m_Printer;
    std::unique_ptr<ConfigurationCommands> m_Configuration;
    DeviceRefresh m_DeviceRefresh{*this};
    DeviceChangeDebounce m_DeviceChange{m_DeviceRefresh};
    DeviceWatcher* m_DeviceWatcher = nullptr;

    QWidget* m_Client = nullptr;
    CSidebar* m_Sidebar = nullptr;
    CToolbar2* m_Toolbar = nullptr;
    CStatusbar* m_Statusbar = nullptr;
    std::array<TQuarnPlot*, 2> m_Plot{};
    QPointer<CHelpWindow> m_Help;
    CSigGen* m_SigGen = nullptr;
    QPointer<COptionsMain> m_Sheet;
    TRecorder* m_Recorder = nullptr;
    // Peak Frequency, Peak Amplitude, Total Power (kinds 7, 8, 9).
    std::array<CAnalysisView*, 3> m_Viewers{};
    // The status bar's progress, raised by the generator's builds.
    ProgressSignals m_Progress;
    std::map<std::uint32_t, QAction*> m_Actions;
    std::function<std::optional<std::uint32_t>(QWidget*, std::uint32_t)> m_PlotColourChooser;

    // Steady seconds at construction: plot times count from here, so that a
    // float keeps millisecond steps.
    double m_TimeBase = 0.0;
    bool m_Created = false;
    bool m_FirstShown = false;
    bool m_UtilitiesPending = false;
    // The main window's area from its slot, opened again once the window
    // manager has framed the window.
    PendingPlacement m_PendingPlacement;
    // Run's start is under way: it may wait on a message box, during which
    // device notices arrive like any other event.
    bool m_Starting = false;
    bool m_ShutDown = false;
};
