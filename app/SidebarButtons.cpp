#include "app/SidebarButtons.h"

bool SidebarButtons::CommandFor(std::uint32_t id, FrameCommand& command)
{
    for (const SidebarButtonEntry& entry : kButtons) {
        if (entry.id == id) {
            command = entry.command;
            return true;
        }
    }
    return false;
}
