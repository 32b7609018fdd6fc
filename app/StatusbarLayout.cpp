#include "app/StatusbarLayout.h"

#include <algorithm>

namespace {
constexpr int kTop = 3;
constexpr int kBottom = 20;
constexpr int kMargin = 3;
} // namespace

StatusbarLayout StatusbarLayout::Compute(int clientWidth, int textWidth)
{
    StatusbarLayout layout;
    layout.textRect = QRect(kMargin, kTop, std::max(textWidth, kTextWidth), kBottom - kTop);
    // The panes share the room from 3 pixels right of the text up to the
    // right margin, 3 pixels apart.
    const int panesLeft = layout.textRect.left() + layout.textRect.width() + kMargin;
    const int room = clientWidth - kMargin - panesLeft;
    const int paneWidth = (room - kMargin * (kPaneCount - 1)) / kPaneCount;
    layout.paneRect = QRect(panesLeft, kTop, paneWidth, kBottom - kTop);
    layout.formatArea = layout.textRect;
    return layout;
}
