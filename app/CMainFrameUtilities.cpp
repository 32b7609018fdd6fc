// The signal generator window: opening and closing it, its closing notice,
// the frame's commands that act on it, and what it and the run control ask
// of the frame.

#include "app/CMainFrame.h"

#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/CToolbar2.h"
#include "app/core/FrameCommandIds.h"
#include "app/core/TRunControl.h"
#include "app/core/UtilityRect.h"
#include "platform/Trace.h"
#include "utilities/CAnalysisView.h"
#include "utilities/CSigGen.h"
#include "utilities/TRecorder.h"
#include "widgets/ScreenPlacement.h"

#include <QAction>

// ---- Opening and closing ----------------------------------------------------

void CMainFrame::OnSignalGenerator()
{
    if (m_SigGen != nullptr) {
        // The slot keeps where the window stood, marked closed, so that the
        // next start does not re-open it.
        StoreUtilitySlot(kSlotSignalGenerator);
        DestroySignalGenerator();
        m_Settings.Windows.Store(kSlotSignalGenerator, nullptr);
    } else {
        OpenSignalGenerator();
    }
    AfterUtilityToggle();
}

void CMainFrame::OpenSignalGenerator()
{
    if (m_SigGen != nullptr)
        return;
    const PlacementRect whole = utility_rect::GetUtilityRect(kSlotSignalGenerator, Desktop(), m_Client->width(),
                                                             m_Client->height());
    const PlacementRect rect = m_Settings.Windows.GetSavedWindowRect(kSlotSignalGenerator, whole, Desktop());
    auto* window = new CSigGen(this, this);
    // Queued: the window asks from inside its own close handler, which must
    // have returned before the window is deleted. A window deleted before
    // the notice arrives (the frame closed, or the toggle ran first) reads
    // as none.
    connect(window, &CSigGen::ClosingUtility, this,
            [this, guarded = QPointer<CSigGen>(window)](CSigGen*) { OnClosingUtility(guarded.data()); },
            Qt::QueuedConnection);
    m_SigGen = window;
    // The generator sizes itself: only the corner of the rectangle counts.
    window->Create(QPoint(rect.left, rect.top));
    PlaceUtilityWindow(*window, kSlotSignalGenerator);
}

void CMainFrame::DestroySignalGenerator()
{
    if (m_SigGen == nullptr)
        return;
    CSigGen* window = m_SigGen;
    window->CancelBuild();
    window->StopOutput();
    // Cleared first: whatever the window's going reaches in the frame must
    // find no generator.
    m_SigGen = nullptr;
    delete window;
    // A build cut short never reports its end, so its progress would stay
    // on the status bar.
    emit m_Progress.ProgressHide();
}

void CMainFrame::OnClosingUtility(CSigGen* window)
{
    platform::Trace("Closing Utility\n");
    if (window == nullptr)
        return;
    if (window == m_SigGen)
        OnSignalGenerator();
    if (m_Toolbar != nullptr)
        m_Toolbar->SyncButtonStates();
    UpdateUtilityMenu();
}

void CMainFrame::OnCloseAllUtilities()
{
    if (m_SigGen != nullptr)
        OnSignalGenerator();
    // A recorder that keeps its changed file stays open.
    if (m_Recorder != nullptr)
        OnRecorder();
    for (int kind : {kSlotPeakFrequency, kSlotPeakAmplitude, kSlotTotalPower})
        if (Viewer(kind) != nullptr)
            OnUtilityViewer(kind);
}

void CMainFrame::AfterUtilityToggle()
{
    if (m_Sidebar != nullptr)
        m_Sidebar->UpdateRunState();
    if (m_Toolbar != nullptr)
        m_Toolbar->SyncButtonStates();
    UpdateUtilityMenu();
}

void CMainFrame::UpdateUtilityMenu()
{
    using namespace frame_command;
    const auto check = [this](std::uint32_t id, bool on) {
        if (QAction* action = ActionFor(id)) {
            action->setCheckable(true);
            action->setChecked(on);
        }
    };
    check(kSignalGenerator, m_SigGen != nullptr);
    check(kLockGeneratorChannels, m_Settings.LockSignalGeneratorChannels != 0);
    check(kPeakFrequency, HasPeakFrequencyViewer());
    check(kPeakAmplitude, HasPeakAmplitudeViewer());
    check(kTotalPower, HasTotalPowerViewer());
    check(kRecorder, m_Recorder != nullptr);
    if (QAction* save = ActionFor(kSaveGeneratorWave))
        save->setEnabled(m_SigGen != nullptr);
}

