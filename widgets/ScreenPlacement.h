#pragma once
// Keeping top-level windows on the screen they open on, decorations
// included: the title bar stays reachable and the bottom edge stays above
// the task bar.

#include <QSize>

#include <vector>

class QWidget;

namespace screen_placement {

// Moves (and only where it cannot fit, shrinks) the window so that it and
// its title bar lie on the usable area of its screen.
void KeepOnScreen(QWidget& window);

// Gives the window the wanted size, shrunk to the usable area, centred on
// the screen of `near` (its own when null).
void CentreOnScreen(QWidget& window, QSize wanted, const QWidget* near = nullptr);

// Moves the window down below those of `others` (shown or not) that it
// covers, title bars included; where that would leave its screen, it stays.
void MoveClearOf(QWidget& window, const std::vector<const QWidget*>& others);

} // namespace screen_placement
