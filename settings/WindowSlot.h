#pragma once
// Whether a window was open when it was last stored, and where it stood.
// Six live in the main frame: the main window and its five utility windows.

#include <cstddef>
#include <cstdint>

struct WindowSlot {
    static constexpr std::size_t kPlacementSize = 256;

    std::uint8_t Open = 0;
    // The placement text (WindowPlacement's format), empty when never stored.
    char Placement[kPlacementSize] = {};

    bool operator==(const WindowSlot&) const = default;
};
