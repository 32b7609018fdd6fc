#include "app/ToolbarButtons.h"

const ToolbarButtonSpec* ToolbarButtons::Find(std::uint32_t id)
{
    for (const ToolbarButtonSpec& entry : kButtons) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}
