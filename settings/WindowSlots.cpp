#include "settings/WindowSlots.h"

#include "settings/TextField.h"

WindowSlot* WindowSlots::Find(int id, int channel)
{
    return const_cast<WindowSlot*>(static_cast<const WindowSlots*>(this)->Find(id, channel));
}

const WindowSlot* WindowSlots::Find(int id, int channel) const
{
    if (id == kSlotPlot)
        return channel == 0 || channel == 1 ? &Plot[channel] : nullptr;
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        if (kIds[i] == id)
            return &Slot[i];
    }
    return nullptr;
}

void WindowSlots::Store(int id, const WindowPlacement* current, int channel)
{
    WindowSlot* slot = Find(id, channel);
    if (slot == nullptr)
        return;
    slot->Open = id == kSlotMainWindow || current != nullptr ? 1 : 0;
    if (current != nullptr)
        SetTextField(slot->Placement, current->Format());
}

bool WindowSlots::IsOpen(int id, int channel) const
{
    const WindowSlot* slot = Find(id, channel);
    return slot != nullptr && slot->Open != 0;
}

bool WindowSlots::HasPlacement(int id, int channel) const
{
    const WindowSlot* slot = Find(id, channel);
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
                                              bool* maximized, int channel) const
{
    if (maximized != nullptr)
        *maximized = false;
    const WindowSlot* slot = Find(id, channel);
    if (slot == nullptr)
        return defaultRect;
    const auto placement = WindowPlacement::Parse(TextFieldView(slot->Placement), desktop, false);
    if (!placement)
        return defaultRect;
    if (maximized != nullptr)
        *maximized = placement->showCmd == WindowPlacement::kShowMaximized;
    return placement->normal;
}
