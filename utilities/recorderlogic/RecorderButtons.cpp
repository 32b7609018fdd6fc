#include "utilities/recorderlogic/RecorderButtons.h"

namespace recorder_buttons {

Looks For(bool hasFile, std::uint32_t state)
{
    using enum Look;
    if (!hasFile)
        return {Normal, Grey, Grey, Grey, Grey};
    switch (state) {
    case 1: return {Latched, Grey, Normal, Grey, Grey};
    case 2: return {Grey, Latched, Normal, Grey, Grey};
    default: return {Normal, Normal, Latched, Normal, Normal};
    }
}

} // namespace recorder_buttons
