#include "app/core/UtilityRect.h"

namespace utility_rect {

PlacementRect GetUtilityRect(int kind, DesktopSize desktop, int clientWidth, int clientHeight)
{
    // The height a task bar takes at the desktop's bottom.
    constexpr int kTaskBar = 28;
    switch (kind) {
    case 0: return {0, 0, desktop.width, desktop.height - kTaskBar};
    case 6: return {696, 444, 100, 100};
    case 7: return {690, 200, 870, 272};
    case 8: return {690, 280, 870, 352};
    case 9: return {690, 360, 910, 432};
    case 10: return {400, 300, 100, 100};
    default: return {0, 0, clientWidth, clientHeight};
    }
}

} // namespace utility_rect
