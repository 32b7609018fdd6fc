#include "settings/WindowPlacer.h"

#include <algorithm>

WindowPlacement WindowPlacer::Capture(const PlacedWindow& window)
{
    WindowPlacement placement;
    placement.showCmd = window.ShowCommand();
    placement.minX = placement.minY = placement.maxX = placement.maxY = -1;
    placement.normal = window.NormalClient();
    return placement;
}

screen_fit::FrameMargins WindowPlacer::Margins(const PlacedWindow& window)
{
    const PlacementRect frame = window.Frame();
    const PlacementRect client = window.Client();
    screen_fit::FrameMargins margins{std::max(0, client.left - frame.left), std::max(0, client.top - frame.top),
                                     std::max(0, frame.right - client.right),
                                     std::max(0, frame.bottom - client.bottom)};
    const int title = window.TitleBarHeight();
    if (margins.top < title / 2)
        margins.top = title;
    return margins;
}

PlacementRect WindowPlacer::ClientToOpen(const PlacementRect& saved, const PlacementRect* ownSize,
                                         const screen_fit::FrameMargins& margins, const PlacementRect& available)
{
    const PlacementRect& sized = ownSize != nullptr ? *ownSize : saved;
    const PlacementRect wanted{saved.left, saved.top, saved.left + (sized.right - sized.left),
                               saved.top + (sized.bottom - sized.top)};
    return screen_fit::Fit(wanted, margins, available);
}

void WindowPlacer::Open(PlacedWindow& window, const PlacementRect& saved, bool keepOwnSize)
{
    const PlacementRect own = window.Client();
    window.SetClient(ClientToOpen(saved, keepOwnSize ? &own : nullptr, Margins(window), window.Available()));
}

void WindowPlacer::KeepOnScreen(PlacedWindow& window)
{
    const PlacementRect client = window.Client();
    const PlacementRect fitted = screen_fit::Fit(client, Margins(window), window.Available());
    if (fitted != client)
        window.SetClient(fitted);
}

PlacementRect WindowPlacer::Outer(const PlacedWindow& window)
{
    const screen_fit::FrameMargins m = Margins(window);
    const PlacementRect client = window.Client();
    return {client.left - m.left, client.top - m.top, client.right + m.right, client.bottom + m.bottom};
}

void WindowPlacer::MoveClearOf(PlacedWindow& window, const std::vector<const PlacedWindow*>& others)
{
    std::vector<PlacementRect> taken;
    for (const PlacedWindow* other : others)
        if (other != nullptr && other != &window)
            taken.push_back(Outer(*other));
    const PlacementRect outer = Outer(window);
    const PlacementRect moved = screen_fit::ClearOf(outer, taken, window.Available());
    if (moved == outer)
        return;
    PlacementRect client = window.Client();
    const int dx = moved.left - outer.left;
    const int dy = moved.top - outer.top;
    client = {client.left + dx, client.top + dy, client.right + dx, client.bottom + dy};
    window.SetClient(client);
}
