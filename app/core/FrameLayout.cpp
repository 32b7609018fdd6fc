#include "app/core/FrameLayout.h"

#include <algorithm>

namespace {

// A frame dragged smaller than its bars leaves nothing, never less.
LayoutRect Clamped(LayoutRect r)
{
    r.width = std::max(r.width, 0);
    r.height = std::max(r.height, 0);
    return r;
}

} // namespace

FrameLayout FrameLayout::Compute(const FrameLayoutInput& in)
{
    const int w = in.clientWidth;
    const int h = in.clientHeight;
    const int s = in.sidebarShown ? kSidebarWidth : 0;
    const int t = in.toolbarShown ? kToolbarHeight : 0;
    const int b = in.statusbarShown ? kStatusbarHeight : 0;

    FrameLayout layout;
    // Below the tool bar: under it the Run and Stop lamps would be hidden.
    layout.sidebar = {0, t, s, h - t - b};
    layout.toolbar = {0, 0, w, t};
    layout.statusbar = {0, h - b, w, b};
    const int p = h - t - b;
    layout.plotArea = {s, t, w - s, p};

    const int half = p / 2;
    if (in.plot1Exists)
        layout.plot1 = in.plot2Exists ? LayoutRect{s, t, w - s, half} : layout.plotArea;
    if (in.plot2Exists)
        layout.plot2 = {s, t + half, w - s, half};
    for (LayoutRect* r : {&layout.sidebar, &layout.toolbar, &layout.statusbar, &layout.plotArea, &layout.plot1,
                          &layout.plot2})
        *r = Clamped(*r);
    return layout;
}
