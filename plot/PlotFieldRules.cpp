#include "plot/PlotFieldRules.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace plot_fields {
namespace {

std::optional<float> ReadField(std::string_view text, std::size_t chars)
{
    const double v = platform::ParseFloatPrefix(text.substr(0, std::min(text.size(), chars)));
    if (!std::isfinite(v) || std::fabs(v) > 3.0e38)
        return std::nullopt;
    return static_cast<float>(v);
}

} // namespace

float LinearTopStep(float value)
{
    // Up to 1.1 × each decade, the step is a tenth of that decade.
    static constexpr float kSteps[] = {1e-7f, 1e-6f, 1e-5f, 1e-4f, 1e-3f, 1e-2f, 1e-1f, 1.0f,
                                       10.0f, 100.0f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
    if (value <= 1e-7f)
        return 1e-8f;
    for (float step : kSteps) {
        // A hair of tolerance: a typed 1.1 is the float just above 1.1.
        if (static_cast<double>(value) <= 11.0 * static_cast<double>(step) * (1.0 + 1e-6))
            return step;
    }
    return 1e8f;
}

int DecimalsForStep(float step)
{
    if (step >= 999.0f)
        return 0;
    if (step >= 99.0f)
        return 1;
    if (step >= 9.0f)
        return 2;
    if (step >= 0.9f)
        return 3;
    if (step >= 0.09f)
        return 4;
    if (step >= 0.009f)
        return 5;
    if (step >= 0.0009f)
        return 6;
    return 7;
}

FieldChange PlotTopChanged(std::uint16_t ampScale, std::string_view text, float plotRange)
{
    FieldChange change;
    const std::optional<float> v = ReadField(text, kTopFieldChars);
    if (!v)
        return change;
    change.SpinChanged = true;
    switch (ampScale) {
    case 1:
        change.Spin = {300.0f, -300.0f, 5.0f, false, 2};
        break;
    case 2:
        change.Spin = {10000.0f, 10.0f * plotRange, 2.0f, true, 4};
        break;
    default: {
        const float step = LinearTopStep(*v);
        change.Spin = {1e7f, 1e-9f, step, false, DecimalsForStep(step)};
        break;
    }
    }
    // Kept within what the axis can draw: a top beyond the spinner's range
    // has no ticks worth drawing.
    const float low = ampScale == 2 ? 1e-6f : (ampScale == 1 ? -300.0f : -1e7f);
    const float high = ampScale == 2 ? 10000.0f : (ampScale == 1 ? 300.0f : 1e7f);
    change.Stored = std::clamp(*v, low, high);
    return change;
}

FieldChange PlotRangeChanged(std::uint16_t ampScale, std::string_view text, float plotTop)
{
    FieldChange change;
    if (ampScale != 1 && ampScale != 2)
        return change;  // a linear axis has no range
    const std::optional<float> v = ReadField(text, kRangeFieldChars);
    if (!v)
        return change;
    change.SpinChanged = true;
    if (ampScale == 1) {
        change.Spin = {300.0f, 0.1f, 5.0f, false, 2};
        if (*v < 0.1f) {
            change.Stored = 0.1f;
            change.FieldText = "0.1";
        } else {
            change.Stored = std::min(*v, 300.0f);
        }
    } else {
        change.Spin = {plotTop / 10.0f, 1e-6f, 2.0f, true, 6};
        change.Stored = std::max(*v, 1e-6f);
    }
    return change;
}

} // namespace plot_fields
