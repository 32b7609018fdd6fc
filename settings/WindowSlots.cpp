#include "settings/WindowSlots.h"

#include "settings/TextField.h"

WindowSlot* WindowSlots::Find(int id)
{
    return const_cast<WindowSlot*>(static_cast<const WindowSlots*>(this)->Find(id));
}

const WindowSlot* WindowSlots::Find(int id) const
{
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        if (kIds[i] == id)
            return &Slot[i];
    }
    return nullptr;
}

void WindowSlots::Store(int id, const WindowPlacement* current)
{
    WindowSlot* slot = Find(id);
    if (slot == nullptr)
        return;
    slot->Open = id == kSlotMainWindow || current != nullptr ? 1 : 0;
    if (current != nullptr)
        SetTextField(slot->Placement, current->Format());
}

bool WindowSlots::IsOpen(int id) const
{
    const WindowSlot* slot = Find(id);
    return slot != nullptr && slot->Open != 0;
}

bool WindowSlots::HasPlacement(int id) const
{
    const WindowSlot* slot = Find(id);
    return slot != nullptr && WindowPlacement::Parse(TextFieldView(slot->Placement), {}, false).has_value();
}

std::optional<WindowPlacement> WindowSlots::PlacementToRestore(int id, DesktopSize desktop,
                                                               bool mainWindowMinimized) const
{
    const WindowSlot* slot = Find(id);
    if (slot == nullptr || slot->Open == 0 || slot->Placement[0] == '\0')
        return std::nullopt;
    return WindowPlacement::Parse(TextFieldView(slot->Placement), desktop, mainWindowMinimized);
}

PlacementRect WindowSlots::GetSavedWindowRect(int id, const PlacementRect& defaultRect, DesktopSize desktop,
                                              bool* maximized) const
{
    if (maximized != nullptr)
        *maximized = false;
    const WindowSlot* slot = Find(id);
    if (slot == nullptr)
        return defaultRect;
    const auto placement = WindowPlacement::Parse(TextFieldView(slot->Placement), desktop, false);
    if (!placement)
        return defaultRect;
    if (maximized != nullptr)
        *maximized = placement->showCmd == WindowPlacement::kShowMaximized;
    return placement->normal;
}
