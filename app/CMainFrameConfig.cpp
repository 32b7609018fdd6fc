// Saving and loading configurations: the frame's side of the commands.

#include "app/CMainFrame.h"

#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/CToolbar2.h"
#include "app/core/TProcessingObjects.h"

bool CMainFrame::SaveConfigurationTo(const std::string& path)
{
    return m_Configuration->SaveConfiguration(path);
}

bool CMainFrame::OpenConfigurationFrom(const std::string& path)
{
    return m_Configuration->LoadConfiguration(path);
}

void CMainFrame::StoreWindowSlot(int slotId)
{
    if (slotId == kSlotMainWindow) {
        const WindowPlacement frame = CurrentPlacement();
        m_Settings.Windows.Store(slotId, &frame);
        return;
    }
    StoreUtilitySlot(slotId);
}

void CMainFrame::CloseWindowsForLoad()
{
    if (m_Processing != nullptr)
        m_Processing->ResetDisplays();
    OnCloseAllUtilities();
    DestroyPlots();
}

void CMainFrame::RebuildProcessing()
{
    // The loaded format may differ: a new port for it, then the objects.
    ReinitInput();
}

void CMainFrame::RefreshAfterLoad()
{
    // The bars and the plots, as a start with this file would show them.
    ApplyBarVisibility();
    UpdateBarsMenu();
    SyncPlotsWithMode();
    RecalcLayout();
    RefreshUtilityWindows();
    UpdateTitle();
}

int CMainFrame::FindDaqInputDevice()
{
    return m_Audio.FindDaqInputDevice();
}
