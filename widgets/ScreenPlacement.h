#pragma once
// Keeping top-level windows on the screen they open on, decorations
// included: the title bar stays reachable and the bottom edge stays above
// the task bar. Placements store and restore a window's own area (its
// geometry), never its frame's corner.

#include <QSize>

#include <vector>

#include "settings/WindowPlacement.h"

class PendingPlacement;

class QWidget;

namespace screen_placement {

// Moves (and only where it cannot fit, shrinks) the window so that it and
// its title bar lie on the usable area of its screen.
void KeepOnScreen(QWidget& window);

// Gives the window the wanted size, shrunk to the usable area, centred on
// the screen of `near` (its own when null).
void CentreOnScreen(QWidget& window, QSize wanted, const QWidget* near = nullptr);

// A window that others keep clear of, its own area taken as large as
// `fullSize` from its present corner where that size is valid: a window
// that shrinks for a while (the generator while it plays) grows back there,
// and must not grow under a window that opened beside its small self.
struct Neighbour {
    const QWidget* window = nullptr;
    QSize fullSize;
};

// Moves the window down below those of `others` (shown or not) that it
// covers, title bars included; where that would leave its screen, it stays.
void MoveClearOf(QWidget& window, const std::vector<const QWidget*>& others);
void MoveClearOf(QWidget& window, const std::vector<Neighbour>& others);

// The placement a window slot stores: the show state and the window's
// normal own area.
WindowPlacement Capture(const QWidget& window);

// Puts the window's own area at a saved rectangle, with its saved size, kept
// on its screen; until the window manager has framed the window, `pending`
// keeps the rectangle for OpenFramed.
void Open(QWidget& window, const PlacementRect& saved, PendingPlacement& pending);

// Once the window is on the screen with its frame: the rectangle `pending`
// kept, opened again with the frame's real margins.
void OpenFramed(QWidget& window, PendingPlacement& pending);

// Brings a window the user opened to the front, above the main window.
void BringToFront(QWidget& window);

} // namespace screen_placement
