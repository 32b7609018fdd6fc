#include "settings/ScreenFit.h"

#include <algorithm>

namespace screen_fit {

PlacementRect Fit(const PlacementRect& client, const FrameMargins& margins, const PlacementRect& available)
{
    const int roomWidth = std::max(1, (available.right - available.left) - margins.left - margins.right);
    const int roomHeight = std::max(1, (available.bottom - available.top) - margins.top - margins.bottom);
    const int width = std::clamp(client.right - client.left, 1, roomWidth);
    const int height = std::clamp(client.bottom - client.top, 1, roomHeight);
    // The left and top edges win where the room is too small for both.
    const int minLeft = available.left + margins.left;
    const int minTop = available.top + margins.top;
    const int left = std::max(minLeft, std::min(client.left, available.right - margins.right - width));
    const int top = std::max(minTop, std::min(client.top, available.bottom - margins.bottom - height));
    return {left, top, left + width, top + height};
}

PlacementRect Centred(int width, int height, const FrameMargins& margins, const PlacementRect& available)
{
    const int centreX = (available.left + available.right) / 2;
    const int centreY = (available.top + available.bottom + margins.top - margins.bottom) / 2;
    const PlacementRect wanted{centreX - width / 2, centreY - height / 2, centreX - width / 2 + width,
                               centreY - height / 2 + height};
    return Fit(wanted, margins, available);
}

namespace {

bool Overlap(const PlacementRect& a, const PlacementRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

PlacementRect ClearOf(const PlacementRect& outer, const std::vector<PlacementRect>& others,
                      const PlacementRect& available)
{
    PlacementRect moved = outer;
    // Each pass moves below one window; more passes than windows cannot help.
    for (std::size_t pass = 0; pass <= others.size(); ++pass) {
        const PlacementRect* hit = nullptr;
        for (const PlacementRect& other : others)
            if (Overlap(moved, other) && (hit == nullptr || other.bottom > hit->bottom))
                hit = &other;
        if (hit == nullptr)
            return moved.bottom <= available.bottom ? moved : outer;
        const int height = moved.bottom - moved.top;
        moved.top = hit->bottom;
        moved.bottom = moved.top + height;
    }
    return outer;
}

} // namespace screen_fit
