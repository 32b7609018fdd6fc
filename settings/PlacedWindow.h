#pragma once
// A top-level window as the window system reports it, for the placement
// arithmetic: its own area (the client) and the frame the desktop draws
// round it. Until the window manager has framed a window (and on a system
// without one) the two are equal.

#include "settings/WindowPlacement.h"

class PlacedWindow {
public:
    virtual ~PlacedWindow() = default;

    virtual PlacementRect Client() const = 0;
    virtual PlacementRect Frame() const = 0;
    // The client area the window returns to from maximised or minimised;
    // the client area itself while it is neither.
    virtual PlacementRect NormalClient() const = 0;
    // WindowPlacement::kShowNormal, kShowMaximized or kShowMinimized.
    virtual int ShowCommand() const = 0;
    // The usable area of the screen the window is on (without task bars).
    virtual PlacementRect Available() const = 0;
    // The height a title bar is taken to have while the frame is unknown.
    virtual int TitleBarHeight() const = 0;
    // Gives the window this client area, wherever the frame then goes.
    virtual void SetClient(const PlacementRect& client) = 0;
};
