#include "settings/PendingPlacement.h"

#include "settings/WindowPlacer.h"

void PendingPlacement::Open(PlacedWindow& window, const PlacementRect& saved)
{
    // Without a window manager the frame is never known: the saved area
    // stays pending and is opened again, to the same place, once shown.
    const bool framed = window.Frame() != window.Client();
    WindowPlacer::Open(window, saved, false);
    m_Saved = framed ? std::nullopt : std::optional<PlacementRect>(saved);
}

void PendingPlacement::Framed(PlacedWindow& window)
{
    if (!m_Saved)
        return;
    const PlacementRect saved = *m_Saved;
    m_Saved.reset();
    if (window.ShowCommand() == WindowPlacement::kShowNormal)
        WindowPlacer::Open(window, saved, false);
}
