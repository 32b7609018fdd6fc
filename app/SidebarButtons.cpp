#include "app/SidebarButtons.h"

bool SidebarButtons::CommandFor(std::uint32_t id, FrameCommand& command)
{
    for (const SidebarButtonSpec& spec : kButtons) {
        if (spec.id == id) {
            command = spec.command;
            return true;
        }
    }
    return false;
}
