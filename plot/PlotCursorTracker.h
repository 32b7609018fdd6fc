#pragma once
// The measurement cursor and the zoom selection as a state machine over
// left-button presses, moves and releases. It keeps what a plot shows while
// the button is held (the mode, the last and anchor points, the readout
// texts, the zoom rectangle); the window draws that state over its image,
// so removing a mark is drawing without it and nothing is ever left behind.
//
// The pointer cannot be confined to a pane on every desktop (Wayland does
// not let a program clip or warp it), so while the button is held every
// point is clamped into the pane of the press instead.

#include "plot/PlotCursorHooks.h"
#include "plot/PlotPoint.h"
#include "plot/PlotRect.h"

#include <string>

// The cursor's variant, chosen by the keys held at the press.
enum class CursorMode {
    Plain,    // no key: cross and the values at the point
    Delta,    // Ctrl: cross, a line from the anchor, differences from the anchor
    Harmonic, // Shift: cross and a line at each harmonic of the x value
    Sideband, // Ctrl and Shift: anchor and sideband lines, differences, no cross
};

CursorMode CursorModeFromKeys(bool ctrl, bool shift);

// The pointer shape an event asks for.
enum class PlotPointer { Unchanged, Plot, Drag, Zoom, Arrow };

class PlotCursorTracker {
public:
    explicit PlotCursorTracker(PlotCursorHooks& hooks) : Hooks(hooks) {}

    PlotPointer Press(bool ctrl, bool shift, int x, int y);
    PlotPointer Move(int x, int y);
    // Ends any tracking, wherever the release happens.
    PlotPointer Release(int x, int y);
    // Focus loss or deactivation in the middle of a drag: the marks go and
    // a zoom selection is abandoned rather than applied.
    void Cancel();

    CursorMode Mode() const { return CurrentMode; }
    bool DeltaMode() const { return CurrentMode == CursorMode::Delta; }
    bool HarmonicMode() const { return CurrentMode == CursorMode::Harmonic; }
    bool SidebandMode() const { return CurrentMode == CursorMode::Sideband; }
    // The left button drags the cursor or a zoom selection.
    bool Tracking() const { return IsTracking; }
    bool CursorShown() const { return IsTracking && !IsZoomMode; }
    bool ZoomFrameShown() const { return IsTracking && IsZoomMode; }

    // The pane the pointer is held in, empty when none is.
    const PlotRect& HeldPane() const { return Held; }
    // Where the marks stand, (0, 0) before the first one.
    PlotPoint LastPoint() const { return Last; }
    PlotPoint AnchorPoint() const { return Anchor; }
    float AnchorXValue() const { return AnchorX; }
    float AnchorYValue() const { return AnchorY; }
    // The values last shown: at the point, or its difference from the anchor.
    float CursorXValue() const { return CursorX; }
    float CursorYValue() const { return CursorY; }
    const std::string& XReadoutText() const { return XText; }
    const std::string& YReadoutText() const { return YText; }

    bool ZoomMode() const { return IsZoomMode; }
    void SetZoomMode(bool on) { IsZoomMode = on; }
    const PlotRect& ZoomRect() const { return Zoom; }
    void SetZoomRect(const PlotRect& rect) { Zoom = rect; }

private:
    bool DifferenceMode() const { return DeltaMode() || SidebandMode(); }
    PlotPoint HeldPoint(int x, int y) const;
    void ShowReadouts(float x, float y);
    void EndTracking();

    PlotCursorHooks& Hooks;
    CursorMode CurrentMode = CursorMode::Plain;
    bool IsTracking = false;
    PlotRect Held;
    PlotPoint Last;
    PlotPoint Anchor;
    float AnchorX = 0.0f;
    float AnchorY = 0.0f;
    float CursorX = 0.0f;
    float CursorY = 0.0f;
    std::string XText;
    std::string YText;
    bool IsZoomMode = false;
    PlotRect Zoom;
};
