#pragma once
// The main frame's six window slots and the operations the window toggles,
// start-up, shut-down and the configuration commands use on them. Windows
// are named by slot id; an id without a slot (the plot windows use 2) stores
// nothing, reads as closed and restores nothing.

#include <cstddef>
#include <optional>

#include "settings/WindowPlacement.h"
#include "settings/WindowSlot.h"

enum WindowSlotId : int {
    kSlotMainWindow = 0,
    kSlotSignalGenerator = 6,
    kSlotPeakFrequency = 7,
    kSlotPeakAmplitude = 8,
    kSlotTotalPower = 9,
    kSlotRecorder = 10,
};

struct WindowSlots {
    static constexpr std::size_t kSlotCount = 6;
    // In storage order, which is also the order of the file's keys.
    static constexpr int kIds[kSlotCount] = {kSlotMainWindow,    kSlotSignalGenerator, kSlotPeakFrequency,
                                             kSlotPeakAmplitude, kSlotTotalPower,      kSlotRecorder};

    WindowSlot Slot[kSlotCount] = {{1, {}}, {}, {}, {}, {}, {}};

    // The slot of an id, or null.
    WindowSlot* Find(int id);
    const WindowSlot* Find(int id) const;

    // current is the window's placement, null when the window does not
    // exist. The main window's slot always reads as open; another slot is
    // open exactly when its window exists. A missing window keeps the text
    // stored before.
    void Store(int id, const WindowPlacement* current);
    bool IsOpen(int id) const;
    // Whether the slot holds a placement a window can open at.
    bool HasPlacement(int id) const;

    // The placement to apply to a window re-opened from its slot: only for
    // an open slot with a text.
    std::optional<WindowPlacement> PlacementToRestore(int id, DesktopSize desktop, bool mainWindowMinimized) const;

    // Where to create a window: its stored normal rectangle kept on the
    // desktop, whether or not the slot is open, or defaultRect when it has
    // none. maximized (optional) tells whether it was stored maximized.
    PlacementRect GetSavedWindowRect(int id, const PlacementRect& defaultRect, DesktopSize desktop,
                                     bool* maximized = nullptr) const;

    bool operator==(const WindowSlots&) const = default;
};
