#include "plot/PlotCursorTracker.h"

CursorMode CursorModeFromKeys(bool ctrl, bool shift)
{
    if (ctrl && shift)
        return CursorMode::Sideband;
    if (ctrl)
        return CursorMode::Delta;
    if (shift)
        return CursorMode::Harmonic;
    return CursorMode::Plain;
}

PlotPoint PlotCursorTracker::HeldPoint(int x, int y) const
{
    return IsTracking ? Held.Clamp({x, y}) : PlotPoint{x, y};
}

void PlotCursorTracker::ShowReadouts(float x, float y)
{
    XText = Hooks.ReadoutText(PlotAxis::X, x);
    YText = Hooks.ReadoutText(PlotAxis::Y, y);
}

void PlotCursorTracker::EndTracking()
{
    IsTracking = false;
    Held = {};
}

PlotPointer PlotCursorTracker::Press(bool ctrl, bool shift, int x, int y)
{
    // A press always starts from a clean slate, whatever the last drag left.
    CurrentMode = CursorMode::Plain;
    EndTracking();
    Last = {};

    const PlotRect pane = Hooks.GetPlotRectAt(x, y);
    if (!pane.Contains(x, y))
        return PlotPointer::Unchanged;

    if (IsZoomMode) {
        Zoom = {};
        Held = pane;
        IsTracking = true;
        Hooks.TrackSelection(x, y);
        return PlotPointer::Zoom;
    }

    IsTracking = true;
    CurrentMode = CursorModeFromKeys(ctrl, shift);
    Hooks.ClearSelection();
    Held = pane;

    PlotPoint point{x, y};
    Hooks.SnapCursorPoint(point);
    CursorX = Hooks.GetXValueAt(point.x, point.y);
    CursorY = Hooks.GetYValueAt(point.x, point.y);
    if (DifferenceMode()) {
        Anchor = point;
        AnchorX = CursorX;
        AnchorY = CursorY;
        ShowReadouts(0.0f, 0.0f);
    } else {
        ShowReadouts(CursorX, CursorY);
    }
    Last = point;
    return PlotPointer::Drag;
}

PlotPointer PlotCursorTracker::Move(int x, int y)
{
    const PlotPoint held = HeldPoint(x, y);
    const PlotRect pane = Hooks.GetPlotRectAt(held.x, held.y);
    const bool inside = pane.Contains(held);

    if (IsZoomMode && IsTracking) {
        Hooks.TrackSelection(held.x, held.y);
        return PlotPointer::Zoom;
    }
    if (inside && IsTracking) {
        PlotPoint point = held;
        Hooks.SnapCursorPoint(point);
        CursorX = Hooks.GetXValueAt(point.x, point.y);
        CursorY = Hooks.GetYValueAt(point.x, point.y);
        if (DifferenceMode()) {
            CursorX -= AnchorX;
            CursorY -= AnchorY;
        }
        ShowReadouts(CursorX, CursorY);
        Last = point;
        return PlotPointer::Drag;
    }
    if (IsZoomMode)
        return PlotPointer::Zoom;
    return inside ? PlotPointer::Plot : PlotPointer::Arrow;
}

PlotPointer PlotCursorTracker::Release(int x, int y)
{
    const PlotPoint held = HeldPoint(x, y);
    PlotPointer pointer = PlotPointer::Unchanged;

    if (IsZoomMode) {
        // Only a selection that a press in a pane started is applied; a
        // stray release used to zoom to whatever the last selection held.
        if (IsTracking) {
            Hooks.TrackSelection(held.x, held.y);
            Zoom = Zoom.Normalized();
            EndTracking();
            Hooks.ZoomToRect(Zoom);
            pointer = PlotPointer::Plot;
        }
    } else if (IsTracking) {
        // Ended wherever the release happens: the plot's right-button menu
        // ends a held cursor by a release at its own click point.
        EndTracking();
        pointer = PlotPointer::Plot;
    }
    CurrentMode = CursorMode::Plain;
    return pointer;
}

void PlotCursorTracker::Cancel()
{
    EndTracking();
    CurrentMode = CursorMode::Plain;
}
