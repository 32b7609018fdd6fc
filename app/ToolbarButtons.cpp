#include "app/ToolbarButtons.h"

const ToolbarButtonEntry* ToolbarButtons::Find(std::uint32_t id)
{
    for (const ToolbarButtonEntry& entry : kButtons) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}
