#include "app/ToolbarButtons.h"

const ToolbarButtonSpec* ToolbarButtons::Find(std::uint32_t id)
{
    for (const ToolbarButtonSpec& spec : kButtons) {
        if (spec.id == id)
            return &spec;
    }
    return nullptr;
}
