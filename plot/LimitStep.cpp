#include "plot/LimitStep.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <charconv>

namespace {

float ReadField(std::string_view text)
{
    const std::size_t room = LimitStep::kTextBuffer - 1;
    return static_cast<float>(platform::ParseFloatPrefix(text.substr(0, std::min(text.size(), room))));
}

} // namespace

void LimitStep::SetRange(float maximum, float minimum)
{
    if (!(maximum > minimum))
        return;
    Maximum = maximum;
    Minimum = minimum;
}

void LimitStep::SetStep(float step, std::uint32_t mode)
{
    Mode = mode;
    if (step != 0.0f)
        Step = step;
}

float LimitStep::Up(float v) const
{
    if (Mode == kAdd)
        v += Step;
    else
        v = v == 0.0f ? 1.0f : v * Step;
    return v >= Maximum ? Maximum : v;
}

float LimitStep::Down(float v) const
{
    if (Mode == kAdd)
        v -= Step;
    else
        v = v == 0.0f ? Minimum : v / Step;
    return v <= Minimum ? Minimum : v;
}

std::string LimitStep::StepUpText(std::string_view text) const
{
    return Format(Up(ReadField(text)));
}

std::string LimitStep::StepDownText(std::string_view text) const
{
    return Format(Down(ReadField(text)));
}

std::string LimitStep::FormatFor(int decimals)
{
    if (decimals >= 10)
        return "%1.1e";
    if (decimals < 0)
        decimals = 0;
    return "%1." + std::to_string(decimals) + "f";
}

std::string LimitStep::Format(float value) const
{
    // The exponent form is the only one FormatFixed does not write.
    if (Decimals >= 10) {
        // to_chars writes printf's shape with '.' under every locale.
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                          std::chars_format::scientific, 1);
        return std::string(buffer, result.ptr);
    }
    return platform::FormatFixed(static_cast<double>(value), Decimals < 0 ? 0 : Decimals);
}
