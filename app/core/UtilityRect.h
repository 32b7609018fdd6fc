#pragma once
// Where a window opens when no placement of it was stored.

#include "settings/WindowPlacement.h"

namespace utility_rect {

// By window kind: 0 the main frame (the desktop less a task bar), 6 the
// signal generator, 7 to 9 the three viewers, 10 the recorder (the
// generator and the recorder size themselves: only their left and top
// count); any other kind the frame's client area.
PlacementRect GetUtilityRect(int kind, DesktopSize desktop, int clientWidth, int clientHeight);

} // namespace utility_rect