// ---- Placements ---------------------------------------------------------------

std::optional<WindowPlacement> CMainFrame::UtilityPlacement(int slotId) const
{
    QWidget* window = nullptr;
    if (slotId == kSlotSignalGenerator)
        window = m_SigGen;
    else if (slotId == kSlotRecorder)
        window = m_Recorder;
    else
        window = Viewer(slotId);
    if (window == nullptr)
        return std::nullopt;
    // The window's own area, which is what opening it restores: a frame
    // corner stored with it would move the window up by a title bar at
    // every restart.
    WindowPlacement placement = screen_placement::Capture(*window);
    // Utility windows come back shown normally.
    placement.showCmd = WindowPlacement::kShowNormal;
    return placement;
}

std::vector<screen_placement::Neighbour> CMainFrame::UtilityWindowsBut(const QWidget* window) const
{
    std::vector<screen_placement::Neighbour> others;
    // While it plays the generator stands small at its corner; its stop
    // gives it its full layout there again, which nothing may cover.
    if (m_SigGen != nullptr && m_SigGen != window)
        others.push_back({m_SigGen, m_SigGen->GetFullClientSize()});
    if (m_Recorder != nullptr && m_Recorder != window)
        others.push_back({m_Recorder, QSize()});
    for (const CAnalysisView* viewer : m_Viewers)
        if (viewer != nullptr && viewer != window)
            others.push_back({viewer, QSize()});
    return others;
}

void CMainFrame::PlaceUtilityWindow(QWidget& window, int slotId)
{
    screen_placement::KeepOnScreen(window);
    // The default corners sit closer than a title bar apart, and the
    // viewers' reach the generator's: one opening there moves clear of the
    // others, so that none hides the generator's Stop button. A stored
    // placement is where the user left the window: it comes back as it was.
    if (!m_Settings.Windows.HasPlacement(slotId))
        screen_placement::MoveClearOf(window, UtilityWindowsBut(&window));
    screen_placement::BringToFront(window);
}

void CMainFrame::StoreUtilitySlot(int slotId)
{
    const std::optional<WindowPlacement> placement = UtilityPlacement(slotId);
    m_Settings.Windows.Store(slotId, placement ? &*placement : nullptr);
}

void CMainFrame::ReopenWindow(int slotId)
{
    if (slotId == kSlotSignalGenerator && m_SigGen == nullptr)
        OnSignalGenerator();
    else if (slotId == kSlotRecorder && m_Recorder == nullptr)
        OnRecorder();
    else if (Viewer(slotId) == nullptr)
        OnUtilityViewer(slotId);
}

// ---- Commands -------------------------------------------------------------------

void CMainFrame::OnSaveGeneratorWave()
{
    if (m_SigGen != nullptr)
        m_SigGen->SaveSignalCommand();
}

void CMainFrame::OnToggleLockGeneratorChannels()
{
    m_Settings.LockSignalGeneratorChannels = m_Settings.LockSignalGeneratorChannels != 0 ? 0 : 1;
    if (m_SigGen != nullptr)
        m_SigGen->RefreshFromSettings();
    UpdateUtilityMenu();
}

// ---- What the generator window asks ---------------------------------------------

std::unique_ptr<SoundOutputPort> CMainFrame::CreateOutputPort(int device, int driverMode)
{
    return m_Audio.CreateOutput(device, driverMode);
}

ProgressSignals* CMainFrame::GetProgressSignals()
{
    return m_Statusbar != nullptr ? &m_Progress : nullptr;
}

// ---- What the run control asks ----------------------------------------------------

bool CMainFrame::UtilityWindows::IsGeneratorPlaying() const
{
    return m_Frame.m_SigGen != nullptr && m_Frame.m_SigGen->IsPlaying();
}

void CMainFrame::UtilityWindows::StartGenerator()
{
    if (m_Frame.m_SigGen != nullptr)
        m_Frame.m_SigGen->StartGenerator();
}

void CMainFrame::UtilityWindows::StopGeneratorOutput()
{
    if (m_Frame.m_SigGen != nullptr)
        m_Frame.m_SigGen->StopOutput();
}
