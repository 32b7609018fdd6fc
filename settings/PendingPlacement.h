#pragma once
// A window's saved area, opened before the window manager has framed the
// window and opened again once it has. Until then the frame's margins are a
// guess, and the same saved area fitted to the screen with the guess and
// with the real margins lands in two places: a start would open the window
// elsewhere than Open Configuration does (a whole-desktop default a border
// too wide). Opened again once framed, both agree.

#include <optional>

#include "settings/PlacedWindow.h"

class PendingPlacement {
public:
    // Opens the window at `saved` (its saved size, kept on its screen); an
    // unframed window keeps it pending.
    void Open(PlacedWindow& window, const PlacementRect& saved);

    // The window is on the screen with its frame: a pending area is opened
    // again with the real margins, unless the window is maximised or
    // minimised by now.
    void Framed(PlacedWindow& window);

    bool IsPending() const { return m_Saved.has_value(); }

private:
    std::optional<PlacementRect> m_Saved;
};
