// The recorder window and the three analysis viewers: opening and closing
// them, their closing notices, and what they and the run control ask of the
// frame.

#include "app/CMainFrame.h"

#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/CToolbar2.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "app/core/UtilityRect.h"
#include "utilities/CAnalysisView.h"
#include "utilities/TRecorder.h"
#include "widgets/ScreenPlacement.h"

namespace {

std::size_t ViewerIndex(int kind)
{
    return static_cast<std::size_t>(kind - kSlotPeakFrequency);
}

bool IsViewerKind(int kind)
{
    return kind == kSlotPeakFrequency || kind == kSlotPeakAmplitude || kind == kSlotTotalPower;
}

} // namespace

// ---- The recorder ----------------------------------------------------------------

void CMainFrame::OnRecorder()
{
    if (m_Recorder != nullptr) {
        if (!AskRecorderToClose())
            return;
        StoreUtilitySlot(kSlotRecorder);
        DestroyRecorder();
        m_Settings.Windows.Store(kSlotRecorder, nullptr);
    } else {
        OpenRecorder();
    }
    AfterUtilityToggle();
}

bool CMainFrame::AskRecorderToClose()
{
    if (m_Recorder == nullptr)
        return true;
    m_Recorder->OnStop();
    return m_Recorder->CloseFile();
}

void CMainFrame::OpenRecorder()
{
    if (m_Recorder != nullptr)
        return;
    const PlacementRect whole =
        utility_rect::GetUtilityRect(kSlotRecorder, Desktop(), m_Client->width(), m_Client->height());
    const PlacementRect rect = m_Settings.Windows.GetSavedWindowRect(kSlotRecorder, whole, Desktop());
    auto* window = new TRecorder(this, this);
    connect(window, &TRecorder::ClosingUtility, this,
            [this, guarded = QPointer<TRecorder>(window)](TRecorder*) { OnClosingUtility(guarded.data()); },
            Qt::QueuedConnection);
    m_Recorder = window;
    // The recorder sizes itself: only the corner of the rectangle counts.
    window->Create(QPoint(rect.left, rect.top));
    PlaceUtilityWindow(*window, kSlotRecorder);
}

void CMainFrame::DestroyRecorder()
{
    if (m_Recorder == nullptr)
        return;
    TRecorder* window = m_Recorder;
    window->OnStop();
    // Cleared first: a run stopped while it goes must find no recorder.
    m_Recorder = nullptr;
    delete window;
}

void CMainFrame::OnClosingUtility(TRecorder* window)
{
    if (window != nullptr && window == m_Recorder)
        OnRecorder();
    if (m_Toolbar != nullptr)
        m_Toolbar->SyncButtonStates();
    UpdateUtilityMenu();
}

void CMainFrame::StopPlayback()
{
    m_Run->StopPlayback();
    SetPlotsIdle();
    UpdateRunState();
    UpdateStatus(kWholeStatus);
}

bool CMainFrame::StartRecordingInput()
{
    m_DeviceChange.Cancel();
    return m_Run->StartInput();
}

bool CMainFrame::StartPlayback()
{
    m_DeviceChange.Cancel();
    const bool started = m_Run->StartPlayback();
    UpdateRunState();
    return started;
}

std::uint32_t CMainFrame::UtilityWindows::GetRecorderState() const
{
    return m_Frame.m_Recorder != nullptr ? m_Frame.m_Recorder->GetState() : kRecorderStopped;
}

void CMainFrame::UtilityWindows::SetRecorderState(std::uint32_t state)
{
    if (m_Frame.m_Recorder != nullptr)
        m_Frame.m_Recorder->SetState(state);
}

TWaveFile* CMainFrame::UtilityWindows::GetRecorderWaveFile()
{
    return m_Frame.m_Recorder != nullptr ? m_Frame.m_Recorder->GetWaveFile() : nullptr;
}

void CMainFrame::UtilityWindows::UpdateRecorderPosition()
{
    if (m_Frame.m_Recorder != nullptr)
        m_Frame.m_Recorder->UpdatePosition();
}

void CMainFrame::UtilityWindows::UpdateRecorderButtons()
{
    if (m_Frame.m_Recorder != nullptr)
        m_Frame.m_Recorder->UpdateButtons();
}

// ---- The analysis viewers ------------------------------------------------------------

CAnalysisView* CMainFrame::Viewer(int kind) const
{
    return IsViewerKind(kind) ? m_Viewers[ViewerIndex(kind)] : nullptr;
}

void CMainFrame::OnUtilityViewer(int kind)
{
    if (!IsViewerKind(kind))
        return;
    CAnalysisView*& slot = m_Viewers[ViewerIndex(kind)];
    if (slot != nullptr) {
        StoreUtilitySlot(kind);
        CAnalysisView* window = slot;
        slot = nullptr;
        delete window;
        m_Settings.Windows.Store(kind, nullptr);
    } else {
        OpenViewer(kind);
    }
    if (m_Toolbar != nullptr)
        m_Toolbar->SyncButtonStates();
    UpdateUtilityMenu();
}

void CMainFrame::OpenViewer(int kind)
{
    CAnalysisView*& slot = m_Viewers[ViewerIndex(kind)];
    if (slot != nullptr)
        return;
    const PlacementRect whole = utility_rect::GetUtilityRect(kind, Desktop(), m_Client->width(), m_Client->height());
    const PlacementRect rect = m_Settings.Windows.GetSavedWindowRect(kind, whole, Desktop());
    auto* window = new CAnalysisView(this, this);
    connect(window, &CAnalysisView::ClosingUtility, this,
            [this, guarded = QPointer<CAnalysisView>(window)](CAnalysisView*) { OnClosingUtility(guarded.data()); },
            Qt::QueuedConnection);
    slot = window;
    window->Create(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)), kind);
    PlaceUtilityWindow(*window, kind);
    // Widened later for a longer reading, it keeps on the screen and clear
    // of its neighbours instead of sliding under one.
    connect(window, &CAnalysisView::Widened, this, [this](CAnalysisView* viewer) {
        screen_placement::KeepOnScreen(*viewer);
        screen_placement::MoveClearOf(*viewer, UtilityWindowsBut(viewer));
    });
}

void CMainFrame::DestroyViewers()
{
    for (CAnalysisView*& slot : m_Viewers) {
        CAnalysisView* window = slot;
        slot = nullptr;
        delete window;
    }
}

void CMainFrame::OnClosingUtility(CAnalysisView* window)
{
    if (window != nullptr) {
        for (int kind : {kSlotPeakFrequency, kSlotPeakAmplitude, kSlotTotalPower})
            if (Viewer(kind) == window)
                OnUtilityViewer(kind);
    }
    if (m_Toolbar != nullptr)
        m_Toolbar->SyncButtonStates();
    UpdateUtilityMenu();
}

void CMainFrame::UpdateUtilityWindows()
{
    for (CAnalysisView* viewer : m_Viewers)
        if (viewer != nullptr)
            viewer->UpdateResults();
}

void CMainFrame::RefreshUtilityWindows()
{
    for (CAnalysisView* viewer : m_Viewers)
        if (viewer != nullptr)
            viewer->Refresh();
}

SpectralData* CMainFrame::GetModeProcessor(int index) const
{
    return m_Processing != nullptr ? m_Processing->GetModeProcessor(index) : nullptr;
}
