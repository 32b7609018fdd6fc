#include "plot/TraceExtents.h"

#include <algorithm>

void TraceExtents::Start(const PlotRect& pane)
{
    m_Pane = pane;
    const int strips = pane.IsEmpty() ? 0 : (pane.Width() + kStripWidth - 1) / kStripWidth;
    m_Strips.assign(static_cast<std::size_t>(strips), Rows{});
    m_Known = true;
}

int TraceExtents::StripOf(int x) const
{
    const int last = static_cast<int>(m_Strips.size()) - 1;
    return std::clamp((x - m_Pane.left) / kStripWidth, 0, last);
}

void TraceExtents::Add(const std::vector<PlotPoint>& points, int pad)
{
    if (!m_Known || m_Strips.empty() || points.empty())
        return;
    // Each segment covers the rows between its ends in every strip from one
    // end's to the other's; a lone point covers its own.
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PlotPoint a = points[i];
        const PlotPoint b = i + 1 < points.size() ? points[i + 1] : a;
        const int top = std::max(m_Pane.top, std::min(a.y, b.y) - pad);
        const int bottom = std::min(m_Pane.bottom - 1, std::max(a.y, b.y) + pad);
        if (top > bottom)
            continue;
        const int first = StripOf(std::min(a.x, b.x) - pad), last = StripOf(std::max(a.x, b.x) + pad);
        for (int s = first; s <= last; ++s) {
            Rows& rows = m_Strips[static_cast<std::size_t>(s)];
            if (rows.top > rows.bottom) {
                rows = {top, bottom};
            } else {
                rows.top = std::min(rows.top, top);
                rows.bottom = std::max(rows.bottom, bottom);
            }
        }
    }
}

std::vector<PlotRect> TraceExtents::Union(const TraceExtents& before, const TraceExtents& now)
{
    const PlotRect& pane = now.m_Pane;
    const bool samePane = before.m_Pane.left == pane.left && before.m_Pane.top == pane.top &&
                          before.m_Pane.right == pane.right && before.m_Pane.bottom == pane.bottom;
    if (!before.m_Known || !now.m_Known || !samePane || before.m_Strips.size() != now.m_Strips.size())
        return {pane};
    std::vector<PlotRect> rects;
    for (std::size_t s = 0; s < now.m_Strips.size(); ++s) {
        const Rows a = before.m_Strips[s], b = now.m_Strips[s];
        const bool hasA = a.top <= a.bottom, hasB = b.top <= b.bottom;
        if (!hasA && !hasB)
            continue;
        const int top = hasA && hasB ? std::min(a.top, b.top) : hasA ? a.top : b.top;
        const int bottom = hasA && hasB ? std::max(a.bottom, b.bottom) : hasA ? a.bottom : b.bottom;
        const int left = pane.left + static_cast<int>(s) * kStripWidth;
        const int right = std::min(pane.right, left + kStripWidth);
        // Out to the row grid from the pane's top, within the pane.
        const int snappedTop = pane.top + (top - pane.top) / kRowGrid * kRowGrid;
        const int rowsDown = (bottom + 1 - pane.top + kRowGrid - 1) / kRowGrid * kRowGrid;
        const int snappedEnd = std::min(pane.bottom, pane.top + rowsDown);
        if (!rects.empty() && rects.back().right == left && rects.back().top == snappedTop &&
            rects.back().bottom == snappedEnd)
            rects.back().right = right;
        else
            rects.push_back({left, snappedTop, right, snappedEnd});
    }
    return rects;
}
