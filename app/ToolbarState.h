#pragma once
// Which tool-bar buttons show a state, and the state they show.

#include "app/ToolbarFrame.h"

#include <array>
#include <cstdint>

struct ToolbarLatch {
    std::uint32_t id;
    bool latched;
};

namespace ToolbarState {

// Only these buttons can be latched: trigger, generator, spectrum plot and
// the three analysis viewers.
bool IsLatchable(std::uint32_t id);

// The latch of every latchable button, read from the frame: each is down
// while its window exists (the trigger while it is enabled).
std::array<ToolbarLatch, 6> SyncLatches(const ToolbarFrame& frame);

} // namespace ToolbarState
