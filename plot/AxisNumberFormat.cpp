#include "plot/AxisNumberFormat.h"

#include "platform/TimeText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// to_chars never looks at the locale and rounds exactly as glibc's printf,
// so these give printf's "%<width>.<precision>f" and "%<width>.<precision>e"
// texts without going through the process's locale.
std::string PadLeft(std::string text, int width)
{
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string Fixed(double value, int width, int precision)
{
    // The largest float has 39 integer digits.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    return PadLeft(std::string(buffer, result.ptr), width);
}

std::string Exponent(double value, int width, int precision)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, precision);
    return PadLeft(std::string(buffer, result.ptr), width);
}

std::string Whole(float value)
{
    if (!std::isfinite(value))
        return Fixed(value, 0, 0);
    // Saturated: a float can exceed the range of a 64-bit integer.
    constexpr double kMax = 9.2e18;
    const double truncated = std::trunc(static_cast<double>(value));
    const auto whole = static_cast<std::int64_t>(std::clamp(truncated, -kMax, kMax));
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, whole);
    return std::string(buffer, result.ptr);
}

std::string Number(float value, std::uint32_t code)
{
    const double v = value;
    if (code == axis_format::kWhole)
        return Whole(value);
    if (code >= axis_format::kFixed1 && code <= axis_format::kFixed6)
        return Fixed(v, 4, static_cast<int>(code));
    if (code == axis_format::kExponent)
        return Exponent(v, 4, 1);
    if (code == axis_format::kByMagnitude) {
        const double m = std::fabs(v);
        if (m < 1.0)
            return Fixed(v, 4, 3);
        if (m < 10.0)
            return Fixed(v, 4, 2);
        if (m < 100.0)
            return Fixed(v, 4, 1);
        return Fixed(v, 4, 0);
    }
    return Fixed(v, 4, 3);
}

// "1.5e-05" → "1.5e-5": the digits behind the first 'e' and its sign are
// read as a number and written back without leading zeros.
std::string ShortenExponent(std::string text)
{
    const std::size_t e = text.find('e');
    if (e == std::string::npos)
        return text;
    std::size_t digits = e + 1;
    if (digits < text.size() && (text[digits] == '+' || text[digits] == '-'))
        ++digits;
    int exponent = 0;
    std::from_chars(text.data() + digits, text.data() + text.size(), exponent);
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, exponent);
    text.replace(digits, std::string::npos, std::string(buffer, result.ptr));
    return text;
}

} // namespace

std::string FormatAxisNumber(float value, std::uint32_t code, std::string_view unit)
{
    if (code == axis_format::kDuration)
        return FormatTime(value, 1, 0);

    std::string text = Number(value, code);
    text.append(unit);
    if (text.size() > axis_format::kReadoutTextMax) {
        text = Exponent(value, 4, 1);
        text.append(unit);
        if (text.size() > axis_format::kReadoutTextMax)
            text.resize(axis_format::kReadoutTextMax);
    }
    return text;
}

std::string FormatReadout(float value)
{
    const double v = value;
    const double m = std::fabs(v);
    if (m < 0.0000001)
        return "0.0";
    if (m < 0.001)
        return ShortenExponent(Exponent(v, 3, 1));
    if (m < 0.01)
        return Fixed(v, 1, 3);
    if (m < 0.1)
        return Fixed(v, 1, 2);
    if (m < 100.0)
        return Fixed(v, 3, 2);
    if (m < 1000.0)
        return Fixed(v, 3, 1);
    if (m < 10000.0)
        return Fixed(v, 3, 0);
    return ShortenExponent(Exponent(v, 3, 1));
}

void FormatReadout(float value, char* out, std::size_t capacity)
{
    if (out == nullptr || capacity < 10)
        return;
    const std::string text = FormatReadout(value);
    const std::size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}
