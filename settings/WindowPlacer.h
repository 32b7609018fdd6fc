#pragma once
// Storing where a window stands and opening it there again. A placement
// holds the window's own area (its client rectangle), never the frame's
// corner: the window is created at its client area, so storing the frame's
// corner would move it up by a title bar at every restart.

#include <vector>

#include "settings/PlacedWindow.h"
#include "settings/ScreenFit.h"

class WindowPlacer {
public:
    // The placement a slot stores for the window: its show state and its
    // normal client rectangle.
    static WindowPlacement Capture(const PlacedWindow& window);

    // The decorations round the client area; where the window manager has
    // not framed it yet (or drew less than a title bar) a title bar's height
    // stands in for the top.
    static screen_fit::FrameMargins Margins(const PlacedWindow& window);

    // The client area a window opens at from a saved rectangle: the saved
    // corner with the saved size, or with `ownSize` (width, height) for a
    // window that sizes itself; moved (and only where it cannot fit, shrunk)
    // so that the window and its title bar lie on `available`.
    static PlacementRect ClientToOpen(const PlacementRect& saved, const PlacementRect* ownSize,
                                      const screen_fit::FrameMargins& margins, const PlacementRect& available);

    // Opens the window there (see ClientToOpen; the window's current size
    // counts as its own when `keepOwnSize`).
    static void Open(PlacedWindow& window, const PlacementRect& saved, bool keepOwnSize);

    // Moves the window so that it and its title bar lie on its screen.
    static void KeepOnScreen(PlacedWindow& window);

    // The window's outer rectangle, decorations included.
    static PlacementRect Outer(const PlacedWindow& window);

    // Moves the window below those of `others` its frame covers, frames
    // included, unless that would take it off the screen.
    static void MoveClearOf(PlacedWindow& window, const std::vector<const PlacedWindow*>& others);
};
