#include "plot/overlay/OverlayChecks.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace overlay_checks {

int LegendSizeOf(std::string_view text)
{
    return platform::ParseIntegerPrefix(text);
}

float OffsetOf(std::string_view text)
{
    return static_cast<float>(platform::ParseFloatPrefix(text));
}

std::string CheckLegendSize(int size)
{
    if (size >= kMinLegendSize && size <= kMaxLegendSize)
        return {};
    return "Overlay Legend size must be between 4 and " + std::to_string(kMaxLegendSize);
}

std::string CheckOffset(float offset)
{
    if (offset >= -kOffsetLimit && offset <= kOffsetLimit)
        return {};
    return "Overlay Offset must be between -100 and +100 dB";
}

std::string CheckComposite(const CompositeSetup& setup)
{
    if (setup.CompositeType != CompositeSetup::kAverage) {
        if (setup.DifferenceIndex1 == setup.DifferenceIndex2)
            return "Cannot Subtract an overlay from itself";
        return {};
    }
    const auto included = std::count(std::begin(setup.IncludeInAverage), std::begin(setup.IncludeInAverage) + 6, 1);
    if (included < 2)
        return "At least 2 overlays must be selected for averaging";
    return {};
}

float LimitedOffset(std::string_view text)
{
    const float offset = OffsetOf(text);
    if (std::isnan(offset))
        return 0.0f;
    return std::clamp(offset, -kOffsetLimit, kOffsetLimit);
}

} // namespace overlay_checks
