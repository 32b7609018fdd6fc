#pragma once
// The pointer shapes of a plot window: a thin cross over a pane, nothing at
// all while the measurement cursor is dragged (the drawn cross is the
// pointer then), a small cross with a frame in zoom mode, and the arrow
// elsewhere.

#include <QCursor>

struct PlotPointers {
    QCursor Plot;
    QCursor Drag;
    QCursor Zoom;
    QCursor Arrow;
};

// Drawn at the screen's pixel density so the thin lines stay one pixel wide.
PlotPointers CreatePlotPointers(qreal devicePixelRatio);
