#pragma once
// Keeping a window's title bar and edges on the screen's usable area: a
// placement from another screen, or a default made for the whole desktop,
// must not put the title bar above the top edge or the bottom below the
// task bar.

#include "settings/WindowPlacement.h"

#include <vector>

namespace screen_fit {

// The desktop's decorations around a window's own area, in pixels.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The window's own area (without decorations) moved and, only where it
// cannot fit, shrunk so that it and its decorations lie within available.
// A window that fits is returned as it is.
PlacementRect Fit(const PlacementRect& client, const FrameMargins& margins, const PlacementRect& available);

// A window of the wanted size, shrunk to fit, centred on available.
PlacementRect Centred(int width, int height, const FrameMargins& margins, const PlacementRect& available);

// A window's outer rectangle moved down below each of `others` it overlaps,
// until it overlaps none, so that windows opening at neighbouring defaults
// do not cover one another. Where that would leave `available`, the window
// stays where it was.
PlacementRect ClearOf(const PlacementRect& outer, const std::vector<PlacementRect>& others,
                      const PlacementRect& available);

} // namespace screen_fit
